#include "firmwareImage.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

#include "base/modbusCrc.h"
#include "elfImage.h"
#include "imageSpans.h"
#include "intelHex.h"
#include "sRecord.h"
#include "sha256.h"

namespace {

// Text formats take about 2.5 times their image, ELF files carry symbols
// and debugging information besides: far more than that is no image.
constexpr size_t LargestFile = size_t(64) << 20;

TImageFault ReadSpans(TImageFormat format, std::string_view content, TImageSpans& spans) {
    switch (format) {
        case TImageFormat::IntelHex: return ReadIntelHex(content, spans);
        case TImageFormat::SRecord: return ReadSRecord(content, spans);
        case TImageFormat::Elf: return ReadElfImage(content, spans);
        case TImageFormat::Raw: break;
    }
    spans.Add(0, std::string(content), {});
    return {};
}

bool IsText(std::string_view content) {
    for (const char c : content) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r') return false;
        if (u == 0x7F) return false;
    }
    return true;
}

std::string FaultText(const std::string& path, const TImageFault& fault) {
    std::string text = path;
    if (!fault.Where.empty()) text += " " + fault.Where;
    if (fault.Address) text += (fault.Where.empty() ? " at address " : ", address ") + AddressText(*fault.Address);
    return text + ": " + fault.What;
}

// The raw file as it always was taken: from its start, padded.
void PlaceRaw(const TImageRequest& request, std::string content, TFirmwareImage& image) {
    if (content.empty()) {
        image.Failure = "the image " + request.Path + " is empty";
    } else if (content.size() > request.AreaBytes) {
        image.Failure = "the image " + request.Path + " is " + std::to_string(content.size()) +
                        " bytes; the exchange sends at most " + std::to_string(request.AreaBytes) +
                        " (1016 blocks of 256)";
    }
    if (!image.Failure.empty()) return;
    image.GivenBytes = content.size();
    image.Ranges.push_back({0, content.size()});
    image.Bytes = std::move(content);
    image.Bytes.resize(request.AreaBytes, char(0xFF));
}

void PlaceSpans(const TImageRequest& request, const std::vector<TImageSpan>& spans, TFirmwareImage& image) {
    const uint64_t lowest = spans.front().Address;
    if (!request.Base) {
        image.Failure = request.Path + ": " + std::string(FormatName(image.Format)) +
                        " places its bytes by address, the lowest at " + AddressText(lowest) +
                        "; say where the image area begins (" + request.BaseHint + ")";
        return;
    }
    const uint64_t base = *request.Base;
    if (base > UINT64_MAX - request.AreaBytes) {
        image.Failure = "the image area cannot begin at " + AddressText(base) + ": it would end past the top of memory";
        return;
    }
    const uint64_t end = base + request.AreaBytes;
    image.Base = base;
    image.Bytes.assign(request.AreaBytes, char(0xFF));
    for (const TImageSpan& span : spans) {
        if (span.Address < base || span.End() > end) {
            // The first of the span's bytes that falls outside.
            const uint64_t outside = span.Address < base ? span.Address : std::max(span.Address, end);
            image.Failure = FaultText(
                request.Path, {span.Where, outside,
                               "data outside the image area " + AddressText(base) + "-" + AddressText(end - 1) + " (" +
                                   std::to_string(request.AreaBytes) + " bytes from the base)"});
            image.Bytes.clear();
            return;
        }
        image.Bytes.replace(size_t(span.Address - base), span.Bytes.size(), span.Bytes);
        image.Ranges.push_back({span.Address, span.Bytes.size()});
        image.GivenBytes += span.Bytes.size();
    }
}

}  // namespace

