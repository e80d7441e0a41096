// quarnelvisk-device: a device with the Quarnelvisk bootloader on a
// pseudo-terminal, for trying and testing the flasher without hardware.
// It prints the path of the line it serves as its first line of output.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <variant>

#include "adapterPackets.h"
#include "base/toolVersion.h"
#include "deviceEmulator.h"
#include "faultOptions.h"

namespace {

using TClock = std::chrono::steady_clock;

volatile std::sig_atomic_t stopRequested = 0;
void OnSignal(int) { stopRequested = 1; }

const char* const Usage =
    "usage: quarnelvisk-device [options]\n"
    "Serves the device side of the bootloader exchange on a new pseudo-terminal\n"
    "and prints the terminal's path as its first line.\n"
    "  --name NAME          device name in the version reply (MZK7)\n"
    "  --firmware-version V firmware version in the version reply (1.3; also --version V)\n"
    "  --blocks N           size of the image area in 256-byte blocks (1016)\n"
    "  --save FILE          write the received image bytes to FILE at the end\n"
    "  --baud RATE          pace the line at RATE bit/s, 10 bits a byte (unpaced)\n"
    "  --byte-gap US        send every reply one byte at a time, US microseconds apart,\n"
    "                       as a device's UART does (one write a reply)\n"
    "  --ack-latency MS     hold every acknowledgement MS milliseconds before sending it,\n"
    "                       as a USB adapter's latency timer does (0)\n"
    "  --packet-ms MS       deliver replies as a USB adapter does, in packets at a tick\n"
    "                       every MS milliseconds: a reply that straddles a tick is cut there\n"
    "  --cut-replies        cut every reply in two, the second half one tick (--packet-ms,\n"
    "                       else 16 ms) after the first: a good device on the worst adapter\n"
    "  --timeout SECONDS    give up after this long (600)\n"
    "  --stay               keep serving after \"PUSK\" until stopped\n"
    "  --units N            serve N units one after another on the same line (1): after\n"
    "                       a unit's \"PUSK\" its new firmware runs (no bootloader answers)\n"
    "                       for the unit gap, then the next unit's bootloader answers\n"
    "  --unit-gap MS        how long a served unit stays on the line before the next (3000)\n"
    "  --version            the program's version (with no value after it)\n"
    "  --long-name N        a device name N bytes long, sent without a pause\n"
    "  --list-faults        the faults below, one a line: the option and what it takes\n"
    "faults:\n@FAULTS@"
    "Exit status: 0 when the whole image and \"PUSK\" arrived (for every unit), 1 otherwise,\n"
    "64 for a usage error.\n";

std::string UsageText() {
    std::string text = Usage;
    return text.replace(text.find("@FAULTS@"), 8, FaultUsage());
}

[[noreturn]] void UsageError(const std::string& message) {
    std::fprintf(stderr, "quarnelvisk-device: %s\n%s", message.c_str(), UsageText().c_str());
    std::exit(64);
}

int NumberArgument(const char* option, const char* text) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 0 || value > 1000000)
        UsageError(std::string(option) + " takes a whole number, not '" + text + "'");
    return int(value);
}

// Sets the fault's field: a flag's to true, a number's or a text's to value.
void SetFault(const TFaultOption& fault, TDeviceFaults& f, const char* value) {
    using F = TDeviceFaults;
    if (const auto* flag = std::get_if<bool F::*>(&fault.Field))
        f.** flag = true;
    else if (const auto* number = std::get_if<int F::*>(&fault.Field))
        f.** number = NumberArgument(fault.Name, value);
    else if (const auto* text = std::get_if<std::string F::*>(&fault.Field))
        f.** text = value;
}

struct TProgramOptions {
    TDeviceSettings device;
    std::string saveFile;
    int baud = 0;
    int byteGapUs = 0;
    int ackLatencyMs = 0;
    int packetMs = 0;
    bool cutReplies = false;
    int timeoutSeconds = 600;
    bool stay = false;
    int units = 1;
    int unitGapMs = 3000;
};

