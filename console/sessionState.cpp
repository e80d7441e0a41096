#include "sessionState.h"

#include "platform/replyFraming.h"

void TSessionState::Set(std::atomic<bool> TSessionState::*flag) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        (this->*flag).store(true);
    }
    changed_.notify_all();
}

void TSessionState::Failure(const TData& d) {
    std::lock_guard<std::mutex> guard(lock_);
    if (error_.Tag() == TypeNull) error_ = d;
}

TData TSessionState::FirstFailure() {
    std::lock_guard<std::mutex> guard(lock_);
    return error_;
}

void THeldOutput::Write(std::string_view text) {
    std::lock_guard<std::mutex> guard(lock_);
    if (released_)
        to_(text);
    else
        held_ += text;
}

void THeldOutput::Release() {
    std::lock_guard<std::mutex> guard(lock_);
    if (!released_ && !held_.empty()) to_(held_);
    released_ = true;
    held_.clear();
}

void THeldOutput::Drop() {
    std::lock_guard<std::mutex> guard(lock_);
    held_.clear();
}

uint64_t BytesAfterIdentification(TSessionState& state, const TZelComAsync& port) {
    if (!state.identifiedUnended) return 0;
    const auto until = std::chrono::steady_clock::now() + platform::GatherLongest + std::chrono::milliseconds(500);
    state.WaitFor([&] { return port.BytesRead() > state.readAtIdentification || !port.Opened(); }, until);
    return port.BytesRead() - state.readAtIdentification;
}
