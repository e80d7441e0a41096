// Takes the image the programs embed from a file in any format the flasher
// reads, through the same reader and placement, so that the window program
// and the flasher send the same bytes for the same file:
//   prepare-image FILE OUTPUT [--format raw|hex|srec|elf] [--base ADDRESS]
// Without a format it is told by the content; without a base, formats that
// carry addresses are refused.
#include <cstdio>
#include <string>

#include "base/bootloaderProtocol.h"
#include "image/firmwareImage.h"

int main(int argc, char** argv) {
    const auto usage = [] {
        std::fprintf(stderr, "usage: prepare-image FILE OUTPUT [--format raw|hex|srec|elf] [--base ADDRESS]\n");
        return 64;
    };
    if (argc < 3 || argc % 2 == 0) return usage();
    TImageRequest request;
    request.Path = argv[1];
    request.AreaBytes = protocol::ImageBytes;
    request.BaseHint = "configure with -DQV_IMAGE_BASE=ADDRESS";
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--format") request.Format = FormatOfKey(value);
        if (option == "--base") request.Base = ParseAddress(value);
        if ((option == "--format" && request.Format) || (option == "--base" && request.Base)) continue;
        std::fprintf(stderr, "prepare-image: %s takes %s, not '%s'\n", option.c_str(),
                     option == "--format" ? "raw, hex, srec or elf" : "an address", value.c_str());
        return usage();
    }
    const TFirmwareImage image = LoadFirmwareImage(request);
    if (!image.Failure.empty()) {
        std::fprintf(stderr, "prepare-image: %s\n", image.Failure.c_str());
        return 65;
    }
    std::FILE* out = std::fopen(argv[2], "wb");
    bool written = out && std::fwrite(image.Bytes.data(), 1, image.Bytes.size(), out) == image.Bytes.size();
    if (out && std::fclose(out) != 0) written = false;
    if (!written) {
        std::fprintf(stderr, "prepare-image: cannot write %s\n", argv[2]);
        return 73;
    }
    std::fputs(DescribeImage(request.Path, image).c_str(), stdout);
    return 0;
}
