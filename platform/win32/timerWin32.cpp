// The periodic timer on the Windows multimedia timer. TIME_KILL_SYNCHRONOUS
// makes timeKillEvent wait for a callback in progress, so no tick reaches an
// element after its timer is stopped; called from the callback itself it
// returns at once (the callback thread holds the section it waits for).
#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <mutex>

#include "../threadWait.h"
#include "../timer.h"

namespace platform::backend {

namespace {

// One start of the timer: the callback's user value. Kept on the heap so
// that a Start from inside a tick cannot replace the function that is
// running.
struct TRun {
    TPeriodicTimer::TTick tick;
    bool freeAfterTick = false;  // touched only on the callback thread
    std::atomic<bool> stopped{false};
    std::atomic<int> ticking{0};  // callbacks under way
};

// The run whose tick is executing on this thread, if any.
thread_local TRun* tickingRun = nullptr;

void CALLBACK OnTimer(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    TRun* run = reinterpret_cast<TRun*>(user);
    run->ticking.fetch_add(1);
    if (!run->stopped.load()) {
        TRun* outer = tickingRun;
        tickingRun = run;
        run->tick();
        tickingRun = outer;
    }
    run->ticking.fetch_sub(1);
    if (run->freeAfterTick) delete run;
}

class TMultimediaTimer final : public TPeriodicTimer {
public:
    ~TMultimediaTimer() override { Stop(); }

    void Start(uint32_t intervalMs, uint32_t resolutionMs, TTick tick) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (run_ != nullptr) return;
        TRun* run = new TRun{std::move(tick)};
        const UINT id =
            timeSetEvent(intervalMs > 0 ? intervalMs : 1, resolutionMs, OnTimer, reinterpret_cast<DWORD_PTR>(run),
                         TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
        if (id == 0) {  // the system refused: the timer stays stopped
            delete run;
            return;
        }
        run_ = run;
        id_ = id;
    }

    void Stop() override {
        TRun* run = nullptr;
        UINT id = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            run = run_;
            id = id_;
            run_ = nullptr;
            id_ = 0;
        }
        if (run == nullptr) return;
        run->stopped.store(true);
        // A tick under way may be inside a synchronous window call into this
        // very thread (a watchdog tick that shows an error): such calls are
        // served until it is done, or timeKillEvent would wait for it for
        // ever. Ticks that come later see the stop and return at once.
        if (tickingRun != run)
            WaitServingSentMessages([run] { return run->ticking.load() == 0; }, std::chrono::milliseconds::max());
        // Outside the lock: a tick that is waited for may call Start or
        // Stop itself.
        timeKillEvent(id);
        if (tickingRun == run)
            run->freeAfterTick = true;  // freed by the callback once the tick returns
        else
            delete run;
    }

    bool Running() const override {
        std::lock_guard<std::mutex> lock(mutex_);
        return run_ != nullptr;
    }

private:
    mutable std::mutex mutex_;
    TRun* run_ = nullptr;
    UINT id_ = 0;
};

}  // namespace

std::unique_ptr<TPeriodicTimer> CreateSystemTimer() { return std::make_unique<TMultimediaTimer>(); }

}  // namespace platform::backend
