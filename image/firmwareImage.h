// A firmware image from a file: read in whichever format it comes, placed in
// the device's image area by address and filled with 0xFF, the value of
// erased flash. Whatever cannot be placed exactly is refused, never sent as
// it stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "imageFormat.h"

struct TImageRequest {
    std::string Path;
    std::optional<TImageFormat> Format;  // empty: told by the content
    // Where the image area begins, for the formats that carry addresses.
    std::optional<uint64_t> Base;
    // How a user gives the base, named when one is missing ("--base ADDRESS").
    std::string BaseHint;
    size_t AreaBytes = 0;
};

struct TImageRange {
    uint64_t Address = 0;
    uint64_t Bytes = 0;
};

struct TFirmwareImage {
    std::string Bytes;  // AreaBytes long once loaded
    TImageFormat Format = TImageFormat::Raw;
    std::vector<TImageRange> Ranges;  // what the file gave, in address order
    size_t GivenBytes = 0;            // of the file's own bytes in the image
    uint64_t Base = 0;
    std::string Failure;  // why it cannot be sent: file, line or segment, address
};

TFirmwareImage LoadFirmwareImage(const TImageRequest& request);

// "0x08000000" or "134217728"; empty for anything else.
std::optional<uint64_t> ParseAddress(std::string_view text);

// The base this build was configured with, if any.
std::optional<uint64_t> BuiltInImageBase();

// What was taken, for the user before the upload: the format, the address
// range of each span, the fill and size, and the CRC-16/MODBUS and SHA-256
// of the bytes that will go out. Lines, each ending in a line end.
std::string DescribeImage(const std::string& path, const TFirmwareImage& image);
