#include "bitmap.h"

namespace fw {

TBitmap::~TBitmap() { Clear(); }

void TBitmap::Clear() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
    bits_.clear();
    width_ = height_ = 0;
}

void TBitmap::TakeHandle(HBITMAP handle) {
    Clear();
    if (!handle) return;
    BITMAP info{};
    if (GetObjectA(handle, sizeof(info), &info) == 0) {
        DeleteObject(handle);
        return;
    }
    handle_ = handle;
    width_ = info.bmWidth;
    height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
}

void TBitmap::SetBits(int width, int height, const std::vector<uint32_t>& pixels) {
    Clear();
    if (width <= 0 || height <= 0 || pixels.size() < size_t(width) * size_t(height)) return;
    bits_.assign(pixels.begin(), pixels.begin() + ptrdiff_t(size_t(width) * size_t(height)));
    width_ = width;
    height_ = height;
}

void TBitmap::StretchTo(HDC dc, const RECT& target) const {
    if (Empty()) return;
    const int w = target.right - target.left;
    const int h = target.bottom - target.top;
    if (HasBits()) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const int lines = StretchDIBits(dc, target.left, target.top, w, h, 0, 0, width_, height_, bits_.data(), &info,
                                        DIB_RGB_COLORS, SRCCOPY);
        if (lines > 0 || !handle_) return;
    }
    if (!handle_) return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, handle_);
    StretchBlt(dc, target.left, target.top, w, h, memory, 0, 0, width_, height_, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

}  // namespace fw
