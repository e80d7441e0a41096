// A text on the terminal, standing in for a window's label or edit line in
// the console programs. A line whose text is set prints it at once; a
// caption only records that it was shown, so that the program can print the
// outcome in the order the window lays it out.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "runtime/Share.h"

class TZelConsoleText {
public:
    std::string Caption;  // Windows-1251, like every text of the system
    bool Echo = true;     // print every text that doText sets
    // A text (Windows-1251) not printed when set: one that may come many
    // times and be overtaken, which the program says itself once it holds.
    std::string Withheld;
    // Where the printed lines go (UTF-8); empty: standard output. A session
    // of several puts its port's name before them.
    std::function<void(std::string_view)> Output;

    // Work point 0: the text; printed in UTF-8 on its own line when Echo.
    void doText(TData& d, uint16_t index);
    // Work point 1: shown when the value is non-zero, as a window's control.
    void doVisible(TData& d, uint16_t index);

    bool Shown() const { return shown_.load(); }
    // The last text doText set (Windows-1251).
    std::string LastText() const {
        std::lock_guard<std::mutex> guard(lock_);
        return last_;
    }

private:
    std::atomic<bool> shown_{false};
    mutable std::mutex lock_;
    std::string last_;
};
