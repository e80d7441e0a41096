// quarnelvisk-flash: brings a device's firmware up to date from the command
// line, with the same element network as the window program.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/modbusCrc.h"
#include "base/toolVersion.h"
#include "platform/portList.h"
#include "platform/processUse.h"
#include "platform/serialPort.h"
#include "platform/terminal.h"
#include "console/flashSession.h"
#include "console/imageFile.h"
#include "image/imageSpans.h"
#include "console/multiFlash.h"
#include "console/portIdentity.h"
#include "console/portListing.h"
#include "console/stationFlash.h"
#include "console/unitRecord.h"

namespace {

const char* const Usage =
    "usage: quarnelvisk-flash [--probe-timeout SECONDS] [--image FILE [--image-format FORMAT] [--base ADDRESS]]\n"
    "                         [--json FILE] [--trace PATH] [--no-low-latency]\n"
    "                         [--station [--station-id NAME]] PORT [PORT...]\n"
    "       quarnelvisk-flash --list [--json]\n"
    "       quarnelvisk-flash --help | --version\n"
    "Uploads the built-in firmware image to the device on PORT (a COM name such\n"
    "as COM3, also \\\\.\\COM3 or COM3:, or on Linux a device path such as\n"
    "/dev/ttyUSB0; or usb:VID:PID[:SERIAL], the adapter wherever it is plugged, or\n"
    "usb-path:LOCATION, the USB socket, as --list shows them) at 38462 bit/s 8N1.\n"
    "Several ports are flashed at once, each line prefixed with its port (on a\n"
    "terminal a line per port), and a table of the outcomes ends the run.\n"
    "It asks the device for its version (\"VERS\"), shows its name and firmware\n"
    "version, sends the image in 1016 blocks of 256 bytes, each acknowledged with\n"
    "the running CRC-16/MODBUS, then starts the new firmware (\"PUSK\").\n"
    "  --list                 print the serial ports, one a line: the name, then the device;\n"
    "                         for USB adapters also usb=VENDOR:PRODUCT serial=... usb-path=...\n"
    "                         (the socket), on Linux by-id=... by-path=... too, and the product\n"
    "                         (with --json one JSON object a line)\n"
    "  --station              production line: wait for a unit on each port (probing every\n"
    "                         second, also ports that do not exist yet), flash it, wait until\n"
    "                         it is taken away, and again until Ctrl-C; then the counts\n"
    "  --probe-timeout SECS   how long to wait for the device's answer (3)\n"
    "  --image FILE           send FILE instead of the built-in image: Intel HEX, Motorola\n"
    "                         S-record, ELF (its loadable segments by physical address) or\n"
    "                         raw binary, told by its content. Bytes the file does not give\n"
    "                         are 0xFF; a raw file is the image from its start, at most\n"
    "                         260096 bytes. A file that cannot be placed exactly is refused\n"
    "  --image-format FORMAT  read FILE as raw, hex, srec or elf, whatever its content\n"
    "  --base ADDRESS         where the device's image area of 260096 bytes begins, for the\n"
    "                         formats that place bytes by address (0x... or decimal; @BASE@)\n"
    "  --json FILE            add the unit's record to FILE (- for standard output): one\n"
    "                         JSON object a line, written and flushed at the unit's end\n"
    "  --trace PATH           write a trace of every byte on the wire, with times, how each\n"
    "                         reply was framed and the watchdog's ticks, to the file PATH;\n"
    "                         with several ports or --station PATH is a folder with a file\n"
    "                         for every port and unit\n"
    "  --station-id NAME      the station's name in the records (the host name)\n"
    "  --no-low-latency       leave the driver's latency setting alone (Linux asks USB\n"
    "                         adapters for low latency while the port is open)\n"
    "  --help                 this text\n"
    "  --version              the version, and the built-in image's size, CRC and SHA-256\n"
    "Options that take a value take it as the next word or after '=' (--json=FILE).\n"
    "Exit status: 0 updated, 1 transfer failed, 2 no device answered on the port,\n"
    "3 the port could not be opened, 64 usage error (nothing was sent), 74 a unit's\n"
    "record could not be written (whatever the upload did), 130 interrupted by Ctrl-C,\n"
    "129 by a hang-up (the terminal closed), 143 by a termination request, 141 by a\n"
    "broken pipe another program sent: the ports are closed and the records written\n"
    "first. A broken standard output does not end an upload. With several ports 0\n"
    "when every one was updated, else the worst: interrupted, 64, 1, 3, then 2. With\n"
    "--station 0 when every unit passed, 1 when one failed, the interruption's status\n"
    "when it cut an upload short.\n";

// The version, and what the built-in image is: a release's firmware, or the
// generated test pattern of a build that was given none.
std::string VersionText() {
    const TImageFacts image = CurrentImageFacts("", "built-in");
    const std::string source(BuiltInImageSource());
    return "quarnelvisk-flash " + std::string(ToolVersion()) + "\nbuilt-in image: " +
           (source.empty() ? std::string("the generated test image (a test pattern, not firmware)") : source) + ", " +
           std::to_string(image.Bytes) + " bytes, CRC-16/MODBUS " + CrcText(image.Crc) + ", SHA-256 " + image.Sha256 +
           "\n";
}

// A trace file is tried before any port is touched; a folder, for several
// ports or a station, is made if it is missing.
std::string PrepareTrace(TFlashRequest& request, bool severalUnits) {
    std::error_code error;
    const std::filesystem::path path(request.Trace);
    request.TraceFolder = severalUnits || std::filesystem::is_directory(path, error);
    if (request.TraceFolder) {
        std::filesystem::create_directories(path, error);
        if (!std::filesystem::is_directory(path, error))
            return "--trace " + request.Trace + ": not a folder that can be made" +
                   (error ? " (" + error.message() + ")" : std::string());
        return "";
    }
    std::FILE* file = std::fopen(request.Trace.c_str(), "a");
    if (!file) return "cannot write the trace " + request.Trace + ": " + std::strerror(errno);
    std::fclose(file);
    return "";
}

std::string UsageText() {
    std::string text = Usage;
    const auto base = BuiltInImageBase();
    const std::string said = base ? "this build's default " + AddressText(*base) : "this build has no default";
    return text.replace(text.find("@BASE@"), 6, said);
}

int UsageError(const std::string& message) {
    platform::WriteError("quarnelvisk-flash: " + message + " (see --help)\n");
    return FlashUsageError;
}

// A word of the command line; "--option=value" is two, the value attached.
struct TWord {
    std::string Text;
    bool Attached = false;  // a value given after "=": taken as it is
};

std::vector<TWord> Words(int argc, char** argv) {
    std::vector<TWord> words;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const size_t equals = word.find('=');
        if (word.rfind("--", 0) == 0 && equals != std::string::npos) {
            words.push_back({word.substr(0, equals)});
            words.push_back({word.substr(equals + 1), true});
        } else {
            words.push_back({word});
        }
    }
    return words;
}

}  // namespace

