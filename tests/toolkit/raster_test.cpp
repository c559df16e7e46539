// Pictures shared by both toolkits: clipped opaque blits and reading BMP images.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "toolkit/common/raster.h"

namespace toolkit::raster {
namespace {

// A 24-bit BMP of the picture; rows bottom-up unless topDown.
std::vector<std::uint8_t> bmp(const Image& image, bool topDown)
{
    const int stride = (image.width * 3 + 3) / 4 * 4;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(stride * image.height);
    std::vector<std::uint8_t> out = {'B', 'M'};
    const auto put = [&out](std::uint32_t value, int bytes) {
        for (int k = 0; k < bytes; ++k) out.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
    };
    put(54 + dataSize, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(static_cast<std::uint32_t>(image.width), 4);
    put(static_cast<std::uint32_t>(topDown ? -image.height : image.height), 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(dataSize, 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (int stored = 0; stored < image.height; ++stored) {
        const int y = topDown ? stored : image.height - 1 - stored;
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t rgb = image.at(x, y);
            out.push_back(static_cast<std::uint8_t>(rgb));
            out.push_back(static_cast<std::uint8_t>(rgb >> 8));
            out.push_back(static_cast<std::uint8_t>(rgb >> 16));
        }
        for (int pad = image.width * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

Image gradient(int width, int height)
{
    Image image = makeImage(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.pixels[static_cast<std::size_t>(y * width + x)] =
                static_cast<std::uint32_t>(x * 40) << 16 | static_cast<std::uint32_t>(y * 50) << 8 | 0x0F;
        }
    }
    return image;
}

TEST(Raster, DecodesBottomUpAndTopDownRowsWithPadding)
{
    const Image image = gradient(5, 3); // 15 bytes a row, padded to 16
    for (bool topDown : {false, true}) {
        const std::optional<Image> decoded = decodeBmp(bmp(image, topDown));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->width, 5);
        EXPECT_EQ(decoded->height, 3);
        EXPECT_EQ(decoded->pixels, image.pixels) << (topDown ? "top-down" : "bottom-up");
    }
}

TEST(Raster, RefusesWhatIsNoUncompressed24BitImage)
{
    const std::vector<std::uint8_t> good = bmp(gradient(4, 4), false);
    const auto changed = [&good](std::size_t offset, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = good;
        bytes[offset] = value;
        return bytes;
    };
    const std::vector<std::vector<std::uint8_t>> bad = {
        {},
        std::vector<std::uint8_t>(good.begin(), good.begin() + 53), // header cut short
        std::vector<std::uint8_t>(good.begin(), good.end() - 1),   // pixels cut short
        changed(0, 'X'),                                           // no "BM"
        changed(28, 32),                                           // 32 bits per pixel
        changed(30, 1),                                            // compressed
        changed(18, 0),                                            // width 0
        changed(10, 0xFF),                                         // data beyond the end
        changed(21, 0x80),                                         // negative width
    };
    for (std::size_t k = 0; k < bad.size(); ++k) {
        EXPECT_FALSE(decodeBmp(bad[k])) << "case " << k;
    }
}

TEST(Raster, BlitIsOpaqueAndClippedOnEveryEdge)
{
    const Image source = gradient(4, 3);
    struct Case {
        int x, y;
    };
    for (const Case& c : {Case{0, 0}, Case{2, 1}, Case{-2, -1}, Case{8, 6}, Case{-3, 5}, Case{20, 20}, Case{-9, 0}}) {
        Image target = makeImage(10, 7, 0x123456);
        blit(target, source, c.x, c.y);
        for (int y = 0; y < target.height; ++y) {
            for (int x = 0; x < target.width; ++x) {
                const int sx = x - c.x;
                const int sy = y - c.y;
                const bool covered = sx >= 0 && sx < source.width && sy >= 0 && sy < source.height;
                EXPECT_EQ(target.at(x, y), covered ? source.at(sx, sy) : 0x123456u)
                    << "blit at " << c.x << ", " << c.y << ": pixel " << x << ", " << y;
            }
        }
    }
}

} // namespace
} // namespace toolkit::raster
