// Stretching: the window made twice as wide shows the same picture, twice as wide.
#include <gtest/gtest.h>

#include "tests/e2e/emulator.h"
#include "tests/e2e/picture.h"

namespace e2e {
namespace {

// Pixels of the stretched drawing area that are not the pixel of the original it
// stands over, scaled by two across with nearest-neighbour sampling.
int stretchedDifference(const QImage& original, const QImage& stretched)
{
    if (stretched.width() != 2 * original.width() || stretched.height() != original.height()) {
        return stretched.width() * stretched.height() + 1;
    }
    int n = 0;
    for (int y = 0; y < stretched.height(); ++y) {
        for (int x = 0; x < stretched.width(); ++x) {
            n += (stretched.pixel(x, y) & 0xFFFFFF) != (original.pixel(x / 2, y) & 0xFFFFFF) ? 1 : 0;
        }
    }
    return n;
}

class Stretching : public Scenario {};

TEST_F(Stretching, TwiceTheWidthStretchesThePictureAcrossOnly)
{
    const Cells logo = cellsOf(machinePictureOfRom(ibmLogoRom(), 1000));
    Emulator& emulator = startEmulator();
    ASSERT_TRUE(emulator.waitForMainWindow());
    emulator.openRomByKeys();
    ASSERT_TRUE(chooseInRequester(ibmLogoRom().string()));
    ASSERT_EQ(waitForPicture(emulator, "logo", logo), "");
    const QImage before = emulator.screenshot("before");
    const auto size = emulator.geometry();
    ASSERT_TRUE(size);
    const int menuBar = size->height - DrawingHeight;
    const QImage original = before.copy(0, menuBar, size->width, DrawingHeight);

    resizeWindow(emulator.window(), 2 * size->width, size->height);
    int differences = -1;
    const QImage after = emulator.screenshotUntil("twice-as-wide", Seconds(3), [&](const QImage& shot) {
        differences = stretchedDifference(original, shot.copy(0, menuBar, shot.width(), DrawingHeight));
        return shot.height() == before.height() && differences == 0;
    });
    EXPECT_EQ(after.width(), 2 * before.width()) << "the window did not take the new width";
    EXPECT_EQ(after.height(), before.height()) << "the height changed";
    EXPECT_EQ(differences, 0) << "pixels of the stretched picture that differ from the original, scaled by two "
                                 "across (saved as twice-as-wide.png)";
}

} // namespace
} // namespace e2e
