// The flasher's port list: one port a line with its name first, so that a
// script that reads the first field keeps working, then what tells its
// adapter apart; or the same as JSON, one object a line.
#pragma once

#include <string>

#include "platform/portList.h"

// "COM33 /dev/ttyUSB0 usb=0403:6001 serial=A1B2C3 by-id=/dev/serial/by-id/...
// usb-path=1-2 by-path=/dev/serial/by-path/... product="FTDI FT232R USB
// UART"": only the facts that are known.
std::string PortLine(const std::string& name, const platform::TPortFacts& facts);
// {"name": ..., "path": ..., "usb_vendor": ..., ...}: every key, empty
// when unknown.
std::string PortJson(const std::string& name, const platform::TPortFacts& facts);

// Prints the port list, as lines or as JSON.
int ListPortsToOutput(bool json);
