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

namespace {

// The byte offset of the code point `count` of utf8 (its size past the end).
size_t OffsetOfCodePoint(const std::string& utf8, size_t count) {
    size_t seen = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
        if (seen++ == count) return i;
    }
    return utf8.size();
}

}  // namespace

std::string FitStart(const std::string& utf8, size_t width) {
    if (TextWidth(utf8) <= width) return utf8;
    return utf8.substr(0, OffsetOfCodePoint(utf8, width > 0 ? width - 1 : 0)) + "~";
}

std::string FitEnd(const std::string& utf8, size_t width) {
    const size_t have = TextWidth(utf8);
    if (have <= width) return utf8;
    return "~" + utf8.substr(OffsetOfCodePoint(utf8, have - width + 1));
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

size_t TPortBoard::Columns() const { return size_t(std::max(platform::OutputColumns(), 20)) - 1; }

size_t TPortBoard::NameWidth(size_t columns) const { return std::min(portWidth_, columns / 3); }

int TPortBoard::TextColumns() const {
    const size_t columns = Columns();
    return int(columns - NameWidth(columns) - 2);
}

void TPortBoard::Draw(bool now) {
    const auto time = std::chrono::steady_clock::now();
    if (!now && time - lastDraw_ < std::chrono::milliseconds(100)) return;
    lastDraw_ = time;
    // Back to the first line, then every line cleared and written anew, no
    // wider than the terminal is now: a line that wrapped would scroll the
    // board at every redraw. Long port names give up their start (by-id
    // names differ at their end).
    const size_t columns = Columns();
    const size_t nameWidth = NameWidth(columns);
    std::string screen = drawn_ ? "\x1b[" + std::to_string(ports_.size()) + "A" : "";
    for (size_t i = 0; i < ports_.size(); ++i) {
        const std::string name = FitEnd(ports_[i], nameWidth);
        const std::string line = name + std::string(nameWidth - TextWidth(name) + 2, ' ') + lines_[i];
        screen += "\r\x1b[2K" + FitStart(line, columns) + "\n";
    }
    drawn_ = true;
    platform::WriteOutput(screen);
}