TProgramOptions ParseOptions(int argc, char** argv) {
    TProgramOptions o;
    TDeviceFaults& f = o.device.Faults;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) UsageError(a + " needs a value");
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            std::fputs(UsageText().c_str(), stdout);
            std::exit(0);
        } else if (a == "--version" && (i + 1 >= argc || argv[i + 1][0] == '-')) {
            // Alone, the program's version; with a value, the older
            // spelling of --firmware-version.
            std::printf("quarnelvisk-device %.*s\n", int(ToolVersion().size()), ToolVersion().data());
            std::exit(0);
        } else if (a == "--name")
            o.device.Name = value();
        else if (a == "--long-name")
            o.device.Name = std::string(size_t(NumberArgument("--long-name", value())), 'N');
        else if (a == "--firmware-version" || a == "--version")
            o.device.Version = value();
        else if (a == "--blocks")
            o.device.Blocks = NumberArgument("--blocks", value());
        else if (a == "--save")
            o.saveFile = value();
        else if (a == "--baud")
            o.baud = NumberArgument("--baud", value());
        else if (a == "--byte-gap")
            o.byteGapUs = NumberArgument("--byte-gap", value());
        else if (a == "--ack-latency")
            o.ackLatencyMs = NumberArgument("--ack-latency", value());
        else if (a == "--packet-ms")
            o.packetMs = NumberArgument("--packet-ms", value());
        else if (a == "--cut-replies")
            o.cutReplies = true;
        else if (a == "--timeout")
            o.timeoutSeconds = NumberArgument("--timeout", value());
        else if (a == "--stay")
            o.stay = true;
        else if (a == "--units")
            o.units = NumberArgument("--units", value());
        else if (a == "--unit-gap")
            o.unitGapMs = NumberArgument("--unit-gap", value());
        else if (a == "--list-faults") {
            for (const TFaultOption& fault : FaultOptions()) std::printf("%s %s\n", fault.Name, fault.Value);
            std::exit(0);
        } else if (const TFaultOption* fault = FindFaultOption(a))
            SetFault(*fault, f, *fault->Value ? value() : nullptr);
        else
            UsageError("unknown option " + a);
    }
    if (o.device.Blocks < 1) UsageError("--blocks must be at least 1");
    if (o.units < 1) UsageError("--units must be at least 1");
    return o;
}

// Keeps the time of the serial line when pacing: every byte occupies the
// wire for 10 bit times in its direction.
class TWire {
public:
    explicit TWire(int baud) : baud_(baud) {}
    void Received(size_t bytes) {
        if (baud_ == 0) return;
        // Bytes read together were written just now at the earliest.
        const auto now = TClock::now();
        if (inFree_ < now) inFree_ = now;
        inFree_ += ByteTime(bytes);
    }
    // Waits until a reply of this size, sent once the request is complete,
    // would have arrived at the host.
    void BeforeSending(size_t bytes) {
        if (baud_ == 0) return;
        const auto arrival = inFree_ + ByteTime(bytes);
        std::this_thread::sleep_until(arrival);
    }

private:
    TClock::duration ByteTime(size_t bytes) const {
        return std::chrono::duration_cast<TClock::duration>(
            std::chrono::duration<double>(10.0 * double(bytes) / baud_));
    }
    int baud_;
    TClock::time_point inFree_ = TClock::now();
};

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN) {
                pollfd p{fd, POLLOUT, 0};
                poll(&p, 1, 100);
                continue;
            }
            return false;
        }
        done += size_t(n);
    }
    return true;
}

