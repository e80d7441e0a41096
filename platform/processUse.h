// What the running program holds of the system: open descriptors (handles on
// Windows), threads, and the most memory it has had resident. The console
// programs tell it at their end when asked, so that long runs can show that
// nothing is left behind from one session to the next.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct TProcessUse {
    // -1 where the system does not tell.
    int32_t Descriptors = -1;
    int32_t Threads = -1;
    int64_t PeakResidentKb = -1;
};

TProcessUse MeasureProcessUse();

// The machine's name, for the records of a station; empty when unknown.
std::string HostName();

}  // namespace platform
