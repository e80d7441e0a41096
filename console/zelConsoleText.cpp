#include "zelConsoleText.h"

#include "platform/terminal.h"
#include "base/cp1251.h"

void TZelConsoleText::doText(TData& d, uint16_t) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        last_ = ToString(d);
    }
    // The texts may carry the device's own words.
    if (!Echo || (!Withheld.empty() && ToString(d) == Withheld)) return;
    const std::string line = cp1251::ToUtf8Visible(ToString(d)) + "\n";
    if (Output)
        Output(line);
    else
        platform::WriteOutput(line);
}

void TZelConsoleText::doVisible(TData& d, uint16_t) { shown_.store(IsNonZero(d)); }
