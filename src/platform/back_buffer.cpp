#include "platform/back_buffer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/platform.h"

namespace {

std::uint32_t* Pixels = nullptr;
std::ptrdiff_t PitchInPixels = 0;
int BufferWidth = 0;
int BufferHeight = 0;
int RedShift = 16;
int GreenShift = 8;
int BlueShift = 0;

std::uint32_t NativePixel(Colour colour) {
    return (colour & 0xFF) << RedShift | ((colour >> 8) & 0xFF) << GreenShift |
           ((colour >> 16) & 0xFF) << BlueShift;
}

std::uint32_t* Row(int y) {
    return Pixels + y * PitchInPixels;
}

}  // namespace

void AttachBackBuffer(void* pixels, int pitch, int width, int height) {
    Pixels = static_cast<std::uint32_t*>(pixels);
    PitchInPixels = pitch / 4;
    BufferWidth = width;
    BufferHeight = height;
}

void SetPixelLayout(int redShift, int greenShift, int blueShift) {
    RedShift = redShift;
    GreenShift = greenShift;
    BlueShift = blueShift;
}

void PutPixel(int x, int y, Colour colour) {
    Row(y)[x] = NativePixel(colour);
}

void FillBox(int x, int y, int width, int height, Colour colour) {
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + width, BufferWidth);
    const int bottom = std::min(y + height, BufferHeight);
    if (left >= right || top >= bottom) {
        return;
    }
    // The top row is filled once and copied down: copying a row that sits in
    // the cache runs at memset speed, a fill loop of 32-bit values does not.
    std::fill(Row(top) + left, Row(top) + right, NativePixel(colour));
    const std::size_t bytes = static_cast<std::size_t>(right - left) * 4;
    for (int row = top + 1; row < bottom; ++row) {
        std::memcpy(Row(row) + left, Row(top) + left, bytes);
    }
}

void CopyRow(int fromY, int toY, int width) {
    const int count = std::min(width, BufferWidth);
    if (count > 0 && fromY >= 0 && fromY < BufferHeight && toY >= 0 && toY < BufferHeight) {
        std::memcpy(Row(toY), Row(fromY), static_cast<std::size_t>(count) * 4);
    }
}
