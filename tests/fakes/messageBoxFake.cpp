#include "tests/fakes/messageBoxFake.h"

#include <atomic>
#include <cstdio>

#include "base/cp1251.h"
#include "platform/messageBox.h"

namespace fakes {
namespace {
std::atomic<TMessageBoxes*> recorder{nullptr};
}

TMessageBoxes::TMessageBoxes() : previous_(recorder.exchange(this)) {}
TMessageBoxes::~TMessageBoxes() { recorder.store(previous_); }

}  // namespace fakes

namespace platform::backend {

void ShowSystemMessageBox(const std::string& text, const std::string& caption, void* owner) {
    if (fakes::TMessageBoxes* boxes = fakes::recorder.load()) {
        boxes->texts.push_back(text);
        boxes->captions.push_back(caption);
        boxes->owners.push_back(owner);
        return;
    }
    std::fprintf(stderr, "message box \"%s\": %s\n", cp1251::ToUtf8Visible(caption).c_str(),
                 cp1251::ToUtf8Visible(text).c_str());
}

}  // namespace platform::backend
