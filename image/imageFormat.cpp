#include "imageFormat.h"

#include <cctype>
#include <string>

namespace {

struct TFormatWords {
    TImageFormat Format;
    std::string_view Name, Key;
};
constexpr TFormatWords Formats[] = {
    {TImageFormat::Raw, "raw binary", "raw"},
    {TImageFormat::IntelHex, "Intel HEX", "hex"},
    {TImageFormat::SRecord, "Motorola S-record", "srec"},
    {TImageFormat::Elf, "ELF", "elf"},
};

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

std::string_view FormatName(TImageFormat format) { return Formats[int(format)].Name; }
std::string_view FormatKey(TImageFormat format) { return Formats[int(format)].Key; }

std::optional<TImageFormat> FormatOfKey(std::string_view key) {
    for (const TFormatWords& f : Formats)
        if (f.Key == key) return f.Format;
    return {};
}

TImageFormat DetectFormat(std::string_view content) {
    if (content.substr(0, 4) ==
        "\x7F"
        "ELF")
        return TImageFormat::Elf;
    if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);
    const size_t first = content.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return TImageFormat::Raw;
    content.remove_prefix(first);
    if (content.size() >= 2 && content[0] == ':' && IsHexDigit(content[1])) return TImageFormat::IntelHex;
    if (content.size() >= 3 && content[0] == 'S' && content[1] >= '0' && content[1] <= '9' && IsHexDigit(content[2]))
        return TImageFormat::SRecord;
    return TImageFormat::Raw;
}

std::optional<TImageFormat> FormatOfName(std::string_view path) {
    const size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || path.find_first_of("/\\", dot) != std::string_view::npos) return {};
    std::string ending;
    for (const char c : path.substr(dot + 1)) ending += char(std::tolower(static_cast<unsigned char>(c)));
    for (const char* e : {"hex", "ihx", "ihex"})
        if (ending == e) return TImageFormat::IntelHex;
    for (const char* e : {"srec", "s19", "s28", "s37", "mot", "mhx"})
        if (ending == e) return TImageFormat::SRecord;
    for (const char* e : {"elf", "axf"})
        if (ending == e) return TImageFormat::Elf;
    return {};
}
