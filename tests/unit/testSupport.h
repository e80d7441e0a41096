// Helpers shared by the unit tests.
#pragma once

#include <string>
#include <vector>

#include "platform/messageBox.h"
#include "tests/fakes/messageBoxFake.h"
#include "runtime/Share.h"

// Switches dispatch on for the scope of a test and off again afterwards, so
// that every test starts from the program's state before the form starts.
struct DispatchOn {
    DispatchOn() { EnableDispatch(); }
    ~DispatchOn() { DisableDispatch(); }
    DispatchOn(const DispatchOn&) = delete;
    DispatchOn& operator=(const DispatchOn&) = delete;
};

// Catches message boxes instead of showing them.
using MessageCapture = fakes::TMessageBoxes;

// Records the values that reach its work point, in order, for checking the
// order and content of events. Each record keeps the point index it came in
// on; `label` names the recorder in a shared log.
struct TRecorder {
    struct TEntry {
        std::string label;
        uint16_t index;
        TData value;
    };
    std::vector<TEntry>* log;
    std::string label;
    std::vector<TEntry> own;

    explicit TRecorder(std::string name = "", std::vector<TEntry>* shared = nullptr)
        : log(shared ? shared : &own), label(std::move(name)) {}

    void doRecord(TData& d, uint16_t index) {
        TData copy;
        CopyChain(copy, d);
        log->push_back({label, index, copy});
    }
    TPointLink Link(uint16_t index = 0) { return MakeLink<&TRecorder::doRecord>(index, this); }
    size_t Count() const { return log->size(); }
    const TData& Value(size_t i) const { return (*log)[i].value; }
};