TFirmwareImage LoadFirmwareImage(const TImageRequest& request) {
    TFirmwareImage image;
    const std::string& path = request.Path;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        image.Failure = "cannot read the image " + path + ": " + std::strerror(errno);
        return image;
    }
    if (!S_ISREG(info.st_mode)) {
        image.Failure = "the image " + path + " is not a file";
        return image;
    }
    if (uint64_t(info.st_size) > LargestFile) {
        image.Failure = "the image " + path + " is " + std::to_string(info.st_size) + " bytes; no image file is over " +
                        std::to_string(LargestFile >> 20) + " MiB";
        return image;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        image.Failure = "cannot read the image " + path + ": " + std::strerror(errno);
        return image;
    }
    // One byte past its size is enough to know a file grew meanwhile.
    std::string content(size_t(info.st_size) + 1, '\0');
    file.read(content.data(), std::streamsize(content.size()));
    if (file.bad()) {
        image.Failure = "cannot read the image " + path;
        return image;
    }
    content.resize(size_t(file.gcount()));
    if (content.size() > size_t(info.st_size)) {
        image.Failure = "the image " + path + " grew while it was read";
        return image;
    }

    const TImageFormat found = DetectFormat(content);
    image.Format = request.Format.value_or(found);
    if (!request.Format && found == TImageFormat::Raw && !content.empty()) {
        if (const auto named = FormatOfName(path)) {
            image.Failure = "the image " + path + " is named as " + std::string(FormatName(*named)) +
                            " but does not hold it; to send its bytes as they are, say the format is raw";
            return image;
        }
        // Firmware has bytes no text has (a vector table's zeros, to begin
        // with): text is a listing, a HEX file with a line before its
        // records or a file saved by mistake, and never goes out raw.
        if (IsText(content)) {
            image.Failure = "the image " + path +
                            " is text, but no Intel HEX or S-record: their records begin the first line. To send its "
                            "bytes as they are, say the format is raw";
            return image;
        }
    }
    if (image.Format == TImageFormat::Raw) {
        PlaceRaw(request, std::move(content), image);
        return image;
    }
    TImageSpans spans;
    if (const TImageFault fault = ReadSpans(image.Format, content, spans)) {
        image.Failure = FaultText(path, fault);
        return image;
    }
    std::vector<TImageSpan> merged;
    if (const TImageFault fault = spans.Merge(merged)) {
        image.Failure = FaultText(path, fault);
        return image;
    }
    if (merged.empty()) {
        image.Failure = "the image " + path + " gives no bytes: an empty image is not sent";
        return image;
    }
    PlaceSpans(request, merged, image);
    return image;
}

std::optional<uint64_t> ParseAddress(std::string_view text) {
    int radix = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        radix = 16;
    }
    if (text.empty() || text.size() > 20) return {};
    uint64_t value = 0;
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (radix == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (radix == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0) return {};
        if (value > (UINT64_MAX - uint64_t(digit)) / uint64_t(radix)) return {};
        value = value * uint64_t(radix) + uint64_t(digit);
    }
    return value;
}

std::optional<uint64_t> BuiltInImageBase() {
#ifdef QV_DEFAULT_IMAGE_BASE
    return ParseAddress(QV_DEFAULT_IMAGE_BASE);
#else
    return {};
#endif
}

std::string DescribeImage(const std::string& path, const TFirmwareImage& image) {
    std::string text = "Image: " + path + ", " + std::string(FormatName(image.Format)) + ", " +
                       std::to_string(image.GivenBytes) + " bytes";
    if (image.Format != TImageFormat::Raw) {
        constexpr size_t shown = 8;
        text += " at ";
        for (size_t i = 0; i < image.Ranges.size() && i < shown; ++i) {
            const TImageRange& r = image.Ranges[i];
            text += (i ? ", " : "") + AddressText(r.Address) + "-" + AddressText(r.Address + r.Bytes - 1);
        }
        if (image.Ranges.size() > shown) text += " and " + std::to_string(image.Ranges.size() - shown) + " more spans";
    }
    if (image.GivenBytes < image.Bytes.size())
        text += ", padded with 0xFF to " + std::to_string(image.Bytes.size()) + " bytes";
    if (image.Format != TImageFormat::Raw) text += ", the image area from " + AddressText(image.Base);
    return text + ".\nImage: CRC-16/MODBUS " + CrcText(ModbusCrc(image.Bytes)) + ", SHA-256 " + Sha256Hex(image.Bytes) +
           ".\n";
}
