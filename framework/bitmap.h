// A picture: either a bitmap handle that it owns or device-independent bits
// (32 bits per pixel, top-down). Empty while its width or height is 0.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace fw {

class TBitmap {
public:
    TBitmap() = default;
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    HBITMAP Handle() const { return handle_; }
    bool HasBits() const { return !bits_.empty(); }

    // Takes over the handle; its size is read with GetObject. A handle whose
    // size cannot be read leaves the picture empty (and is deleted).
    void TakeHandle(HBITMAP handle);
    // Copies pixels given as 0x00RRGGBB values, row by row from the top.
    void SetBits(int width, int height, const std::vector<uint32_t>& pixels);
    void Clear();

    // Stretches the whole picture into target with SRCCOPY: from the bits
    // when it holds them (falling back to the handle when StretchDIBits
    // copies no line), otherwise from the handle through a memory DC.
    void StretchTo(HDC dc, const RECT& target) const;

private:
    HBITMAP handle_ = nullptr;
    std::vector<uint32_t> bits_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace fw
