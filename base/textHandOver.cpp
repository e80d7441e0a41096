#include "textHandOver.h"

std::optional<std::string> TTextHandOver::ForReader() const {
    std::lock_guard<std::mutex> guard(lock_);
    if (pending_) return handed_;
    if (knownValid_) return known_;
    return std::nullopt;
}

bool TTextHandOver::HandOver(const std::string& text) {
    std::lock_guard<std::mutex> guard(lock_);
    handed_ = text;
    ++generation_;
    const bool post = !pending_;
    pending_ = true;
    return post;
}

void TTextHandOver::Drop() {
    std::lock_guard<std::mutex> guard(lock_);
    pending_ = false;
}

void TTextHandOver::Know(std::string text, bool valid) {
    std::lock_guard<std::mutex> guard(lock_);
    known_ = std::move(text);
    knownValid_ = valid;
}

bool TTextHandOver::Take(std::string& text, uint64_t& generation) const {
    std::lock_guard<std::mutex> guard(lock_);
    if (!pending_) return false;
    text = handed_;
    generation = generation_;
    return true;
}

// Readers keep getting the handed-over text until the window has it: only
// then is it no longer pending, and only if nothing newer came.
bool TTextHandOver::Settle(uint64_t generation) {
    std::lock_guard<std::mutex> guard(lock_);
    if (generation_ != generation) return false;
    pending_ = false;
    return true;
}
