// A value that one thread replaces as a whole while others read it: readers
// get the version that stood when they looked, and it stays valid for as
// long as they hold it.
//
// The pointer swap is guarded by a flag held for a pointer copy only. (The
// standard library's atomic shared_ptr does the same, but orders its lock
// with fences that ThreadSanitizer cannot follow, so every use of it shows
// as a race there.)
#pragma once

#include <atomic>
#include <memory>
#include <utility>

template <class T>
class TPublished {
public:
    TPublished() = default;
    explicit TPublished(std::shared_ptr<T> value) : value_(std::move(value)) {}
    TPublished(const TPublished&) = delete;
    TPublished& operator=(const TPublished&) = delete;

    std::shared_ptr<T> Load() const {
        TGuard guard(busy_);
        return value_;
    }

    void Store(std::shared_ptr<T> value) {
        {
            TGuard guard(busy_);
            value_.swap(value);
        }
        // The old version, if this was its last holder, goes here, outside.
    }

private:
    struct TGuard {
        std::atomic_flag& flag;
        explicit TGuard(std::atomic_flag& f) : flag(f) {
            while (flag.test_and_set(std::memory_order_acquire)) flag.wait(true, std::memory_order_relaxed);
        }
        ~TGuard() {
            flag.clear(std::memory_order_release);
            flag.notify_one();
        }
    };

    mutable std::atomic_flag busy_;
    std::shared_ptr<T> value_;
};
