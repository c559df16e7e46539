// The drawing screen: what a flip presents, and how it is stretched over the window.
#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <cstdint>
#include <string>
#include <vector>

#include "qt_test_support.h"
#include "toolkit/qt/qt_inspect.h"
#include "toolkit/toolkit.h"

namespace {

using qt_test::ClientHeight;
using qt_test::ClientWidth;
using qt_test::QtToolkitTest;
namespace inspect = toolkit::qt_inspect;

// A different colour at nearly every pixel, so that any shift, blur or wrong scale shows.
std::uint32_t patternAt(int x, int y)
{
    std::uint32_t value = static_cast<std::uint32_t>(x) * 2654435761u ^ static_cast<std::uint32_t>(y) * 40503u;
    value ^= value >> 13;
    return (value * 2246822519u) & 0xFFFFFFu;
}

void put16(std::vector<std::uint8_t>& bytes, int value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& bytes, int value)
{
    put16(bytes, value & 0xFFFF);
    put16(bytes, (value >> 16) & 0xFFFF);
}

// The pattern as an uncompressed 24-bit BMP image, rows bottom-up.
std::vector<std::uint8_t> patternBmp(int width, int height)
{
    const int rowSize = (width * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> bmp = {'B', 'M'};
    put32(bmp, 54 + rowSize * height);
    put32(bmp, 0);
    put32(bmp, 54);
    put32(bmp, 40);
    put32(bmp, width);
    put32(bmp, height);
    put16(bmp, 1);
    put16(bmp, 24);
    for (int field = 0; field < 6; ++field) {
        put32(bmp, 0);
    }
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = patternAt(x, y);
            bmp.insert(bmp.end(), {static_cast<std::uint8_t>(rgb), static_cast<std::uint8_t>(rgb >> 8),
                                   static_cast<std::uint8_t>(rgb >> 16)});
        }
        bmp.resize(bmp.size() + static_cast<std::size_t>(rowSize - width * 3));
    }
    return bmp;
}

void drawPattern()
{
    const toolkit::Sprite picture = toolkit::createSpriteFromBmp(patternBmp(ClientWidth, ClientHeight));
    toolkit::drawSprite(picture, 0, 0);
}

QImage shown()
{
    return inspect::screenWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Counts the pixels of the shown picture that are not the frame's pixel that nearest-
// neighbour scaling puts there, each axis by itself.
int pixelsOffThePattern(const QImage& picture)
{
    int wrong = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint32_t expected =
                patternAt(x * ClientWidth / picture.width(), y * ClientHeight / picture.height());
            wrong += (picture.pixel(x, y) & 0xFFFFFFu) != expected;
        }
    }
    return wrong;
}

int pixelsNotOf(const QImage& picture, std::uint32_t rgb)
{
    int wrong = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            wrong += (picture.pixel(x, y) & 0xFFFFFFu) != rgb;
        }
    }
    return wrong;
}

TEST_F(QtToolkitTest, ScreenIsBlackBeforeTheFirstFlip)
{
    drawPattern();

    EXPECT_EQ(inspect::frontImage().size(), QSize(ClientWidth, ClientHeight));
    const QImage picture = shown();
    EXPECT_EQ(picture.size(), QSize(ClientWidth, ClientHeight));
    EXPECT_EQ(pixelsNotOf(picture, 0x000000), 0);
}

TEST_F(QtToolkitTest, FlipShowsWhatWasDrawnBeforeIt)
{
    drawPattern();
    toolkit::flip();
    toolkit::clearScreen(0xFFFFFF); // the next frame, not shown yet

    EXPECT_EQ(pixelsOffThePattern(shown()), 0);
    toolkit::flip();
    EXPECT_EQ(pixelsNotOf(shown(), 0xFFFFFF), 0);
}

class StretchedScreen : public QtToolkitTest, public ::testing::WithParamInterface<QSize> {};

TEST_P(StretchedScreen, EachAxisIsScaledByItselfWithSharpPixels)
{
    drawPattern();
    toolkit::flip();
    QMainWindow& window = *inspect::mainWindow();
    window.resize(window.size() + GetParam() - QSize(ClientWidth, ClientHeight));
    toolkit::pollEvent();
    ASSERT_EQ(inspect::screenWidget()->size(), GetParam());

    const QImage picture = shown();
    ASSERT_EQ(picture.size(), GetParam());
    EXPECT_EQ(pixelsOffThePattern(picture), 0);
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, StretchedScreen,
                         ::testing::Values(QSize(2 * ClientWidth, ClientHeight), QSize(ClientWidth, 3 * ClientHeight),
                                           QSize(3 * ClientWidth, 2 * ClientHeight)),
                         [](const ::testing::TestParamInfo<QSize>& info) {
                             return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height());
                         });

} // namespace
