// Writes the test firmware image: 130314 bytes of deterministic
// pseudo-random content (standing in for the enciphered firmware), then 0xFF
// up to 260096 bytes, the size of the device's image area. Given a number of
// blocks, only the image's first blocks of 256 bytes: the short image of the
// test programs, whose exchange ends after those blocks.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    constexpr size_t fullBlocks = 1016;
    char* end = nullptr;
    const unsigned long blocks = argc == 3 ? std::strtoul(argv[2], &end, 10) : fullBlocks;
    if ((argc != 2 && argc != 3) || (argc == 3 && (*end != '\0' || blocks < 1 || blocks > fullBlocks))) {
        std::fprintf(stderr, "usage: make-test-image OUTPUT [BLOCKS (1 to 1016)]\n");
        return 64;
    }
    constexpr size_t imageSize = fullBlocks * 256;
    constexpr size_t firmwareSize = 130314;
    std::vector<unsigned char> image(imageSize, 0xFF);
    uint32_t state = 0x51A7E5u;  // xorshift32: the same bytes on every build
    for (size_t i = 0; i < firmwareSize; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        image[i] = static_cast<unsigned char>(state >> 24);
    }
    FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    image.resize(blocks * 256);
    const bool ok = std::fwrite(image.data(), 1, image.size(), out) == image.size();
    return (std::fclose(out) == 0 && ok) ? 0 : 1;
}
