// A thread that another thread can wait for without blocking the window
// messages sent to it: the serial reader thread's chain makes synchronous
// window calls into the user-interface thread, which may be the one that
// waits for the reader thread to end. On Windows the wait serves the sent
// messages; elsewhere it is a plain join.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace platform {

struct TThreadState;

class TThread {
public:
    TThread();
    // A thread still attached is detached, never waited for.
    ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // False when the system cannot start a thread.
    bool Start(std::function<void()> body, bool highestPriority);
    // Started and neither joined nor detached.
    bool Attached() const;
    // Called on the thread itself.
    bool IsCurrent() const;
    // Waits for the end of the thread; on Windows it serves the messages
    // sent to the calling thread meanwhile. Never call it from the thread
    // itself.
    void Join();
    // Lets the thread run to its end on its own.
    void Detach();

private:
    std::unique_ptr<TThreadState> state;
};

// Waits until done() holds or limit has passed, looking every millisecond;
// true when done() held. On Windows it serves the messages sent to the
// calling thread meanwhile, as Join does: what it waits for may be a chain on
// another thread that is inside a synchronous window call into this one.
bool WaitServingSentMessages(const std::function<bool()>& done, std::chrono::milliseconds limit);

}  // namespace platform
