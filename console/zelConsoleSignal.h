// Hands a value that reaches it to the console program's own code: the
// point where a console scheme ends and the program's control flow begins.
#pragma once

#include <functional>

#include "runtime/Share.h"

class TZelConsoleSignal {
public:
    std::function<void(const TData&)> OnSignal;

    // Work point 0.
    void doSignal(TData& d, uint16_t index);
};
