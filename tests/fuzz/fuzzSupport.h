// Pieces the element fuzzers share: a data point answering texts the input
// chose, and a work point that keeps what reaches it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/Share.h"

struct TFuzzSource {
    std::vector<std::string> texts;
    void getText(TData& d, uint16_t index) { SetStr(d, index < texts.size() ? texts[index] : std::string()); }
    TPointLink Link(uint16_t index) { return MakeLink<&TFuzzSource::getText>(index, this); }
};

struct TFuzzSink {
    std::vector<TData> values;
    void doRecord(TData& d, uint16_t) {
        TData copy;
        CopyChain(copy, d);
        values.push_back(copy);
    }
    TPointLink Link(uint16_t index = 0) { return MakeLink<&TFuzzSink::doRecord>(index, this); }
};

// Dispatch stays on for the whole run, as in the running program.
inline void FuzzDispatchOn() {
    static const bool on = (EnableDispatch(), true);
    (void)on;
}
