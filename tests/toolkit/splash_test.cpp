// The committed start-up picture: its format, its grey backdrop and the keyboard picture
// in the lower-right corner, checked on coarse regions rather than exact pixels.
#include "toolkit/common/raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#ifndef LUMVEXOR_SPLASH_BMP
#error "LUMVEXOR_SPLASH_BMP must name the committed splash.bmp"
#endif

namespace {

using toolkit::raster::Image;

constexpr int Width = 512;
constexpr int Height = 280;

std::vector<std::uint8_t> splashBytes()
{
    std::ifstream in(LUMVEXOR_SPLASH_BMP, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const Image& splash()
{
    static const Image image = [] {
        const std::vector<std::uint8_t> bytes = splashBytes();
        return toolkit::raster::decodeBmp(bytes).value_or(Image{});
    }();
    return image;
}

int red(std::uint32_t rgb) { return static_cast<int>(rgb >> 16 & 0xFF); }
int green(std::uint32_t rgb) { return static_cast<int>(rgb >> 8 & 0xFF); }
int blue(std::uint32_t rgb) { return static_cast<int>(rgb & 0xFF); }

bool isGrey(std::uint32_t rgb)
{
    const int high = std::max({red(rgb), green(rgb), blue(rgb)});
    const int low = std::min({red(rgb), green(rgb), blue(rgb)});
    return high - low <= 6;
}

bool isBlueLabel(std::uint32_t rgb) { return blue(rgb) > red(rgb) + 60 && blue(rgb) > green(rgb) + 40; }
bool isRedLabel(std::uint32_t rgb) { return red(rgb) > green(rgb) + 60 && red(rgb) > blue(rgb) + 60; }
bool isKeyFace(std::uint32_t rgb) { return isGrey(rgb) && std::min({red(rgb), green(rgb), blue(rgb)}) >= 0xD0; }

struct Span {
    int first;
    int last; // inclusive
};

// The runs of columns in [left, right) x [top, bottom) holding at least one pixel that
// matches; runs closer than two columns apart count as one.
std::vector<Span> columnRuns(const Image& image, int left, int right, int top, int bottom,
                             const std::function<bool(std::uint32_t)>& matches)
{
    std::vector<Span> runs;
    for (int x = left; x < right; ++x) {
        bool hit = false;
        for (int y = top; y < bottom && !hit; ++y) {
            hit = matches(image.at(x, y));
        }
        if (!hit) {
            continue;
        }
        if (!runs.empty() && x - runs.back().last <= 2) {
            runs.back().last = x;
        } else {
            runs.push_back({x, x});
        }
    }
    return runs;
}

// The lower-right corner that holds the keyboard picture, with a little slack.
constexpr int KeyboardLeft = 345;
constexpr int KeyboardTop = 150;

// The runs of rows in [top, bottom) x [left, right) holding a matching pixel.
std::vector<Span> rowRuns(const Image& image, int left, int right, int top, int bottom,
                          const std::function<bool(std::uint32_t)>& matches)
{
    std::vector<Span> runs;
    for (int y = top; y < bottom; ++y) {
        bool hit = false;
        for (int x = left; x < right && !hit; ++x) {
            hit = matches(image.at(x, y));
        }
        if (!hit) {
            continue;
        }
        if (!runs.empty() && y - runs.back().last <= 2) {
            runs.back().last = y;
        } else {
            runs.push_back({y, y});
        }
    }
    return runs;
}

TEST(Splash, IsAnUncompressedBottomUp24BitBmpOf512By280)
{
    const std::vector<std::uint8_t> bytes = splashBytes();
    ASSERT_GE(bytes.size(), 54u);
    const auto field = [&](std::size_t offset, int size) {
        std::uint32_t value = 0;
        for (int k = size - 1; k >= 0; --k) {
            value = value << 8 | bytes[offset + static_cast<std::size_t>(k)];
        }
        return value;
    };
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(field(18, 4), static_cast<std::uint32_t>(Width));
    EXPECT_EQ(static_cast<std::int32_t>(field(22, 4)), Height) << "a positive height: rows stored bottom-up";
    EXPECT_EQ(field(28, 2), 24u);
    EXPECT_EQ(field(30, 4), 0u);
    EXPECT_EQ(bytes.size(), field(10, 4) + static_cast<std::size_t>(Width) * 3 * Height);

    EXPECT_EQ(splash().width, Width);
    EXPECT_EQ(splash().height, Height);
}

TEST(Splash, BackdropIsAMidToDarkGreyWhereOnlyWalkersPaint)
{
    const Image& image = splash();
    ASSERT_EQ(image.width, Width);
    // Left of the keyboard, below the title band and above the bottom strip, and the top
    // rows left of the branding: nothing but backdrop lies there.
    struct Area {
        int left, top, right, bottom;
    };
    for (const Area area : {Area{0, 88, 336, 256}, Area{0, 0, 330, 32}}) {
        for (int y = area.top; y < area.bottom; y += 8) {
            for (int x = area.left; x < area.right; x += 8) {
                const std::uint32_t rgb = image.at(x, y);
                ASSERT_TRUE(isGrey(rgb)) << "at (" << x << ", " << y << "): " << std::hex << rgb;
                ASSERT_GE(green(rgb), 0x20) << "at (" << x << ", " << y << "): white squares need a backdrop, not black";
                ASSERT_LE(green(rgb), 0xA0) << "at (" << x << ", " << y << "): white squares must stand out";
            }
        }
    }
}

TEST(Splash, BrandingAndWebAddressStandOutFromTheBackdrop)
{
    const Image& image = splash();
    ASSERT_EQ(image.width, Width);
    struct Area {
        const char* what;
        int left, top, right, bottom;
    };
    // The band right of the boot title, and the lower-left corner below the pixel area.
    for (const Area area : {Area{"branding", 330, 32, Width, 88}, Area{"web address", 0, 256, 200, Height}}) {
        int bright = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                bright += std::min({red(image.at(x, y)), green(image.at(x, y)), blue(image.at(x, y))}) >= 0x90;
            }
        }
        EXPECT_GE(bright, 40) << area.what;
    }
}

TEST(Splash, KeyboardShowsFourStaggeredRowsOfKeysWithBlueValuesAndOneRedKey)
{
    const Image& image = splash();
    ASSERT_EQ(image.width, Width);
    const std::vector<Span> rows = rowRuns(image, KeyboardLeft, Width, KeyboardTop, Height, isKeyFace);
    ASSERT_EQ(rows.size(), 4u);
    const std::size_t keysPerRow[4] = {5, 4, 4, 4};
    int previousLeft = -1;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        SCOPED_TRACE(testing::Message() << "key row " << row);
        const int top = rows[row].first;
        const int bottom = rows[row].last + 1;
        const std::vector<Span> keys = columnRuns(image, KeyboardLeft, Width, top, bottom, isKeyFace);
        ASSERT_EQ(keys.size(), keysPerRow[row]);
        EXPECT_GT(keys.front().first, previousLeft) << "each row starts further right, as on a keyboard";
        previousLeft = keys.front().first;

        // A blue value on every key, except the top row's last, which is red.
        const std::vector<Span> blues = columnRuns(image, KeyboardLeft, Width, top, bottom, isBlueLabel);
        ASSERT_EQ(blues.size(), 4u);
        for (std::size_t k = 0; k < blues.size(); ++k) {
            EXPECT_GE(blues[k].first, keys[k].first) << "blue value " << k;
            EXPECT_LE(blues[k].last, keys[k].last) << "blue value " << k;
        }
        const std::vector<Span> reds = columnRuns(image, KeyboardLeft, Width, top, bottom, isRedLabel);
        if (row == 0) {
            ASSERT_EQ(reds.size(), 1u);
            EXPECT_GE(reds[0].first, keys.back().first);
            EXPECT_LE(reds[0].last, keys.back().last);
        } else {
            EXPECT_TRUE(reds.empty());
        }
    }
}

} // namespace
