// The console programs' terminal: UTF-8 output, whether it is a terminal
// (for redrawing a progress bar), and the interrupt key.
#pragma once

#include <string_view>

namespace platform {

// Sets the terminal up for UTF-8 output (a Windows console needs telling).
void PrepareOutput();
// Writes UTF-8 text to standard output as one piece and flushes it.
void WriteOutput(std::string_view utf8);
// Writes UTF-8 text to standard error as one piece.
void WriteError(std::string_view utf8);
// True when standard output is an interactive terminal.
bool OutputIsTerminal();

// Makes Ctrl-C (and a termination request) set a flag instead of ending
// the program, so that it can close the port first.
void CatchInterrupt();
bool InterruptRequested();

}  // namespace platform
