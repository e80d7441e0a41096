// Matches a whole text against a wildcard mask: "*" any run of bytes, "?"
// one byte that is not zero, "#" one decimal digit; no escapes.
#pragma once

#include <string>
#include <string_view>

#include "runtime/Share.h"
#include "base/sharedText.h"

// The anchored match of text against mask, with the wildcards above; zero
// bytes in either match each other by equality.
bool MatchMask(std::string_view text, std::string_view mask);

class TZelStrMask {
public:
    // Rewritten for every image byte while the reader thread may be
    // comparing a reply with it.
    TSharedText Mask;
    uint8_t IgnoreCase = 0;  // 1: both sides lower-cased as the ANSI code page does; other values: exact
    TPointLink Str;
    TPointLink onTrue;
    TPointLink onFalse;

    // Work point 0: reads Str (default empty) and forwards that text, as
    // read, on onTrue or onFalse.
    void doCompare(TData& d, uint16_t index);
    // Work point 1: the incoming value's text becomes the mask. Fires nothing.
    void doMask(TData& d, uint16_t index);
};
