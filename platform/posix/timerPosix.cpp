// The periodic timer as a thread that sleeps on a condition variable until
// the next tick is due or it is told to stop.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "../timer.h"

namespace platform::backend {

namespace {

// What one start of the timer shares with its thread. The thread keeps its
// own reference, so a run that is stopped from inside its tick (and whose
// thread cannot be joined there) can end after its timer object is gone.
struct TRun {
    std::mutex mutex;
    std::condition_variable wake;
    bool stop = false;
};

void RunTicks(std::shared_ptr<TRun> run, std::chrono::milliseconds interval, const TPeriodicTimer::TTick& tick) {
    using Clock = std::chrono::steady_clock;
    auto due = Clock::now() + interval;
    std::unique_lock<std::mutex> lock(run->mutex);
    for (;;) {
        if (run->wake.wait_until(lock, due, [&] { return run->stop; })) return;
        lock.unlock();
        tick();
        lock.lock();
        if (run->stop) return;
        // Periodic, keeping the phase; periods lost to a long tick are
        // skipped rather than fired in a burst.
        const auto now = Clock::now();
        do due += interval;
        while (due <= now);
    }
}

class TThreadTimer final : public TPeriodicTimer {
public:
    ~TThreadTimer() override {
        Stop();
        // Still joinable only when the timer is destroyed from inside its
        // own tick: that thread ends by itself once the tick returns.
        std::lock_guard<std::mutex> lock(mutex_);
        if (worker_.joinable()) worker_.detach();
    }

    void Start(uint32_t intervalMs, uint32_t, TTick tick) override {
        std::thread previous;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (run_) return;
            // The thread of a run stopped from inside its tick may still be
            // finishing that tick.
            previous = std::move(worker_);
            if (previous.joinable() && previous.get_id() == std::this_thread::get_id()) previous.detach();
            run_ = std::make_shared<TRun>();
            const auto interval = std::chrono::milliseconds(intervalMs > 0 ? intervalMs : 1);
            worker_ = std::thread(RunTicks, run_, interval, std::move(tick));
        }
        if (previous.joinable()) previous.join();
    }

    void Stop() override {
        std::thread finished;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (run_) {
                {
                    std::lock_guard<std::mutex> runLock(run_->mutex);
                    run_->stop = true;
                }
                run_->wake.notify_all();
                run_.reset();
            }
            // From inside the tick the thread cannot wait for itself; it
            // stops after the tick and is joined by the next Start or Stop.
            if (worker_.joinable() && worker_.get_id() == std::this_thread::get_id()) return;
            finished = std::move(worker_);
        }
        // Joined outside the lock: the tick being waited for may itself
        // call Start or Stop on this timer.
        if (finished.joinable()) finished.join();
    }

    bool Running() const override {
        std::lock_guard<std::mutex> lock(mutex_);
        return run_ != nullptr;
    }

private:
    mutable std::mutex mutex_;
    std::shared_ptr<TRun> run_;  // the current run; empty while stopped
    std::thread worker_;         // the thread of the current or the last run
};

}  // namespace

std::unique_ptr<TPeriodicTimer> CreateSystemTimer() { return std::make_unique<TThreadTimer>(); }

}  // namespace platform::backend
