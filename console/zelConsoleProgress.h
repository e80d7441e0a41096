// Upload progress on the terminal: a bar redrawn in place on a terminal,
// a line at every tenth of the way otherwise.
#pragma once

#include <atomic>
#include <functional>
#include <string_view>

#include "runtime/Share.h"

class TZelConsoleProgress {
public:
    int32_t Max = 100;
    bool Terminal = false;  // redraw a bar instead of writing lines
    // Where the bar or the lines go (UTF-8); empty: standard output.
    std::function<void(std::string_view)> Output;
    // The columns the bar's line may take; empty: the terminal's width.
    std::function<int()> Columns;

    // Work point 0: the new position, 0 to Max.
    void doPosition(TData& d, uint16_t index);
    // Ends the bar's line, if one is drawn; complete draws it at Max first
    // (the last step has no position of its own).
    void Finish(bool complete = false);
    // The last position given, -1 before any.
    int32_t Position() const { return position_.load(); }

private:
    void Draw(int32_t position);
    void Write(std::string_view text) const;

    std::atomic<int32_t> lastTenth_{0};
    std::atomic<int32_t> position_{-1};
    std::atomic<bool> drawn_{false};
};