// A reply as the host receives it: byte by byte as a UART sends it (gaps
// measured from the first byte, so a late wake-up does not stretch the gaps
// after it), or in an adapter's packets. The last stretch of the wait for
// each piece spins: a UART is never late, and a sleep of a character time on
// an idle virtual machine was seen to wake up to 4 ms late, which no host
// could tell from a pause of the device. Longer waits sleep until that
// stretch, so they do not hold a core.
bool SendReply(int fd, const std::string& bytes, const TAdapterLine& line, TClock::time_point lineStart) {
    constexpr auto spun = std::chrono::milliseconds(5);
    const auto first = TClock::now();
    std::chrono::microseconds sinceTick{0};
    if (line.tick.count() > 0)
        sinceTick = std::chrono::duration_cast<std::chrono::microseconds>(first - lineStart) % line.tick;
    for (const TAdapterPacket& packet : AdapterPackets(bytes.size(), line, sinceTick)) {
        const auto due = first + packet.due;
        if (due - TClock::now() > spun) std::this_thread::sleep_until(due - spun);
        while (TClock::now() < due) std::this_thread::yield();
        if (!WriteAll(fd, bytes.substr(packet.offset, packet.size))) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const TProgramOptions options = ParseOptions(argc, argv);

    int master = -1, slave = -1;
    char slaveName[256] = {};
    if (openpty(&master, &slave, slaveName, nullptr, nullptr) != 0) {
        std::perror("quarnelvisk-device: openpty");
        return 1;
    }
    // The device end stays open all the time, so the line keeps its raw
    // settings and the master never reads as hung up between host opens.
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    std::printf("%s\n", slaveName);
    std::fflush(stdout);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);

    TDeviceEmulator device(options.device);
    TWire wire(options.baud);
    const TAdapterLine adapter{std::chrono::microseconds(options.byteGapUs),
                               std::chrono::milliseconds(options.packetMs), options.cutReplies};
    const auto lineStart = TClock::now();
    const auto deadline = TClock::now() + std::chrono::seconds(options.timeoutSeconds);
    TClock::time_point startedAt{};
    TClock::time_point nextUnitAt{};  // while a served unit's firmware runs
    int unitsServed = 0;              // units before this one that got their image and "PUSK"
    bool everyUnitWhole = true;
    bool hungUp = false;
    const char* ending = "stopped";

    while (!stopRequested) {
        if (TClock::now() >= deadline) {
            ending = "timed out";
            break;
        }
        // After "PUSK" linger a little to notice anything the host still sends.
        if (device.Started() && !options.stay) {
            if (startedAt == TClock::time_point{}) startedAt = TClock::now();
            if (TClock::now() - startedAt > std::chrono::milliseconds(300)) {
                if (unitsServed + 1 >= options.units) {
                    ending = "started";
                    break;
                }
                std::printf("unit %d: blocks %d, bytes %zu, CRC %04X, PUSK yes, unexpected bytes %zu\n",
                            unitsServed + 1, device.BlocksReceived(), device.Image().size(), device.Crc(),
                            device.Unexpected().size());
                std::fflush(stdout);
                everyUnitWhole = everyUnitWhole && device.BlocksReceived() == options.device.Blocks;
                ++unitsServed;
                device = TDeviceEmulator(options.device);
                startedAt = {};
                nextUnitAt = TClock::now() + std::chrono::milliseconds(options.unitGapMs);
            }
        }
        pollfd p{master, POLLIN, 0};
        const int ready = poll(&p, 1, 50);
        if (ready < 0 && errno != EINTR) break;
        if (ready <= 0 || (p.revents & POLLIN) == 0) continue;
        char buffer[4096];
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) continue;
        // The served unit's firmware does not speak the bootloader's words.
        if (TClock::now() < nextUnitAt) continue;
        wire.Received(size_t(n));
        for (const TDeviceAction& action : device.Receive(std::string_view(buffer, size_t(n)))) {
            if (action.Kind == TDeviceAction::Send) {
                // An adapter holds a reply once it has come off the wire:
                // after the line time of what it answers. Acknowledgements
                // are what comes once image bytes have.
                wire.BeforeSending(action.Bytes.size());
                if (options.ackLatencyMs > 0 && !device.Image().empty())
                    std::this_thread::sleep_for(std::chrono::milliseconds(options.ackLatencyMs));
                if (!SendReply(master, action.Bytes, adapter, lineStart))
                    std::fprintf(stderr, "quarnelvisk-device: write failed\n");
            } else if (action.Kind == TDeviceAction::Pause) {
                std::this_thread::sleep_for(std::chrono::milliseconds(action.PauseMs));
            } else {
                hungUp = true;
            }
        }
        if (hungUp) {
            ending = "hung up";
            break;
        }
    }
    close(master);
    close(slave);

    if (!options.saveFile.empty()) {
        FILE* out = std::fopen(options.saveFile.c_str(), "wb");
        if (out == nullptr ||
            std::fwrite(device.Image().data(), 1, device.Image().size(), out) != device.Image().size())
            std::fprintf(stderr, "quarnelvisk-device: cannot write %s\n", options.saveFile.c_str());
        if (out != nullptr) std::fclose(out);
    }
    std::printf("device: %s; blocks %d, bytes %zu, CRC %04X, PUSK %s, unexpected bytes %zu\n", ending,
                device.BlocksReceived(), device.Image().size(), device.Crc(), device.Started() ? "yes" : "no",
                device.Unexpected().size());
    const bool complete = device.Started() && device.BlocksReceived() == options.device.Blocks &&
                          unitsServed + 1 >= options.units && everyUnitWhole;
    return complete ? 0 : 1;
}
