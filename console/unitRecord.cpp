#include "unitRecord.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
#include <nlohmann/json.hpp>

#include "base/cp1251.h"
#include "base/modbusCrc.h"
#include "base/toolVersion.h"
#include "platform/terminal.h"

std::string UtcNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    // Room for any int in every field, so nothing is ever cut.
    char text[96];
    std::snprintf(text, sizeof(text), "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, int(ms));
    return text;
}

std::string OutcomeName(int exit) {
    switch (exit) {
        case 0: return "updated";
        case 1: return "transfer failed";
        case 2: return "no device";
        case 3: return "port unavailable";
        default: return exit > 128 && exit < 160 ? "interrupted" : "error " + std::to_string(exit);
    }
}

bool ParseStatusLine(const std::string& line, std::string& name, std::string& version) {
    const std::string_view prefix = "Устройство: "_w;
    const std::string_view middle = "   Текущая версия ПО: "_w;
    if (line.compare(0, prefix.size(), prefix) != 0) return false;
    const size_t at = line.find(middle, prefix.size());
    if (at == std::string::npos) return false;
    name = line.substr(prefix.size(), at - prefix.size());
    version = line.substr(at + middle.size());
    return true;
}

bool TUnitRecordFile::Open(const std::string& path, std::string& failure) {
    path_ = path;
    if (path == "-") {
        file_ = stdout;
        return true;
    }
    file_ = std::fopen(path.c_str(), "a+b");
    if (!file_) {
        failure = "cannot write the records to " + path + ": " + std::strerror(errno);
        return false;
    }
    own_ = true;
    // Unbuffered: a record reaches the file in one write, and one that
    // failed is not written again, glued to the next, when a buffer flushes.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    // A file cut mid-line (a full disk, a crash) gets its line ended first.
    if (std::fseek(file_, -1, SEEK_END) == 0) newLineFirst_ = std::fgetc(file_) != '\n';
    std::fseek(file_, 0, SEEK_END);
    return true;
}

TUnitRecordFile::~TUnitRecordFile() {
    if (own_ && file_) std::fclose(file_);
}

bool TUnitRecordFile::Write(const TUnitRecord& r) {
    if (!file_) return true;
    const nlohmann::ordered_json record = {
        {"time", r.Time},
        {"port", r.Port},
        // What the device sent, readable: its bytes are Windows-1251.
        {"device", cp1251::ToUtf8(r.DeviceName)},
        {"version", cp1251::ToUtf8(r.DeviceVersion)},
        {"image_bytes", r.ImageBytes},
        {"image_crc", CrcText(r.ImageCrc)},
        {"image_file", r.ImageFile.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(r.ImageFile)},
        {"image_format", r.ImageFormat},
        {"image_sha256", r.ImageSha256},
        {"outcome", OutcomeName(r.Exit)},
        {"exit", r.Exit},
        {"detail", r.Detail},
        {"seconds", double(std::llround(r.Seconds * 1000)) / 1000},
        {"blocks_acknowledged", r.BlocksAcknowledged},
        {"tool_version", ToolVersion()},
        {"trace", r.TraceFile.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(r.TraceFile)},
        {"usb_vendor", r.UsbVendor},
        {"usb_product", r.UsbProduct},
        {"serial", r.Serial},
        {"location", r.Location},
        {"station", r.Station},
        {"unit", r.Unit < 0 ? nlohmann::ordered_json() : nlohmann::ordered_json(r.Unit)},
        {"passed", r.Passed < 0 ? nlohmann::ordered_json() : nlohmann::ordered_json(r.Passed)},
        {"failed", r.Failed < 0 ? nlohmann::ordered_json() : nlohmann::ordered_json(r.Failed)},
    };
    // Invalid UTF-8 (a port path, say) is replaced rather than thrown over.
    const std::string line = record.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    std::lock_guard<std::mutex> guard(lock_);
    const std::string text = (newLineFirst_ ? "\n" : "") + line;
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), file_) == text.size() && std::fflush(file_) == 0;
    // Whatever part of a failed record got out, the next begins a line.
    newLineFirst_ = !written;
    if (!written) {
        failed_ = true;
        const int error = errno;
        std::string what = "quarnelvisk-flash: the record of " + r.Port + " could not be written to " +
                           (path_ == "-" ? std::string("the standard output") : path_);
        if (error != 0) what += std::string(": ") + std::strerror(error);
        platform::WriteError(what + "\n");
    }
    return written;
}
