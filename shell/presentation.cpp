#include "shell/presentation.h"

namespace lumvexor {

namespace {

constexpr std::uint32_t Black = 0x000000;
constexpr std::uint32_t White = 0xFFFFFF;

toolkit::Sprite filledSprite(int width, int height, std::uint32_t rgb)
{
    const toolkit::Sprite sprite = toolkit::createSprite(width, height);
    toolkit::fillSprite(sprite, rgb);
    return sprite;
}

} // namespace

Sprites createSprites()
{
    Sprites sprites;
    sprites.background = filledSprite(ScreenWidth, ScreenHeight, Black);
    sprites.smallSquare = filledSprite(4, 4, White);
    sprites.largeSquare = filledSprite(8, 8, White);
    sprites.splash = toolkit::createSpriteFromBmp(SplashPicture);
    return sprites;
}

void drawFrame(const Sprites& sprites, const FrameBuffer& frameBuffer, const HostValues& host)
{
    toolkit::flip();
    toolkit::clearScreen(Black);
    toolkit::drawSprite(sprites.background, 0, 0);
    if (host.bootMode == 1) {
        toolkit::drawSprite(sprites.splash, 0, 0);
    }
    const bool lowRes = frameBuffer.modeWidth == 256;
    const toolkit::Sprite square = lowRes ? sprites.largeSquare : sprites.smallSquare;
    const int scale = lowRes ? 8 : 4;
    for (std::int32_t x = 0; x < frameBuffer.columns; ++x) {
        for (std::int32_t y = 0; y < frameBuffer.rows; ++y) {
            if (pixelAt(frameBuffer, x, y) == PixelLit) {
                toolkit::drawSprite(square, x * scale, y * scale);
            }
        }
    }
}

} // namespace lumvexor
