#include "wireTrace.h"

#include <cctype>
#include <cerrno>
#include <cstring>

#include "base/bootloaderProtocol.h"
#include "base/hexText.h"
#include "base/modbusCrc.h"
#include "base/toolVersion.h"
#include "platform/terminal.h"

namespace {

const char* FramingName(platform::TFraming framing) {
    switch (framing) {
        case platform::TFraming::Length: return "awaited length reached";
        case platform::TFraming::Quiet: return "line quiet";
        case platform::TFraming::Unended: return "handed on unended";
        case platform::TFraming::LineDown: return "line down";
    }
    return "?";
}

// The bytes in hexadecimal, and as text too where they are all printable.
std::string Shown(std::string_view bytes) {
    bool text = !bytes.empty();
    for (const char c : bytes) text = text && std::isprint(static_cast<unsigned char>(c));
    return BytesToHex(bytes) + (text ? " \"" + std::string(bytes) + "\"" : "");
}

}  // namespace

TWireTrace::~TWireTrace() {
    if (file_) std::fclose(file_);
}

void TWireTrace::Begin(const std::string& path, const std::string& port, int unit, size_t imageBlocks) {
    std::lock_guard<std::mutex> guard(lock_);
    path_ = path;
    imageBlocks_ = imageBlocks;
    start_ = std::chrono::steady_clock::now();
    Put("# quarnelvisk-flash " + std::string(ToolVersion()) + ", port " + port +
        (unit > 0 ? ", unit " + std::to_string(unit) : std::string()) + "\n");
    Put("# ms since the start; -> written, <- read; bytes, then what they are\n");
}

std::string TWireTrace::Keep() {
    std::lock_guard<std::mutex> guard(lock_);
    if (file_) return path_;
    if (path_.empty()) return "";
    file_ = std::fopen(path_.c_str(), "w");
    if (!file_) {
        platform::WriteError("quarnelvisk-flash: cannot write the trace " + path_ + ": " + std::strerror(errno) + "\n");
        path_.clear();
        kept_.clear();
        return "";
    }
    std::fputs(kept_.c_str(), file_);
    kept_.clear();
    return path_;
}

void TWireTrace::Put(const std::string& text) {
    if (file_)
        std::fputs(text.c_str(), file_);
    else if (!path_.empty())
        kept_ += text;
}

double TWireTrace::Now() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
}

std::string TWireTrace::Format(double ms, const char* arrow, size_t count, const std::string& text) {
    char start[48];
    std::snprintf(start, sizeof start, "%12.3f %s %5zu  ", ms, arrow, count);
    return start + text + "\n";
}

void TWireTrace::Line(double ms, const char* arrow, size_t count, const std::string& text) {
    Put(Format(ms, arrow, count, text));
}

void TWireTrace::FlushWritten() {
    if (written_.empty()) return;
    if (uploading_ && blocks_ < imageBlocks_ && written_.size() >= protocol::BlockSize) {
        // A block of the image: the device answers with the running CRC.
        const std::string_view block = std::string_view(written_).substr(0, protocol::BlockSize);
        crc_ = ModbusCrc(block, crc_);
        ++blocks_;
        const std::string ack =
            blocks_ == imageBlocks_ ? protocol::FinalAcknowledgement(crc_) : protocol::Acknowledgement(crc_);
        Line(writtenAt_, "->", block.size(),
             "block " + std::to_string(blocks_) + "/" + std::to_string(imageBlocks_) + ", acknowledgement due " +
                 BytesToHex(ack) + ": " + BytesToHex(block));
        written_.erase(0, protocol::BlockSize);
    } else {
        Line(writtenAt_, "->", written_.size(), Shown(written_));
        written_.clear();
    }
    Put(heldLine_);
    heldLine_.clear();
}

void TWireTrace::Wire(const TWireEvent& event) {
    std::lock_guard<std::mutex> guard(lock_);
    const double ms = Now();
    if (event.Kind == TWireEvent::Written) {
        if (written_.empty()) writtenAt_ = ms;
        written_ += event.Bytes;
        while (uploading_ && blocks_ < imageBlocks_ && written_.size() >= protocol::BlockSize) FlushWritten();
        return;
    }
    if (event.Kind == TWireEvent::Awaited) {
        awaited_ = event.Length;
        ticks_ = 0;
        if (!uploading_ && event.Length != 0) {
            // The upload begins: what was written before it (the request
            // whose reply may have been told first) is no block.
            FlushWritten();
            uploading_ = true;
        }
        Say(ms, "  ", event.Length,
            event.Length ? "bytes awaited" : "awaited length dropped: what came is handed on as it is");
        return;
    }
    awaited_ = 0;
    const std::string how = event.GivenUp ? "a reply short of its length, given up" : FramingName(event.Framing);
    Say(ms, "<-", event.Bytes.size(), "(" + how + ") " + Shown(event.Bytes));
}

void TWireTrace::Say(double ms, const char* arrow, size_t count, const std::string& text) {
    // While a block is being written its line is not yet due: the writer
    // tells each byte after it went, and by then the device may have
    // answered the whole block. What comes meanwhile follows the block.
    if (uploading_ && !written_.empty() && blocks_ < imageBlocks_) {
        heldLine_ += Format(ms, arrow, count, text);
        return;
    }
    FlushWritten();
    Line(ms, arrow, count, text);
}

void TWireTrace::WatchdogTick() {
    std::lock_guard<std::mutex> guard(lock_);
    if (awaited_ == 0) return;
    Say(Now(), "  ", awaited_, "bytes still awaited: watchdog tick " + std::to_string(++ticks_));
}

void TWireTrace::End(const std::string& outcome, const std::string& detail) {
    std::lock_guard<std::mutex> guard(lock_);
    FlushWritten();
    char ms[32];
    std::snprintf(ms, sizeof ms, "%12.3f", Now());
    Put(ms + (" outcome: " + outcome) + (detail.empty() ? "" : ": " + detail) + "\n");
    if (file_) std::fclose(file_);
    file_ = nullptr;
    kept_.clear();
}

std::string TraceFileName(const std::string& folder, const std::string& port, const std::string& utcTime, int unit) {
    std::string name = port.rfind("/dev/", 0) == 0 ? port.substr(5) : port;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') c = '_';
    std::string time;
    for (const char c : utcTime)
        if (c != '-' && c != ':') time += c;
    const std::string separator = folder.empty() || folder.back() == '/' || folder.back() == '\\' ? "" : "/";
    return folder + separator + name + "-" + time + (unit > 0 ? "-unit" + std::to_string(unit) : "") + ".trace";
}
