#include "core/frame_buffer.h"

#include <algorithm>

namespace lumvexor {

namespace {

constexpr std::int32_t HorizontalScroll = 4;

std::int32_t* column(FrameBuffer& frameBuffer, std::int32_t x)
{
    return frameBuffer.pixels.data() + x * frameBuffer.rows;
}

// A full remainder that also folds negative values into 0 .. size - 1.
std::int32_t wrap(std::int32_t value, std::int32_t size)
{
    const std::int32_t remainder = value % size;
    return remainder < 0 ? remainder + size : remainder;
}

} // namespace

void setDisplayMode(FrameBuffer& frameBuffer, DisplayMode mode)
{
    const bool high = mode == DisplayMode::HighRes;
    frameBuffer.modeWidth = high ? 512 : 256;
    frameBuffer.modeHeight = high ? 280 : 150;
    frameBuffer.columns = high ? 128 : 64;
    frameBuffer.rows = high ? 64 : 32;
    clearFrameBuffer(frameBuffer);
}

void clearFrameBuffer(FrameBuffer& frameBuffer)
{
    frameBuffer.pixels.fill(PixelDark);
}

bool xorPixel(FrameBuffer& frameBuffer, std::int32_t x, std::int32_t y)
{
    const std::int32_t column = wrap(x, frameBuffer.columns);
    const std::int32_t row = wrap(y, frameBuffer.rows);
    std::int32_t& pixel = frameBuffer.pixels[column * frameBuffer.rows + row];
    const bool collision = pixel == PixelLit;
    pixel = collision ? PixelDark : PixelLit;
    return collision;
}

std::int32_t pixelAt(const FrameBuffer& frameBuffer, std::int32_t x, std::int32_t y)
{
    if (x < 0 || x >= frameBuffer.columns || y < 0 || y >= frameBuffer.rows) {
        return PixelDark;
    }
    return frameBuffer.pixels[x * frameBuffer.rows + y];
}

void scrollUp(FrameBuffer& frameBuffer, std::int32_t n)
{
    if (n <= 0) {
        return;
    }
    const std::int32_t rows = frameBuffer.rows;
    const std::int32_t kept = std::max(rows - n, 0);
    for (std::int32_t x = 0; x < frameBuffer.columns; ++x) {
        std::int32_t* pixels = column(frameBuffer, x);
        std::copy(pixels + (rows - kept), pixels + rows, pixels);
        std::fill(pixels + kept, pixels + rows, PixelDark);
    }
}

void scrollDown(FrameBuffer& frameBuffer, std::int32_t n)
{
    if (n <= 0) {
        return;
    }
    const std::int32_t rows = frameBuffer.rows;
    const std::int32_t kept = std::max(rows - n, 0);
    for (std::int32_t x = 0; x < frameBuffer.columns; ++x) {
        std::int32_t* pixels = column(frameBuffer, x);
        std::copy_backward(pixels, pixels + kept, pixels + rows);
        std::fill(pixels, pixels + (rows - kept), PixelDark);
    }
}

void scrollRight(FrameBuffer& frameBuffer)
{
    const std::int32_t rows = frameBuffer.rows;
    const std::int32_t kept = frameBuffer.columns - HorizontalScroll;
    std::int32_t* pixels = column(frameBuffer, 0);
    std::copy_backward(pixels, pixels + kept * rows, pixels + frameBuffer.columns * rows);
    std::fill(pixels, pixels + HorizontalScroll * rows, PixelDark);
}

void scrollLeft(FrameBuffer& frameBuffer)
{
    const std::int32_t rows = frameBuffer.rows;
    const std::int32_t kept = frameBuffer.columns - HorizontalScroll;
    std::int32_t* pixels = column(frameBuffer, 0);
    std::copy(pixels + HorizontalScroll * rows, pixels + frameBuffer.columns * rows, pixels);
    std::fill(pixels + kept * rows, pixels + frameBuffer.columns * rows, PixelDark);
}

} // namespace lumvexor
