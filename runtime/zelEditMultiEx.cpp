#include "zelEditMultiEx.h"

#include "zelMultiElementEx.h"

namespace {
// Marks the instance as running for the duration of one call.
struct TRunningFrame {
    std::atomic<int>& count;
    explicit TRunningFrame(std::atomic<int>& c) : count(c) { ++count; }
    ~TRunningFrame() { --count; }
    TRunningFrame(const TRunningFrame&) = delete;
    TRunningFrame& operator=(const TRunningFrame&) = delete;
};
}  // namespace

void TZelEditMultiEx::doEvent(TData& d, uint16_t k) {
    if (Container == nullptr || k >= Container->onEvent.size()) return;
    TRunningFrame frame(RunningCalls);
    CallEvent(Container->onEvent[k], d);
}

void TZelEditMultiEx::getData(TData& r, uint16_t k) {
    if (Container == nullptr || k >= Container->InData.size()) {
        r.DataType = TypeNoValue;
        return;
    }
    TRunningFrame frame(RunningCalls);
    ReadRaw(r, Container->InData[k]);
}
