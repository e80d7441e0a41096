// Splits a text into a fixed number of parts at delimiter characters.
#pragma once

#include <string>
#include <vector>

#include "runtime/Share.h"

class TZelMultiStrPart {
public:
    std::vector<std::string> Parts;  // the parts of the last split; SetCount sizes them
    std::string Delimiter;           // each character delimits; a part ends at the first one found
    int32_t Skip = 0;                // parts dropped before the kept ones
    TPointLink Str;
    TPointLink onNoDelimiter;
    TPointLink onSplit;

    void SetCount(int32_t n);
    int32_t Count() const { return int32_t(Parts.size()); }

    // Work point 0: reads Str (default empty); forwards the text on
    // onNoDelimiter when Delimiter as a whole does not occur in it, else
    // splits it and forwards what is left after the parts on onSplit.
    void doSplit(TData& d, uint16_t index);

    // Getter family Part: answers part number index of the last split (the
    // empty text for a number beyond the parts).
    void Part(TData& d, uint16_t index);

private:
    std::string CutPart(std::string& text) const;
};
