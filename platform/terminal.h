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
// True when standard output is an interactive terminal that takes redraws
// and escape sequences (on POSIX: TERM is set and not "dumb").
bool OutputIsTerminal();
// The terminal's width in columns now (it may change between two calls);
// 80 when it cannot be told.
int OutputColumns();

// Makes Ctrl-C, a closed terminal (hang-up), a termination request and a
// broken pipe sent by another program set a flag instead of ending the
// program, so that it closes its ports and writes its records first. A
// broken pipe on the program's own output never ends it: those writes fail
// quietly, and the upload goes on.
void CatchInterrupt();
bool InterruptRequested();
// The signal that asked (SIGINT for Ctrl-C), for the exit status 128 + it;
// 0 when none did.
int InterruptSignal();
// For the backends' handlers: safe in a signal handler.
void NoteInterrupt(int signal);

// Opens the null device in place of a closed standard input, output or
// error, so that no port or file opened later takes its number and gets the
// program's texts.
void KeepStandardStreamsOpen();

}  // namespace platform
