#pragma once

// Plain pixel pictures, shared by both toolkits: the hidden buffer of the drawing
// screen and the sprites are such pictures, so a frame looks the same everywhere.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace toolkit::raster {

// Pixels row by row from the top, each 0xRRGGBB.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

Image makeImage(int width, int height, std::uint32_t rgb = 0);
void fill(Image& image, std::uint32_t rgb);
// Copies source opaquely with its top-left corner at (x, y), clipped to target.
void blit(Image& target, const Image& source, int x, int y);
// An uncompressed 24-bit BMP, rows stored bottom-up or top-down; nothing when the
// bytes are no such image.
std::optional<Image> decodeBmp(std::span<const std::uint8_t> bmp);

} // namespace toolkit::raster
