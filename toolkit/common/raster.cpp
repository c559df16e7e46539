#include "toolkit/common/raster.h"

#include <algorithm>

namespace toolkit::raster {

namespace {

std::uint32_t littleEndian(std::span<const std::uint8_t> bytes, std::size_t offset, int size)
{
    std::uint32_t value = 0;
    for (int k = size - 1; k >= 0; --k) {
        value = value << 8 | bytes[offset + static_cast<std::size_t>(k)];
    }
    return value;
}

} // namespace

Image makeImage(int width, int height, std::uint32_t rgb)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    return Image{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, rgb)};
}

void fill(Image& image, std::uint32_t rgb)
{
    std::fill(image.pixels.begin(), image.pixels.end(), rgb);
}

void blit(Image& target, const Image& source, int x, int y)
{
    const int left = std::max(x, 0);
    const int right = std::min(x + source.width, target.width);
    const int top = std::max(y, 0);
    const int bottom = std::min(y + source.height, target.height);
    if (left >= right) {
        return;
    }
    for (int row = top; row < bottom; ++row) {
        const auto from = source.pixels.begin() + ((row - y) * source.width + (left - x));
        std::copy(from, from + (right - left), target.pixels.begin() + (row * target.width + left));
    }
}

std::optional<Image> decodeBmp(std::span<const std::uint8_t> bmp)
{
    constexpr std::size_t HeaderSize = 14 + 40;
    if (bmp.size() < HeaderSize || bmp[0] != 'B' || bmp[1] != 'M') {
        return std::nullopt;
    }
    const std::uint32_t dataOffset = littleEndian(bmp, 10, 4);
    const auto width = static_cast<std::int32_t>(littleEndian(bmp, 18, 4));
    const auto signedHeight = static_cast<std::int32_t>(littleEndian(bmp, 22, 4));
    const std::uint32_t bitsPerPixel = littleEndian(bmp, 28, 2);
    const std::uint32_t compression = littleEndian(bmp, 30, 4);
    const bool bottomUp = signedHeight > 0;
    const std::int64_t height = bottomUp ? signedHeight : -static_cast<std::int64_t>(signedHeight);
    if (bitsPerPixel != 24 || compression != 0 || width <= 0 || height <= 0 || width > 16384 ||
        height > 16384) {
        return std::nullopt;
    }
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    if (dataOffset > bmp.size() || (bmp.size() - dataOffset) / stride < static_cast<std::size_t>(height)) {
        return std::nullopt;
    }
    Image image = makeImage(width, static_cast<int>(height));
    for (int row = 0; row < image.height; ++row) {
        const std::size_t stored = bottomUp ? static_cast<std::size_t>(image.height - 1 - row) : static_cast<std::size_t>(row);
        const std::uint8_t* bgr = bmp.data() + dataOffset + stored * stride;
        for (int x = 0; x < width; ++x, bgr += 3) {
            image.pixels[static_cast<std::size_t>(row * width + x)] =
                static_cast<std::uint32_t>(bgr[2]) << 16 | static_cast<std::uint32_t>(bgr[1]) << 8 | bgr[0];
        }
    }
    return image;
}

} // namespace toolkit::raster
