#include "zelConsoleProgress.h"

#include <algorithm>
#include <string>

#include "platform/terminal.h"

void TZelConsoleProgress::doPosition(TData& d, uint16_t) {
    const int32_t position = ToInteger(d);
    position_.store(position);
    Draw(position);
}

void TZelConsoleProgress::Draw(int32_t position) {
    const int32_t max = Max > 0 ? Max : 1;
    if (position < 0) position = 0;
    if (position > max) position = max;
    const std::string count = FormatInteger(position) + "/" + FormatInteger(max);
    if (Terminal) {
        // The bar fits the terminal as it is now, so that a redraw never
        // wraps onto a new line; a narrow one shows the count alone.
        const int room = (Columns ? Columns() : platform::OutputColumns()) - int(count.size()) - 4;
        const int width = std::min(40, room);
        if (width < 5) {
            Write("\r" + count);
            drawn_.store(true);
            return;
        }
        const int filled = int(int64_t(position) * width / max);
        Write("\r[" + std::string(size_t(filled), '#') + std::string(size_t(width - filled), '.') + "] " + count);
        drawn_.store(true);
        return;
    }
    const int32_t tenth = int32_t(int64_t(position) * 10 / max);
    if (tenth > lastTenth_.exchange(tenth)) Write("progress " + count + "\n");
}

void TZelConsoleProgress::Finish(bool complete) {
    if (complete) Draw(Max);
    if (drawn_.exchange(false)) Write("\n");
}

void TZelConsoleProgress::Write(std::string_view text) const {
    if (Output)
        Output(text);
    else
        platform::WriteOutput(text);
}
