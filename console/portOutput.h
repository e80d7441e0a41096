// Where the texts of several sessions go at once. Off a terminal every line
// is written whole with its port before it; on a terminal every port has
// one line, redrawn in place.
#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "console/flashSession.h"

// A session's output whose lines go out as "PORT: line", each in one write
// so that lines of different sessions never mix.
TTextOutput PrefixedLines(const std::string& port);

// The number of characters (code points) of a UTF-8 text, for columns.
size_t TextWidth(const std::string& utf8);
// The text cut to width columns, a "~" where it was cut: keeping its start,
// or its end.
std::string FitStart(const std::string& utf8, size_t width);
std::string FitEnd(const std::string& utf8, size_t width);

class TPortBoard {
public:
    // Draws an empty line for every port.
    explicit TPortBoard(std::vector<std::string> ports);
    TPortBoard(const TPortBoard&) = delete;
    TPortBoard& operator=(const TPortBoard&) = delete;

    // The output of the session of ports[row]: its line shows the latest
    // text, a progress bar's redraw or a whole line.
    TTextOutput For(size_t row);
    // The columns a line's text has beside its port's name, as wide as the
    // terminal is now.
    int TextColumns() const;
    // The line's last text.
    void Set(size_t row, const std::string& text);
    // Draws the lines a last time; what follows goes below them.
    void End();

private:
    void Take(size_t row, std::string_view text);
    void Draw(bool now);  // under lock_
    size_t Columns() const;
    size_t NameWidth(size_t columns) const;

    std::mutex lock_;
    std::vector<std::string> ports_;
    std::vector<std::string> lines_;
    std::vector<std::string> partial_;  // a line not yet ended
    size_t portWidth_ = 0;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point lastDraw_{};
};
