// The serial line of the bootloader exchange, as the top-level schemes set
// it on their serial port element.
#pragma once

#include "serial/zelComAsync.h"

// 38462 bit/s (not 38400), 8 data bits, no parity, one stop bit, no flow
// control (DTR and RTS off), 4096-byte driver buffers, reads that return at
// once with what has arrived, writes of at most 1000 ms plus 100 ms a byte,
// only the byte-received event watched, and a port list of the ports that
// can be opened now.
void ApplyLineSettings(TZelComAsync& port);
