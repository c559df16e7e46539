// Start-up: the window, its menu bar, the splash picture, the built-in program's
// title and its walkers' trails.
#include <gtest/gtest.h>

#include "tests/e2e/emulator.h"
#include "tests/e2e/picture.h"

namespace e2e {
namespace {

constexpr int Square = 4;                 // the built-in program draws at 128 x 64
constexpr int BandTop = 8, BandBottom = 21; // the title's band, machine rows

enum class Look { Splash, White, Other };

// A 4 x 4 square of the screen: the splash picture as it is, or white, or neither.
Look look(const QImage& area, const QImage& splash, int cx, int cy)
{
    bool splashSeen = true;
    bool white = true;
    for (int y = cy * Square; y < (cy + 1) * Square; ++y) {
        for (int x = cx * Square; x < (cx + 1) * Square; ++x) {
            splashSeen = splashSeen && (area.pixel(x, y) & 0xFFFFFF) == (splash.pixel(x, y) & 0xFFFFFF);
            white = white && isWhite(area.pixel(x, y));
        }
    }
    return splashSeen ? Look::Splash : white ? Look::White : Look::Other;
}

bool splashIsWhite(const QImage& splash, int cx, int cy)
{
    for (int y = cy * Square; y < (cy + 1) * Square; ++y) {
        for (int x = cx * Square; x < (cx + 1) * Square; ++x) {
            if (!isWhite(splash.pixel(x, y))) {
                return false;
            }
        }
    }
    return true;
}

// Where the screen's title band differs from the machine's title over the splash.
std::string titleBandDifference(const QImage& area, const QImage& splash, const Cells& title)
{
    for (int cy = BandTop; cy <= BandBottom; ++cy) {
        for (int cx = 0; cx < title.columns; ++cx) {
            const Look seen = look(area, splash, cx, cy);
            const bool lit = title.at(cx, cy);
            const bool right = lit ? seen == Look::White || (seen == Look::Splash && splashIsWhite(splash, cx, cy))
                                   : seen == Look::Splash;
            if (!right) {
                return "machine pixel (" + std::to_string(cx) + ", " + std::to_string(cy) + ") should be " +
                       (lit ? "a white square" : "the splash picture") + " at screen (" +
                       std::to_string(cx * Square) + ", " + std::to_string(cy * Square) + ")";
            }
        }
    }
    return {};
}

struct Outside {
    int trails = 0;   // white squares over a splash that is not white there
    std::string odd;  // the first square that is neither splash nor white
};

Outside outsideBand(const QImage& area, const QImage& splash)
{
    Outside result;
    for (int cy = 0; cy < PixelArea / Square; ++cy) {
        if (cy >= BandTop && cy <= BandBottom) {
            continue;
        }
        for (int cx = 0; cx < DrawingWidth / Square; ++cx) {
            const Look seen = look(area, splash, cx, cy);
            if (seen == Look::White) {
                ++result.trails;
            } else if (seen == Look::Other && result.odd.empty()) {
                result.odd = "screen square at (" + std::to_string(cx * Square) + ", " +
                             std::to_string(cy * Square) + ") is neither the splash picture nor white";
            }
        }
    }
    return result;
}

int stripDifference(const QImage& area, const QImage& splash)
{
    int n = 0;
    for (int y = PixelArea; y < DrawingHeight; ++y) {
        for (int x = 0; x < DrawingWidth; ++x) {
            n += (area.pixel(x, y) & 0xFFFFFF) != (splash.pixel(x, y) & 0xFFFFFF) ? 1 : 0;
        }
    }
    return n;
}

class StartUp : public Scenario {};

TEST_F(StartUp, ShowsWindowMenuBarSplashTitleAndGrowingTrails)
{
    const QImage splash = splashPicture();
    ASSERT_EQ(splash.size(), QSize(DrawingWidth, DrawingHeight)) << "the committed splash picture";
    Cells title = cellsOf(machinePictureAtStartUp(3000));
    ASSERT_GT(title.count(), 0);

    Emulator& emulator = startEmulator();
    ASSERT_TRUE(emulator.waitForMainWindow(Seconds(8)))
        << "no window titled \"" << MainWindowTitle << "\" within 8 s";

    const auto where = emulator.geometry();
    ASSERT_TRUE(where);
    EXPECT_EQ(where->width, DrawingWidth);
    const int menuBar = where->height - DrawingHeight;
    EXPECT_GE(menuBar, 10) << "client area " << where->width << " x " << where->height;
    EXPECT_LE(menuBar, 60) << "client area " << where->width << " x " << where->height;
    EXPECT_NEAR(where->x + where->width / 2.0, Desktop::Width / 2.0, 40) << "the window is centred";
    EXPECT_NEAR(where->y + where->height / 2.0, Desktop::Height / 2.0, 40) << "the window is centred";
    EXPECT_EQ(emulator.menuTitles().size(), 3u) << "File, Game and Help in the menu bar";

    std::string why;
    const QImage first = emulator.screenshotUntil("title", Seconds(5), [&](const QImage& shot) {
        why = titleBandDifference(drawingArea(shot), splash, title);
        return why.empty();
    });
    ASSERT_TRUE(why.empty()) << "the title over the splash picture in screen rows 32 .. 87: " << why;
    const QImage area = drawingArea(first);
    const Outside before = outsideBand(area, splash);
    EXPECT_EQ(before.odd, "");
    EXPECT_EQ(stripDifference(area, splash), 0) << "screen rows 256 .. 279 show the splash's bottom strip";

    sleepFor(Seconds(1));
    const QImage second = drawingArea(emulator.screenshot("trails"));
    const Outside after = outsideBand(second, splash);
    EXPECT_EQ(after.odd, "");
    EXPECT_GT(after.trails, before.trails) << "the walkers' trails grow";
    EXPECT_EQ(titleBandDifference(second, splash, title), "") << "the title band stays as it was";
    std::printf("[ trails   ] %d white squares outside the title band, %d a second later\n", before.trails,
                after.trails);
}

} // namespace
} // namespace e2e
