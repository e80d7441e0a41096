// The bare exchange, for the benchmarks to measure the flasher against: one
// thread, no elements. It asks for the version, writes the image one byte a
// write system call, waits for each acknowledgement by its known length (two
// CRC bytes, and "FZ" after the last block), compares it with the running
// CRC-16/MODBUS and ends with "PUSK".
//
//   quarnelvisk-reference-host DEVICE IMAGE
//
// Exit status: 0 done, 1 a wrong or missing reply, 2 usage.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "base/bootloaderProtocol.h"
#include "base/modbusCrc.h"

namespace {

using protocol::BlockSize;
constexpr int ReplyWaitMs = 3000;

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n <= 0) return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

// Reads exactly size bytes, each within waitMs.
bool ReadExactly(int fd, std::string& out, size_t size, int waitMs) {
    out.clear();
    while (out.size() < size) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, waitMs) <= 0) return false;
        char buffer[64];
        const ssize_t n = read(fd, buffer, std::min(sizeof(buffer), size - out.size()));
        if (n <= 0) return false;
        out.append(buffer, size_t(n));
    }
    return true;
}

// Waits until nothing more has come for quietUs; false when something did.
bool StaysQuiet(int fd, long quietUs) {
    const timespec wait{quietUs / 1000000, (quietUs % 1000000) * 1000};
    pollfd p{fd, POLLIN, 0};
    return ppoll(&p, 1, &wait, nullptr) == 0;
}

int Fail(const char* what) {
    std::fprintf(stderr, "reference host: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quarnelvisk-reference-host DEVICE IMAGE\n");
        return 2;
    }
    std::ifstream file(argv[2], std::ios::binary);
    const std::string image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (image.empty() || image.size() % BlockSize != 0) return Fail("the image is empty or not whole blocks");
    const int fd = open(argv[1], O_RDWR | O_NOCTTY);
    if (fd < 0) return Fail("cannot open the device");
    termios settings{};
    if (tcgetattr(fd, &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(fd, TCSANOW, &settings);
    }

    // The identification: whatever comes until the line is quiet.
    if (!WriteAll(fd, protocol::VersionRequest.data(), protocol::VersionRequest.size())) return Fail("cannot write");
    std::string reply;
    if (!ReadExactly(fd, reply, 1, ReplyWaitMs)) return Fail("no answer to VERS");
    while (!StaysQuiet(fd, 50000)) {
        char buffer[256];
        if (read(fd, buffer, sizeof(buffer)) <= 0) return Fail("the line went away");
    }

    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < image.size(); ++i) {
        if (!WriteAll(fd, &image[i], 1)) return Fail("cannot write");
        crc = ModbusCrcStep(crc, uint8_t(image[i]));
        if ((i + 1) % BlockSize != 0) continue;
        const bool last = i + 1 == image.size();
        const std::string expected = last ? protocol::FinalAcknowledgement(crc) : protocol::Acknowledgement(crc);
        if (!ReadExactly(fd, reply, expected.size(), ReplyWaitMs)) return Fail("an acknowledgement is missing");
        if (reply != expected) return Fail("a wrong acknowledgement");
    }
    if (!WriteAll(fd, protocol::StartCommand.data(), protocol::StartCommand.size())) return Fail("cannot write");
    tcdrain(fd);
    close(fd);
    return 0;
}
