// The sprite and hidden-buffer half of the drawing screen, the same in both toolkits.
#include "toolkit/common/drawing.h"

#include <vector>

#include "toolkit/toolkit.h"

namespace toolkit {

namespace {

struct Drawing {
    raster::Image hidden;
    std::vector<raster::Image> sprites;
};

Drawing& drawingState()
{
    static Drawing instance;
    return instance;
}

raster::Image* spriteImage(Sprite sprite)
{
    std::vector<raster::Image>& sprites = drawingState().sprites;
    if (sprite < 0 || static_cast<std::size_t>(sprite) >= sprites.size()) {
        return nullptr;
    }
    return &sprites[static_cast<std::size_t>(sprite)];
}

Sprite addSprite(raster::Image image)
{
    drawingState().sprites.push_back(std::move(image));
    return static_cast<Sprite>(drawingState().sprites.size() - 1);
}

} // namespace

namespace drawing {

void resizeHiddenBuffer(int width, int height)
{
    drawingState().hidden = raster::makeImage(width, height);
}

const raster::Image& hiddenBuffer()
{
    return drawingState().hidden;
}

void releaseAll()
{
    drawingState() = Drawing{};
}

} // namespace drawing

void clearScreen(std::uint32_t rgb)
{
    raster::fill(drawingState().hidden, rgb);
}

Sprite createSprite(int width, int height)
{
    return addSprite(raster::makeImage(width, height));
}

void fillSprite(Sprite sprite, std::uint32_t rgb)
{
    if (raster::Image* image = spriteImage(sprite)) {
        raster::fill(*image, rgb);
    }
}

Sprite createSpriteFromBmp(std::span<const std::uint8_t> bmp)
{
    std::optional<raster::Image> image = raster::decodeBmp(bmp);
    return image ? addSprite(std::move(*image)) : -1;
}

void drawSprite(Sprite sprite, int x, int y)
{
    if (const raster::Image* image = spriteImage(sprite)) {
        raster::blit(drawingState().hidden, *image, x, y);
    }
}

} // namespace toolkit
