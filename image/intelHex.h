// Intel HEX: data records (00) placed by extended segment (02) or linear
// (04) addresses, an end-of-file record (01); start addresses (03, 05) are
// read and left alone: the bootloader starts the firmware itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "imageSpans.h"

// Every record's checksum is checked; a missing end-of-file record is a
// fault, as a file cut short would lack one.
TImageFault ReadIntelHex(std::string_view text, TImageSpans& spans);

// Bytes at address (both below 4 GiB together) as Intel HEX: 16 bytes a
// record, never across a 64 KiB boundary, a linear address record wherever
// the upper half changes.
std::string WriteIntelHex(uint32_t address, std::string_view bytes);
