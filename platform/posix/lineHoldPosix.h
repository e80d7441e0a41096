// Taking a serial device for this process alone, and letting it go. Only
// a terminal is taken; flock keeps a second opener out whatever its
// privileges (TIOCEXCL does not stop root), and TIOCEXCL keeps out openers
// that do not lock. Where low latency is wanted, the driver is asked to
// hand received bytes over at once instead of at its latency timer (16 ms
// on many USB adapters, most of a block's acknowledgement time), and the
// setting found is put back when the line is let go.
#pragma once

#include <string>

namespace platform {

struct THeldLine {
    int fd = -1;
    int serialFlagsBefore = -1;  // the driver's flags to put back, -1 for none
};

// Opens the device; on failure fd is -1 and failure says why, for a
// technician.
THeldLine HoldLine(const std::string& device, std::string& failure);
// Puts back what HoldLine changed and closes the descriptor.
void LetLineGo(const THeldLine& line);
// Why a device could not be opened (errno), for a technician.
std::string OpenFailure(int error);

}  // namespace platform
