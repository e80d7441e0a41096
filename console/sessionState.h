// What one flasher session keeps while its network runs: the network's
// reports to the waiting main thread, and the texts held until a device has
// identified itself.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "console/flashSession.h"
#include "platform/terminal.h"
#include "runtime/Share.h"
#include "serial/zelComAsync.h"

// What the network has told the program so far. The network reports from
// the reader thread and the watchdog's timer thread; the program waits on
// the main thread.
class TSessionState {
public:
    void Set(std::atomic<bool> TSessionState::*flag);
    // Keeps the first failure: it is the one to tell.
    void Failure(const TData& d);
    TData FirstFailure();

    // Waits until done() holds, an interrupt is asked for, or the deadline
    // passes; returns whether done() holds.
    template <class Done>
    bool WaitFor(Done done, std::chrono::steady_clock::time_point deadline) {
        std::unique_lock<std::mutex> guard(lock_);
        while (!done()) {
            if (platform::InterruptRequested() || std::chrono::steady_clock::now() >= deadline) return false;
            changed_.wait_for(guard, std::chrono::milliseconds(50));
        }
        return true;
    }

    std::atomic<bool> found{false};
    std::atomic<bool> notFound{false};
    std::atomic<bool> finished{false};
    // Of the read that identified the device: whether its reply was still
    // arriving, and the bytes read up to its end.
    bool identifiedUnended = false;
    uint64_t readAtIdentification = 0;

private:
    std::mutex lock_;
    std::condition_variable changed_;
    TData error_;
};

// Holds a session's texts until a device has identified itself, then lets
// them through; without a device they are dropped.
class THeldOutput {
public:
    explicit THeldOutput(TTextOutput to) : to_(std::move(to)) {}
    void Write(std::string_view text);
    // Lets what is held through, and all that comes later.
    void Release();
    // Forgets what is held.
    void Drop();

private:
    std::mutex lock_;
    TTextOutput to_;
    std::string held_;
    bool released_ = false;
};

// A reply handed on before the line went quiet names the device only if
// nothing follows it: a device of the family says nothing more until the
// first block comes. Waits for a rest as long as the framing may take to hand
// it on; returns how many bytes followed (0: the reply was whole).
uint64_t BytesAfterIdentification(TSessionState& state, const TZelComAsync& port);
