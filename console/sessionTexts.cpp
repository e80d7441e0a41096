#include "sessionTexts.h"

#include "base/cp1251.h"
#include "base/hexText.h"

void SayCaption(const TTextOutput& say, const std::string& caption) {
    size_t start = 0;
    while (start <= caption.size()) {
        size_t end = caption.find("\r\n", start);
        if (end == std::string::npos) end = caption.size();
        std::string line = caption.substr(start, end - start);
        line.erase(0, line.find_first_not_of(' ') == std::string::npos ? line.size() : line.find_first_not_of(' '));
        say(cp1251::ToUtf8(line) + "\n");
        start = end + 2;
    }
}

std::string FailureDetail(const TData& error, const std::string& loss, const TZelComAsync& port) {
    if (!loss.empty()) return "the port went away: " + loss;
    if (error.Tag() == TypeInt) {
        const std::string came = port.UnfinishedReply();
        if (came.empty()) return "the device stopped answering (no reply for 3 watchdog ticks)";
        return "the device's reply stopped short: " + std::to_string(came.size()) + " of the " +
               std::to_string(port.UnfinishedOf()) + " bytes awaited came (" + BytesToHex(came) +
               " hexadecimal), then no more for 3 watchdog ticks";
    }
    std::string reply = ToString(error);
    // A flood of bytes is not for a terminal line: its start tells enough.
    constexpr size_t shown = 64;  // hex digits: 32 bytes
    if (reply.size() > shown) reply = std::to_string(reply.size() / 2) + " bytes, beginning " + reply.substr(0, shown);
    return reply.empty() ? "the device's reply was empty"
                         : "the device replied " + reply + " (hexadecimal), not the expected acknowledgement";
}

TNoDevice WhyNoDevice(const std::string& port, uint64_t ranOn, uint64_t readBefore, bool probeEnded,
                      const TZelComAsync& serial) {
    if (ranOn != 0)
        return {FlashNoDevice, "the reply to VERS did not end: " + std::to_string(ranOn) +
                                   " more bytes followed its first " + std::to_string(readBefore) +
                                   " bytes without a pause, and a device of the family answers in one short reply"};
    if (probeEnded && !serial.Opened())
        return {FlashPortUnavailable, port + " could not be opened: " + serial.OpenFailure()};
    if (const std::string loss = serial.LossReason(); !loss.empty())
        return {FlashNoDevice, port + " went away: " + loss};
    return {};
}

TInterruption InterruptionOf(bool uploadBegun) {
    if (!uploadBegun)
        return {"Interrupted: the port is closed; no upload had begun.", "interrupted before a device answered"};
    // The bootloader waits for the rest of its image and answers nothing
    // else until it starts again.
    return {
        "Interrupted: the port is closed, the upload did not finish. Switch the unit off and on before flashing "
        "it again.",
        "interrupted before the upload finished"};
}
