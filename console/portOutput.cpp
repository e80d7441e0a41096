#include "portOutput.h"

#include <memory>

#include "platform/terminal.h"

TTextOutput PrefixedLines(const std::string& port) {
    struct TState {
        std::mutex lock;
        std::string partial;
    };
    auto state = std::make_shared<TState>();
    return [state, prefix = port + ": "](std::string_view text) {
        std::lock_guard<std::mutex> guard(state->lock);
        for (const char c : text) {
            if (c == '\n') {
                platform::WriteOutput(prefix + state->partial + "\n");
                state->partial.clear();
            } else if (c == '\r') {
                state->partial.clear();  // a redraw starts the line again
            } else {
                state->partial += c;
            }
        }
    };
}

size_t TextWidth(const std::string& utf8) {
    size_t width = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++width;
    return width;
}

TPortBoard::TPortBoard(std::vector<std::string> ports)
    : ports_(std::move(ports)), lines_(ports_.size()), partial_(ports_.size()) {
    for (const std::string& port : ports_) portWidth_ = std::max(portWidth_, TextWidth(port));
    std::lock_guard<std::mutex> guard(lock_);
    Draw(true);
}

TTextOutput TPortBoard::For(size_t row) {
    return [this, row](std::string_view text) { Take(row, text); };
}

void TPortBoard::Take(size_t row, std::string_view text) {
    std::lock_guard<std::mutex> guard(lock_);
    std::string& partial = partial_[row];
    bool redraw = false;
    for (const char c : text) {
        if (c == '\n' || c == '\r') {
            if (!partial.empty()) lines_[row] = partial;
            redraw = redraw || c == '\r';
            partial.clear();
        } else {
            partial += c;
        }
    }
    // A bar is redrawn at every block: on the screen ten times a second is
    // enough.
    if (redraw && !partial.empty()) lines_[row] = partial;
    Draw(!redraw);
}

void TPortBoard::Set(size_t row, const std::string& text) {
    std::lock_guard<std::mutex> guard(lock_);
    lines_[row] = text;
    partial_[row].clear();
    Draw(true);
}

void TPortBoard::End() {
    std::lock_guard<std::mutex> guard(lock_);
    Draw(true);
}

void TPortBoard::Draw(bool now) {
    const auto time = std::chrono::steady_clock::now();
    if (!now && time - lastDraw_ < std::chrono::milliseconds(100)) return;
    lastDraw_ = time;
    // Back to the first line, then every line cleared and written anew.
    std::string screen = drawn_ ? "\x1b[" + std::to_string(ports_.size()) + "A" : "";
    for (size_t i = 0; i < ports_.size(); ++i)
        screen += "\r\x1b[2K" + ports_[i] + std::string(portWidth_ - TextWidth(ports_[i]) + 2, ' ') + lines_[i] + "\n";
    drawn_ = true;
    platform::WriteOutput(screen);
}
