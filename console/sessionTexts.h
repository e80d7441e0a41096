// The flasher's own words for how a session ended, beside the window's
// texts: the window's captions as terminal lines, and the detail of a
// failure.
#pragma once

#include <string>

#include "console/flashSession.h"
#include "runtime/Share.h"
#include "serial/zelComAsync.h"

// A caption of the window, its lines as the terminal shows them: without
// the blanks that centre them in the window.
void SayCaption(const TTextOutput& say, const std::string& caption);

// Why the transfer failed: the port's loss, a reply cut short or missing
// (error is the watchdog's integer), or the wrong reply (error is its
// hexadecimal text).
std::string FailureDetail(const TData& error, const std::string& loss, const TZelComAsync& port);
