// The emulator's faults as options, in one table: the usage text, the
// option parser and the list the soak draws from are all read from it.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "deviceEmulator.h"

struct TFaultOption {
    const char* Name;   // "--wrong-crc"
    const char* Value;  // what it takes ("K", "WORD"); empty for a flag
    const char* Help;   // its line in the usage text
    // The setting it makes: a flag sets a bool; a value sets a number or a
    // text.
    std::variant<bool TDeviceFaults::*, int TDeviceFaults::*, std::string TDeviceFaults::*> Field;
};

const std::vector<TFaultOption>& FaultOptions();
// The faults' part of the usage text: a line each, help aligned.
std::string FaultUsage();
// The option of that name; nullptr for none.
const TFaultOption* FindFaultOption(const std::string& name);
