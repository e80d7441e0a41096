// Motorola S-records: a header (S0), data with 16-, 24- or 32-bit addresses
// (S1, S2, S3), a count of the data records (S5, S6) and a termination with
// the start address (S9, S8, S7), which the bootloader does not need.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "imageSpans.h"

// Every record's checksum is checked, a count record against the data
// records before it; a missing termination is a fault, as a file cut short
// would lack one.
TImageFault ReadSRecord(std::string_view text, TImageSpans& spans);

// Bytes at address (both below 4 GiB together) as S-records: a header, 16
// bytes an S3 record, a count when it fits S5, and an S7 termination.
std::string WriteSRecord(uint32_t address, std::string_view bytes);
