#include "startupQueue.h"

#include <cstddef>
#include <vector>

bool StartupDone = false;

namespace {
struct TStartupEntry {
    TStartupRoutine routine;
    void* object;
};
std::vector<TStartupEntry>& StartupQueue() {
    static std::vector<TStartupEntry> queue;
    return queue;
}
}  // namespace

void AddStartup(TStartupRoutine routine, void* object) { StartupQueue().push_back({routine, object}); }

void RunStartup() {
    auto& queue = StartupQueue();
    // By index: routines may add further entries while the queue runs.
    for (size_t i = 0; i < queue.size(); ++i) {
        const TStartupEntry entry = queue[i];
        entry.routine(entry.object);
    }
    queue.clear();
    StartupDone = true;
}

void ResetStartup() {
    StartupQueue().clear();
    StartupDone = false;
}
