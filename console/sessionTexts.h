// The flasher's own words for how a session ended, beside the window's
// texts: the window's captions as terminal lines, the detail of a failure,
// why no device answered, and what an interruption left.
#pragma once

#include <cstdint>
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

// Why no device identified itself: the exit status and the detail (empty
// when the port simply stayed silent). ranOn: the bytes that followed the
// first readBefore of a reply that named the device; probeEnded: the probe
// gave up, as it does when the port did not open.
struct TNoDevice {
    int Exit = FlashNoDevice;
    std::string Detail;
};
TNoDevice WhyNoDevice(const std::string& port, uint64_t ranOn, uint64_t readBefore, bool probeEnded,
                      const TZelComAsync& serial);

// What an interruption left, for the terminal and the record's detail:
// before any upload, or with the device halfway through its image.
struct TInterruption {
    const char* Said;
    const char* Detail;
};
TInterruption InterruptionOf(bool uploadBegun);
