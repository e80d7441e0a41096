#include "imageFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include "platform/resources.h"

TImageFile LoadImageFile(const std::string& path) {
    TImageFile image;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        image.Failure = "cannot read the image " + path + ": " + std::strerror(errno);
        return image;
    }
    if (!S_ISREG(info.st_mode)) {
        image.Failure = "the image " + path + " is not a file";
        return image;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        image.Failure = "cannot read the image " + path + ": " + std::strerror(errno);
        return image;
    }
    // One byte past the image is enough to know it is too long.
    image.Bytes.resize(ImageBytes + 1);
    file.read(image.Bytes.data(), std::streamsize(image.Bytes.size()));
    if (file.bad()) {
        image.Failure = "cannot read the image " + path;
        return image;
    }
    image.FileBytes = size_t(file.gcount());
    if (image.FileBytes == 0) {
        image.Failure = "the image " + path + " is empty";
    } else if (image.FileBytes > ImageBytes) {
        image.FileBytes = size_t(info.st_size);
        image.Failure = "the image " + path + " is " + std::to_string(info.st_size) +
                        " bytes; the exchange sends at most " + std::to_string(ImageBytes) + " (1016 blocks of 256)";
    }
    if (!image.Failure.empty()) {
        image.Bytes.clear();
        return image;
    }
    image.Bytes.resize(image.FileBytes);
    image.Bytes.resize(ImageBytes, char(0xFF));
    return image;
}

void UseImage(const TImageFile& image) {
    platform::RegisterLinkedResource("STREAM0", platform::ResourceTypeStream,
                                     reinterpret_cast<const unsigned char*>(image.Bytes.data()), image.Bytes.size());
}
