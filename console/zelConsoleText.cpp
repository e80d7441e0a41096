#include "zelConsoleText.h"

#include "platform/terminal.h"
#include "base/cp1251.h"

void TZelConsoleText::doText(TData& d, uint16_t) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        last_ = ToString(d);
    }
    // The texts may carry the device's own words.
    if (Echo) platform::WriteOutput(cp1251::ToUtf8Visible(ToString(d)) + "\n");
}

void TZelConsoleText::doVisible(TData& d, uint16_t) { shown_.store(IsNonZero(d)); }
