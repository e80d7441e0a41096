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

    // Starts the trace for the file at path, in memory until Keep: the
    // heading names the port and the unit's number on it (0: none);
    // imageBlocks is the image's length, whose last block is acknowledged
    // with "FZ".
    void Begin(const std::string& path, const std::string& port, int unit, size_t imageBlocks);
    bool Begun() const { return !path_.empty(); }
    // Creates (or empties) the file and writes the trace there from now on;
    // the file's path, or empty when the trace was not begun or the file
    // cannot be written (said on the standard error). A trace never kept
    // leaves no file: a station's look for a unit that finds none.
    std::string Keep();
    // From any thread.
    void Wire(const TWireEvent& event);
    void WatchdogTick();
    // The last line; the file, if kept, is closed.
    void End(const std::string& outcome, const std::string& detail);

private:
    static std::string Format(double ms, const char* arrow, size_t count, const std::string& text);
    void Line(double ms, const char* arrow, size_t count, const std::string& text);
    void Say(double ms, const char* arrow, size_t count, const std::string& text);  // under lock_
    void FlushWritten();                                                            // under lock_
    double Now() const;

    std::mutex lock_;
    void Put(const std::string& text);  // under lock_

    std::string path_;
    std::string kept_;  // the lines before Keep
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