int main(int argc, char** argv) {
    platform::KeepStandardStreamsOpen();
    platform::PrepareOutput();
    TFlashRequest request;
    std::vector<std::string> ports;
    bool list = false;
    bool station = false;
    TImageRequest imageRequest;
    std::string jsonPath;
    bool jsonGiven = false;
    const std::vector<TWord> words = Words(argc, argv);
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& a = words[i].Text;
        // The option's value, when the next word is one; ++i past it.
        const auto value = [&]() -> const std::string* {
            if (i + 1 >= words.size() || (!words[i + 1].Attached && words[i + 1].Text.rfind("--", 0) == 0))
                return nullptr;
            return &words[++i].Text;
        };
        // A value that may not be empty, into target; false when there is none.
        const auto text = [&](std::string& target) {
            const std::string* given = value();
            if (!given || given->empty()) return false;
            target = *given;
            return true;
        };
        const bool takesValue = a == "--probe-timeout" || a == "--json" || a == "--image" || a == "--image-format" ||
                                a == "--base" || a == "--trace" || a == "--station-id";
        if (!takesValue && i + 1 < words.size() && words[i + 1].Attached) return UsageError(a + " takes no value");
        if (a == "--help" || a == "-h" || a == "/?") {
            platform::WriteOutput(UsageText());
            return 0;
        } else if (a == "--version") {
            platform::WriteOutput(VersionText());
            return 0;
        } else if (a == "--list") {
            list = true;
        } else if (a == "--probe-timeout") {
            const std::string* text = value();
            if (!text) return UsageError("--probe-timeout needs a number of seconds");
            char* end = nullptr;
            errno = 0;
            const double seconds = std::strtod(text->c_str(), &end);
            if (errno != 0 || end == text->c_str() || *end != '\0' || !(seconds > 0) || seconds > 3600)
                return UsageError("--probe-timeout takes seconds from 0 to 3600, not '" + *text + "'");
            request.ProbeTimeoutSeconds = seconds;
        } else if (a == "--station") {
            station = true;
        } else if (a == "--no-low-latency") {
            platform::SetLowLatencyWanted(false);
        } else if (a == "--json") {
            jsonGiven = true;
            // The list's JSON goes to the standard output: there --json
            // takes no file.
            const std::string* path = value();
            if (path && path->empty()) return UsageError("--json needs a file, or - for standard output");
            if (path) jsonPath = *path;
        } else if (a == "--station-id") {
            if (!text(request.Station)) return UsageError("--station-id needs a name");
        } else if (a == "--trace") {
            if (!text(request.Trace)) return UsageError("--trace needs a file, or a folder");
        } else if (a == "--image") {
            if (!text(imageRequest.Path)) return UsageError("--image needs a file");
        } else if (a == "--image-format") {
            const std::string* key = value();
            if (!key) return UsageError("--image-format needs raw, hex, srec or elf");
            imageRequest.Format = FormatOfKey(*key);
            if (!imageRequest.Format)
                return UsageError("--image-format takes raw, hex, srec or elf, not '" + *key + "'");
        } else if (a == "--base") {
            const std::string* address = value();
            if (!address) return UsageError("--base needs an address");
            imageRequest.Base = ParseAddress(*address);
            if (!imageRequest.Base)
                return UsageError("--base takes an address, 0x08000000 or decimal, not '" + *address + "'");
        } else if (!a.empty() && a[0] == '-') {
            return UsageError("unknown option " + a);
        } else {
            ports.push_back(platform::PlainPortName(a));
        }
    }
    if (list) {
        if (!ports.empty()) return UsageError("--list takes no port");
        if (jsonGiven && !jsonPath.empty() && jsonPath != "-")
            return UsageError("--list --json writes to the standard output, not to " + jsonPath);
        return ListPortsToOutput(jsonGiven);
    }
    if (jsonGiven && jsonPath.empty()) return UsageError("--json needs a file, or - for standard output");
    if (ports.empty() || (ports.size() == 1 && ports[0].empty()))
        return UsageError("which port? give a COM name or a device path");
    // Ports named by identity are found now; a station looks again at every
    // probe, as adapters come and go.
    std::vector<platform::TPortFacts> devices;
    for (std::string& port : ports) {
        if (!IsPortIdentity(port)) continue;
        if (const std::string fault = IdentityFault(port); !fault.empty()) return UsageError(fault);
        if (station) continue;
        if (devices.empty()) devices = platform::DescribeSerialDevices();
        platform::TPortFacts found;
        std::string failure;
        if (!ResolvePortIdentity(port, devices, found, failure)) return UsageError(failure);
        port = platform::PlainPortName(found.DevicePath);
    }
    if (const std::string clash = CheckPorts(ports); !clash.empty()) return UsageError(clash);
    request.Port = ports[0];
    if (request.Station.empty()) request.Station = platform::HostName();
    if (!request.Trace.empty()) {
        const std::string failure = PrepareTrace(request, station || ports.size() > 1);
        if (!failure.empty()) return UsageError(failure);
    }
    // Checked before the port is touched; kept for the whole run.
    static TFirmwareImage image;
    if (!imageRequest.Path.empty()) {
        image = LoadImageFile(imageRequest);
        if (!image.Failure.empty()) return UsageError(image.Failure);
        UseImage(image.Bytes);
        platform::WriteOutput(DescribeImage(imageRequest.Path, image));
    } else if (imageRequest.Format || imageRequest.Base) {
        return UsageError("--image-format and --base are for an image file: give --image FILE");
    }
    request.Image = CurrentImageFacts(imageRequest.Path, std::string(FormatKey(image.Format)));
    static TUnitRecordFile records;
    if (jsonGiven) {
        std::string failure;
        if (!records.Open(jsonPath, failure)) return UsageError(failure);
        request.Records = &records;
    }
    request.Terminal = platform::OutputIsTerminal();
    platform::CatchInterrupt();
    int status = station             ? RunStation(request, ports)
                 : ports.size() == 1 ? RunFlash(request)
                                     : RunMultiFlash(request, ports);
    // A hang-up or a termination request ends the run as Ctrl-C does, and
    // the status says which it was.
    if (status == FlashInterrupted && platform::InterruptSignal() != 0) status = 128 + platform::InterruptSignal();
    // A lost record outweighs the outcome: the factory's books are wrong.
    if (records.Failed() && status < FlashUsageError) {
        platform::WriteError("quarnelvisk-flash: records were lost; see the lines above\n");
        status = FlashRecordLost;
    }
    // For long runs: what the session left behind, once everything of it
    // has gone (a second session in this process would start from here).
    if (const char* report = std::getenv("QUARNELVISK_REPORT_USE"); report && *report) {
        const platform::TProcessUse use = platform::MeasureProcessUse();
        platform::WriteError("quarnelvisk-flash: at exit descriptors " + std::to_string(use.Descriptors) +
                             ", threads " + std::to_string(use.Threads) + ", peak resident " +
                             std::to_string(use.PeakResidentKb) + " kB\n");
    }
    return status;
}
