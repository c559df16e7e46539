// The picture: modes, the wrapping XOR, storage order and the four scrolls.
#include <gtest/gtest.h>

#include <vector>

#include "core/frame_buffer.h"

namespace lumvexor {
namespace {

using Picture = std::vector<std::vector<bool>>; // [y][x], lit

Picture picture(const FrameBuffer& fb)
{
    Picture p(static_cast<std::size_t>(fb.rows), std::vector<bool>(static_cast<std::size_t>(fb.columns)));
    for (std::int32_t y = 0; y < fb.rows; ++y) {
        for (std::int32_t x = 0; x < fb.columns; ++x) {
            p[y][x] = pixelAt(fb, x, y) == PixelLit;
        }
    }
    return p;
}

// A picture where pixel (x, y) is lit when (x * 3 + y * 5) % 7 < 3: no row or
// column repeats its neighbour, so every shift shows.
FrameBuffer patterned(DisplayMode mode)
{
    FrameBuffer fb;
    setDisplayMode(fb, mode);
    for (std::int32_t x = 0; x < fb.columns; ++x) {
        for (std::int32_t y = 0; y < fb.rows; ++y) {
            if ((x * 3 + y * 5) % 7 < 3) {
                xorPixel(fb, x, y);
            }
        }
    }
    return fb;
}

bool onlyDarkOrLit(const FrameBuffer& fb)
{
    for (std::int32_t value : fb.pixels) {
        if (value != PixelDark && value != PixelLit) {
            return false;
        }
    }
    return true;
}

TEST(FrameBuffer, StartsInHighResDark)
{
    const FrameBuffer fb;
    EXPECT_EQ(fb.columns, 128);
    EXPECT_EQ(fb.rows, 64);
    EXPECT_EQ(fb.modeWidth, 512);
    EXPECT_EQ(fb.modeHeight, 280);
    EXPECT_EQ(picture(fb), Picture(64, std::vector<bool>(128)));
}

TEST(FrameBuffer, ModesSetTheirSizesAndAlwaysClear)
{
    struct Mode {
        DisplayMode mode;
        std::int32_t columns, rows, modeWidth, modeHeight;
    };
    for (const Mode& m : {Mode{DisplayMode::LowRes, 64, 32, 256, 150},
                          Mode{DisplayMode::HighRes, 128, 64, 512, 280}}) {
        for (DisplayMode from : {DisplayMode::LowRes, DisplayMode::HighRes}) {
            FrameBuffer fb = patterned(from);
            setDisplayMode(fb, m.mode);
            EXPECT_EQ(fb.columns, m.columns);
            EXPECT_EQ(fb.rows, m.rows);
            EXPECT_EQ(fb.modeWidth, m.modeWidth);
            EXPECT_EQ(fb.modeHeight, m.modeHeight);
            EXPECT_EQ(picture(fb), Picture(m.rows, std::vector<bool>(m.columns)));
        }
    }
}

TEST(FrameBuffer, ClearKeepsTheMode)
{
    FrameBuffer fb = patterned(DisplayMode::HighRes);
    clearFrameBuffer(fb);
    EXPECT_EQ(fb.columns, 128);
    EXPECT_EQ(fb.rows, 64);
    EXPECT_EQ(picture(fb), Picture(64, std::vector<bool>(128)));
}

TEST(FrameBuffer, XorPixelWrapsAsAFullRemainder)
{
    struct Case {
        DisplayMode mode;
        std::int32_t x, y, column, row;
    };
    const Case cases[] = {
        {DisplayMode::LowRes, 70, 40, 6, 8},     {DisplayMode::LowRes, 262, 0, 6, 0},
        {DisplayMode::LowRes, 63, 31, 63, 31},   {DisplayMode::LowRes, 270, 95, 14, 31},
        {DisplayMode::HighRes, 130, 64, 2, 0},   {DisplayMode::HighRes, 127, 63, 127, 63},
        {DisplayMode::HighRes, 255, 200, 127, 8},
    };
    for (const Case& c : cases) {
        FrameBuffer fb;
        setDisplayMode(fb, c.mode);
        EXPECT_FALSE(xorPixel(fb, c.x, c.y));
        Picture expected(static_cast<std::size_t>(fb.rows), std::vector<bool>(static_cast<std::size_t>(fb.columns)));
        expected[c.row][c.column] = true;
        EXPECT_EQ(picture(fb), expected) << "(" << c.x << ", " << c.y << ")";
        // Column by column: element (x, y) is at x * rows + y.
        EXPECT_EQ(fb.pixels[static_cast<std::size_t>(c.column * fb.rows + c.row)], PixelLit);
        EXPECT_TRUE(xorPixel(fb, c.x, c.y));
        EXPECT_EQ(picture(fb), Picture(fb.rows, std::vector<bool>(fb.columns)));
    }
}

TEST(FrameBuffer, VerticalScrollsMoveRowsAndDarkenWhatTheyVacate)
{
    struct Case {
        const char* name;
        DisplayMode mode;
        void (*scroll)(FrameBuffer&, std::int32_t);
        std::int32_t n;
        std::int32_t shift; // a row y of the result holds the former row y - shift
    };
    const Case cases[] = {
        {"up 1, HighRes", DisplayMode::HighRes, scrollUp, 1, -1},
        {"up 15, LowRes", DisplayMode::LowRes, scrollUp, 15, -15},
        {"down 15, LowRes", DisplayMode::LowRes, scrollDown, 15, 15},
        {"down 3, HighRes", DisplayMode::HighRes, scrollDown, 3, 3},
        {"up 0", DisplayMode::LowRes, scrollUp, 0, 0},
        {"down 0", DisplayMode::HighRes, scrollDown, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameBuffer fb = patterned(c.mode);
        const Picture before = picture(fb);
        c.scroll(fb, c.n);
        const Picture after = picture(fb);
        for (std::int32_t y = 0; y < fb.rows; ++y) {
            const std::int32_t from = y - c.shift;
            const std::vector<bool> expected =
                from >= 0 && from < fb.rows ? before[from] : std::vector<bool>(fb.columns);
            EXPECT_EQ(after[y], expected) << "row " << y;
        }
        EXPECT_TRUE(onlyDarkOrLit(fb));
    }
}

TEST(FrameBuffer, HorizontalScrollsMoveFourColumns)
{
    for (DisplayMode mode : {DisplayMode::LowRes, DisplayMode::HighRes}) {
        FrameBuffer fb = patterned(mode);
        const Picture before = picture(fb);
        const std::int32_t columns = fb.columns;

        scrollRight(fb);
        const Picture right = picture(fb);
        scrollLeft(fb);
        const Picture back = picture(fb);

        for (std::int32_t y = 0; y < fb.rows; ++y) {
            for (std::int32_t x = 0; x < columns; ++x) {
                EXPECT_EQ(right[y][x], x >= 4 && before[y][x - 4]) << x << ", " << y;
                EXPECT_EQ(back[y][x], x < columns - 4 && before[y][x]) << x << ", " << y;
            }
        }
    }
}

} // namespace
} // namespace lumvexor
