// A firmware image from a file, in place of the built-in one: read and placed
// before any port is touched, then made the module's STREAM0, where the
// upload scheme reads its image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/firmwareImage.h"

// The file's image as the exchange sends it: the image area of 1016 blocks
// of 256 bytes, the base from the command line or else the build's.
TFirmwareImage LoadImageFile(TImageRequest request);

// Makes bytes (which must live as long as the program) the upload's image.
void UseImage(const std::string& bytes);

// The upload's image as the unit records name it: told once a run, not at
// every unit or probe.
struct TImageFacts {
    std::string File;    // empty for the built-in image
    std::string Format;  // "built-in", or how the file was read: raw, hex, srec, elf
    size_t Bytes = 0;
    uint16_t Crc = 0;  // CRC-16/MODBUS
    std::string Sha256;
};
// Of the image the upload reads now (STREAM0).
TImageFacts CurrentImageFacts(const std::string& file, const std::string& format);
