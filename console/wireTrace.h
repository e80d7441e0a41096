// A unit's wire trace, for the engineer a failed unit is sent to: every
// write and read with the time since the trace began, how each reply was
// framed, the lengths awaited, the watchdog's ticks while a reply is
// awaited, and the outcome. The image's blocks are a line each, with the
// acknowledgement they call for.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

#include "serial/zelComAsync.h"

class TWireTrace {
public:
    TWireTrace() = default;
    ~TWireTrace();
    TWireTrace(const TWireTrace&) = delete;
    TWireTrace& operator=(const TWireTrace&) = delete;

    // Creates (or empties) the file; false with why in failure.
    bool Open(const std::string& path, std::string& failure);
    bool IsOpen() const { return file_ != nullptr; }
    // The heading: the port, the unit's number on it (0: none) and the
    // image's blocks, the last of which is acknowledged with "FZ".
    void Begin(const std::string& port, int unit, size_t imageBlocks);
    // From any thread.
    void Wire(const TWireEvent& event);
    void WatchdogTick();
    // The last line; the file is closed.
    void End(const std::string& outcome, const std::string& detail);

private:
    static std::string Format(double ms, const char* arrow, size_t count, const std::string& text);
    void Line(double ms, const char* arrow, size_t count, const std::string& text);
    void Say(double ms, const char* arrow, size_t count, const std::string& text);  // under lock_
    void FlushWritten();                                                            // under lock_
    double Now() const;

    std::mutex lock_;
    std::FILE* file_ = nullptr;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::string written_;   // a run of written bytes not yet traced
    std::string heldLine_;  // lines that follow that run
    double writtenAt_ = 0;
    size_t imageBlocks_ = 0;
    size_t blocks_ = 0;
    uint16_t crc_ = 0xFFFF;
    uint32_t awaited_ = 0;
    bool uploading_ = false;  // the first block's reply is awaited: writes are blocks
    int ticks_ = 0;
};

// The trace file of a unit in folder: named by its port, the time it began
// (the record's UTC time) and its number on the port (0: none).
std::string TraceFileName(const std::string& folder, const std::string& port, const std::string& utcTime, int unit);
