// Draws the window program's pictures at build time, so that no binary
// files live in the repository:
//   the icon group ZEDA: a 16x16 and a 32x32 icon, 24 bits a pixel;
//   the bitmap BITMAP0: the 290x290 error picture, 32 bits a pixel.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct TRgb {
    uint8_t r, g, b;
};

void Put16(std::string& out, uint16_t v) {
    out += char(v & 0xFF);
    out += char(v >> 8);
}

void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
}

// BITMAPINFOHEADER; for icons the height counts the colour and the mask rows.
void PutInfoHeader(std::string& out, int width, int height, int bits, uint32_t imageSize) {
    Put32(out, 40);
    Put32(out, uint32_t(width));
    Put32(out, uint32_t(height));
    Put16(out, 1);
    Put16(out, uint16_t(bits));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
}

// The icon: a device board (green) with a downward arrow (white) onto it.
TRgb IconPixel(int x, int y, int size) {
    const double u = (x + 0.5) / size, v = (y + 0.5) / size;  // v from the top
    const bool board = v > 0.62 && v < 0.95 && u > 0.08 && u < 0.92;
    const bool shaft = u > 0.40 && u < 0.60 && v > 0.05 && v < 0.45;
    const bool head = v >= 0.30 && v < 0.62 && std::fabs(u - 0.5) < (0.62 - v) * 0.9;
    if (shaft || head) return {255, 255, 255};
    if (board) return {30, 130, 60};
    return {40, 70, 150};
}

std::string IconImage(int size) {
    std::string out;
    const int colourRow = size * 3;              // 48 or 96 bytes: already a multiple of 4
    const int maskRow = ((size + 31) / 32) * 4;  // 1 bit a pixel, rows of whole 32-bit words
    PutInfoHeader(out, size, size * 2, 24, uint32_t(colourRow * size + maskRow * size));
    for (int y = size - 1; y >= 0; --y)  // bottom-up rows
        for (int x = 0; x < size; ++x) {
            const TRgb p = IconPixel(x, y, size);
            out += char(p.b);
            out += char(p.g);
            out += char(p.r);
        }
    out += std::string(size_t(maskRow * size), '\0');  // every pixel opaque
    return out;
}

std::string Icon() {
    const int sizes[] = {16, 32};
    std::string images[2] = {IconImage(16), IconImage(32)};
    std::string out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, 2);
    uint32_t offset = 6 + 2 * 16;
    for (int i = 0; i < 2; ++i) {
        out += char(sizes[i]);
        out += char(sizes[i]);
        out += char(0);  // no palette
        out += char(0);
        Put16(out, 1);
        Put16(out, 24);
        Put32(out, uint32_t(images[i].size()));
        Put32(out, offset);
        offset += uint32_t(images[i].size());
    }
    return out + images[0] + images[1];
}

// The error picture: a red disc with a white cross, on the dialog colour.
std::string ErrorBitmap() {
    const int size = 290;
    std::string out;
    const uint32_t pixels = uint32_t(size * size * 4);
    out += "BM";
    Put32(out, 14 + 40 + pixels);
    Put32(out, 0);
    Put32(out, 14 + 40);
    PutInfoHeader(out, size, size, 32, pixels);
    const double c = size / 2.0;
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - c, dy = y + 0.5 - c;
            const double r = std::sqrt(dx * dx + dy * dy);
            const bool cross = r < 100 && (std::fabs(dx - dy) < 22 || std::fabs(dx + dy) < 22);
            TRgb p{212, 208, 200};
            if (r < 135) p = {200, 30, 30};
            if (cross) p = {255, 255, 255};
            out += char(p.b);
            out += char(p.g);
            out += char(p.r);
            out += char(0);
        }
    return out;
}

bool WriteFile(const char* path, const std::string& bytes) {
    FILE* f = std::fopen(path, "wb");
    if (f == nullptr) {
        std::perror(path);
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-pictures ICON.ico BITMAP.bmp\n");
        return 64;
    }
    return WriteFile(argv[1], Icon()) && WriteFile(argv[2], ErrorBitmap()) ? 0 : 1;
}
