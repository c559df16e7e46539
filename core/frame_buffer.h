#pragma once

#include <array>
#include <cstdint>

namespace lumvexor {

enum class DisplayMode { LowRes, HighRes };

inline constexpr std::int32_t PixelDark = 0;
inline constexpr std::int32_t PixelLit = 0xFFFFFF;

// The machine's picture. The four size numbers are the display mode. Pixels are
// stored column by column: element (x, y) is at x * rows + y. The array is sized
// for the larger mode, so no mode ever needs more than it holds.
struct FrameBuffer {
    static constexpr std::int32_t MaxColumns = 128;
    static constexpr std::int32_t MaxRows = 64;

    std::array<std::int32_t, MaxColumns * MaxRows> pixels{};
    std::int32_t columns = 128;
    std::int32_t rows = 64;
    std::int32_t modeWidth = 512;
    std::int32_t modeHeight = 280;
};

// Selects the mode's sizes and clears the picture, even when the mode does not change.
void setDisplayMode(FrameBuffer& frameBuffer, DisplayMode mode);
// Every pixel of the current size dark; the mode stays.
void clearFrameBuffer(FrameBuffer& frameBuffer);
// Wraps (x, y) into the picture and toggles that pixel; true when a lit pixel went dark.
bool xorPixel(FrameBuffer& frameBuffer, std::int32_t x, std::int32_t y);
// The value of pixel (x, y): PixelDark or PixelLit; PixelDark outside the picture.
std::int32_t pixelAt(const FrameBuffer& frameBuffer, std::int32_t x, std::int32_t y);

// The scrolls drop what is pushed over the edge and darken what they vacate;
// nothing wraps around. A distance of 0 leaves the picture as it is.
void scrollUp(FrameBuffer& frameBuffer, std::int32_t n);
void scrollDown(FrameBuffer& frameBuffer, std::int32_t n);
void scrollRight(FrameBuffer& frameBuffer); // by 4 columns
void scrollLeft(FrameBuffer& frameBuffer);  // by 4 columns

} // namespace lumvexor
