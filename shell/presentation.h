#pragma once

#include <array>
#include <cstdint>

#include "core/frame_buffer.h"
#include "core/host_values.h"
#include "toolkit/toolkit.h"

namespace lumvexor {

// The drawing screen: the size of the 128 x 64 mode's picture, whatever the mode.
inline constexpr int ScreenWidth = 512;
inline constexpr int ScreenHeight = 280;

// The splash picture behind the built-in program: 512 x 280, 24-bit BMP.
inline constexpr std::size_t SplashPictureSize = 54 + ScreenWidth * ScreenHeight * 3;
extern const std::array<std::uint8_t, SplashPictureSize> SplashPicture;

struct Sprites {
    toolkit::Sprite background = -1;  // 512 x 280 black
    toolkit::Sprite smallSquare = -1; // 4 x 4 white, a lit pixel of the 128 x 64 mode
    toolkit::Sprite largeSquare = -1; // 8 x 8 white, a lit pixel of the 64 x 32 mode
    toolkit::Sprite splash = -1;
};

// Made once at start-up, in this order.
Sprites createSprites();

// One frame: the flip presents what the previous frame drew, then the new one is
// drawn on the hidden buffer: black, the splash while the built-in program is
// loaded, and a white square for every lit pixel. Both modes cover 512 x 256.
void drawFrame(const Sprites& sprites, const FrameBuffer& frameBuffer, const HostValues& host);

} // namespace lumvexor
