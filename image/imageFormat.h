// The formats an image file comes in, told apart by content.
#pragma once

#include <optional>
#include <string_view>

enum class TImageFormat { Raw, IntelHex, SRecord, Elf };

// "raw binary", "Intel HEX", "Motorola S-record", "ELF".
std::string_view FormatName(TImageFormat format);
// The word that forces a format: raw, hex, srec, elf.
std::string_view FormatKey(TImageFormat format);
std::optional<TImageFormat> FormatOfKey(std::string_view key);

// ELF by its magic number; Intel HEX and S-records by a first line that
// begins as their records do; anything else is raw bytes.
TImageFormat DetectFormat(std::string_view content);
// What a file's name ending promises (.hex, .s19, .elf, ...), if anything:
// a file named so whose content is none of them is refused, not sent raw.
std::optional<TImageFormat> FormatOfName(std::string_view path);
