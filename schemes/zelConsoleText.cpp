#include "zelConsoleText.h"

#include "platform/terminal.h"
#include "runtime/cp1251.h"

void TZelConsoleText::doText(TData& d, uint16_t) {
    if (Echo) platform::WriteOutput(cp1251::ToUtf8(ToString(d)) + "\n");
}

void TZelConsoleText::doVisible(TData& d, uint16_t) { shown_.store(IsNonZero(d)); }
