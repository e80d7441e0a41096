// A tty's line settings through the kernel's termios2, so that any line
// speed can be asked for (38462 bit/s is not a standard one). The glibc
// <termios.h> declares a struct termios of its own that clashes with the
// kernel's, so the unit takes everything from <asm/termbits.h> and no file
// that includes it may share its compiler run.
#pragma once

#include "../serialPort.h"

namespace platform {

// Whether fd is a terminal, the only kind of serial port.
bool IsTty(int fd);
// The settings as a device control block.
bool ReadTtySettings(int fd, TCommDcb& dcb);
// Raw mode with the block's speed, character size, parity, stop bits and
// flow control; false for settings the block cannot ask for, or a speed the
// driver rounds off by more than 3 %.
bool WriteTtySettings(int fd, const TCommDcb& dcb);
// Throws away what the input queue holds, or the output queue.
bool DiscardTtyQueue(int fd, bool input);
// Retried when a signal interrupts it.
int Ioctl(int fd, unsigned long request, void* arg);

}  // namespace platform
