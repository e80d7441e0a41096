#include "messageBox.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<void*> owner{nullptr};
TMessageSink sink;
}  // namespace

void ShowMessageBox(const std::string& text, const std::string& caption) {
    if (sink) {
        sink(text, caption);
        return;
    }
    backend::ShowSystemMessageBox(text, caption, owner.load());
}

void SetMessageOwner(void* window) { owner.store(window); }
void* MessageOwner() { return owner.load(); }
void SetMessageSink(TMessageSink s) { sink = std::move(s); }

}  // namespace platform
