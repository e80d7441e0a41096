// Takes the image the programs embed from a file in any format the flasher
// reads, through the same reader and placement, so that the window program
// and the flasher send the same bytes for the same file:
//   prepare-image FILE OUTPUT [FORMAT] [BASE]
// FORMAT is raw, hex, srec or elf (empty: told by the content), BASE where
// the image area begins (empty: the build's default).
#include <cstdio>
#include <string>

#include "base/bootloaderProtocol.h"
#include "image/firmwareImage.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: prepare-image FILE OUTPUT [raw|hex|srec|elf] [BASE]\n");
        return 64;
    }
    TImageRequest request;
    request.Path = argv[1];
    request.AreaBytes = protocol::ImageBytes;
    request.BaseHint = "configure with -DQV_IMAGE_BASE=ADDRESS";
    const std::string format = argc > 3 ? argv[3] : "", base = argc > 4 ? argv[4] : "";
    if (!format.empty() && !(request.Format = FormatOfKey(format))) {
        std::fprintf(stderr, "prepare-image: the format is raw, hex, srec or elf, not '%s'\n", format.c_str());
        return 64;
    }
    if (!base.empty() && !(request.Base = ParseAddress(base))) {
        std::fprintf(stderr, "prepare-image: the base is an address, not '%s'\n", base.c_str());
        return 64;
    }
    const TFirmwareImage image = LoadFirmwareImage(request);
    if (!image.Failure.empty()) {
        std::fprintf(stderr, "prepare-image: %s\n", image.Failure.c_str());
        return 65;
    }
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out || std::fwrite(image.Bytes.data(), 1, image.Bytes.size(), out) != image.Bytes.size() ||
        std::fclose(out) != 0) {
        std::fprintf(stderr, "prepare-image: cannot write %s\n", argv[2]);
        return 73;
    }
    std::fputs(DescribeImage(request.Path, image).c_str(), stdout);
    return 0;
}
