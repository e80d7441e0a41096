#include "zelConsoleSignal.h"

void TZelConsoleSignal::doSignal(TData& d, uint16_t) {
    if (OnSignal) OnSignal(d);
}
