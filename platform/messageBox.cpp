#include "messageBox.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<void*> owner{nullptr};
}  // namespace

void ShowMessageBox(const std::string& text, const std::string& caption) {
    backend::ShowSystemMessageBox(text, caption, owner.load());
}

void SetMessageOwner(void* window) { owner.store(window); }
void* MessageOwner() { return owner.load(); }

}  // namespace platform
