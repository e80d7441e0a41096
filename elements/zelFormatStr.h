// Fills numbered parameters (%1, %2, ...) into a template; "%%" stands for
// a literal "%".
#pragma once

#include <string>
#include <vector>

#include "runtime/Share.h"

class TZelFormatStr {
public:
    int32_t ParamCount = 0;
    std::vector<TPointLink> Str;  // parameter data points: Str[0] is Str1 (%1), Str[1] is Str2 (%2), ...
    std::string Format;
    TPointLink onFString;

    // Sizes the parameter points (new ones unlinked); negative counts as 0.
    void SetParamCount(int32_t n);

    // Work point 0: reads every parameter point in order, each with the
    // empty default, and forwards the finished text on onFString.
    void doString(TData& d, uint16_t index);

private:
    std::string result_;   // the text being built, kept after the call
    std::string pattern_;  // the marker being replaced
};
