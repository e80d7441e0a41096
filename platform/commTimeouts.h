// The Windows driver's rules for how long a read and a write may wait, as
// pure functions, for a backend that has to emulate them (a tty knows none
// of them).
#pragma once

#include <cstddef>
#include <cstdint>

#include "serialPort.h"

struct TReadWaits {
    bool immediate = false;   // return at once with what is queued
    bool firstByte = false;   // wait up to totalMs for the first byte, then take what is there
    bool totalLimit = false;  // the read ends totalMs after it began
    uint64_t totalMs = 0;
    bool intervalLimit = false;  // the read ends once intervalMs pass between two bytes
    uint32_t intervalMs = 0;
};

struct TWriteWaits {
    bool limited = false;  // the write ends totalMs after it began, with what went out
    uint64_t totalMs = 0;
};

// A read of `count` bytes under these timeouts.
TReadWaits ReadWaits(const platform::TCommTimeouts& t, uint32_t count);
// A write of `count` bytes under these timeouts.
TWriteWaits WriteWaits(const platform::TCommTimeouts& t, size_t count);
