// A firmware image from a file, in place of the built-in one: read and placed
// before any port is touched, then made the module's STREAM0, where the
// upload scheme reads its image.
#pragma once

#include <string>

#include "image/firmwareImage.h"

// The file's image as the exchange sends it: the image area of 1016 blocks
// of 256 bytes, the base from the command line or else the build's.
TFirmwareImage LoadImageFile(TImageRequest request);

// Makes bytes (which must live as long as the program) the upload's image.
void UseImage(const std::string& bytes);
