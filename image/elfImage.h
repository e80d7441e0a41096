// ELF executables as image files: the file bytes of each loadable segment at
// its physical (load) address, where a flash image is placed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "image/imageSpans.h"

// 32- and 64-bit, either byte order. A span per PT_LOAD segment with file
// bytes, "segment N" by its program header index; the part of a segment past
// its file bytes is RAM the program zeroes itself and is left out.
TImageFault ReadElfImage(std::string_view file, TImageSpans& spans);

// A minimal executable with a PT_LOAD segment per span, for tests and fuzz
// seeds. Each segment's virtual address is its address + 0x20000000, so that
// a reader taking the virtual address shows. Addresses must fit the class,
// and there may be at most 65534 segments.
std::string WriteElfImage(const std::vector<TImageSpan>& segments, bool is64, bool bigEndian);
