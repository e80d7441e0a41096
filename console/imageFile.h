// A firmware image from a file, in place of the built-in one: checked and
// padded before any port is touched, then made the module's STREAM0, where
// the upload scheme reads its image.
#pragma once

#include <cstddef>
#include <string>

// The exchange sends exactly 1016 blocks of 256 bytes.
inline constexpr size_t ImageBytes = 1016 * 256;

struct TImageFile {
    std::string Bytes;     // ImageBytes long once loaded
    size_t FileBytes = 0;  // what the file held
    std::string Failure;   // why it cannot be sent, for the usage message
    bool Padded() const { return FileBytes < ImageBytes; }
};

// Reads path; a file shorter than the image is padded with 0xFF (the value
// of erased flash), an empty, longer, unreadable or non-regular one fails.
TImageFile LoadImageFile(const std::string& path);

// Makes image (which must live as long as the program) the upload's image.
void UseImage(const TImageFile& image);
