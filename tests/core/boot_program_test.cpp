// The built-in program, run as the machine runs it: the title once, eight walkers
// stepping diagonally, never in the title's band and never putting a pixel out.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "tests/core/test_machine.h"

namespace lumvexor::test {
namespace {

constexpr std::int32_t TitleDone = 0x244;  // the title routine has returned
constexpr std::int32_t WalkerPlotted = 0x264; // a walker has stepped and plotted
constexpr std::int32_t PlotDraws[] = {0x2B6, 0x2BA};
constexpr int Steps = 250000;

bool inTitleBand(std::int32_t y) { return y >= 8 && y <= 21; }

TEST(BootProgram, IsLaidOutAsItsTable)
{
    EXPECT_EQ(BootProgram.size(), 291u);
    const std::pair<std::int32_t, std::uint16_t> instructions[] = {
        {0x200, 0x00FF}, {0x202, 0x1242}, {0x22A, 0x60AE}, {0x236, 0x0000}, {0x23C, 0x0000},
        {0x242, 0x22BE}, {0x270, 0x6010}, {0x278, 0x6A01}, {0x2A0, 0xA2FA}, {0x2B6, 0xD011},
        {0x2BC, 0x00EE}, {0x2BE, 0x610A}};
    for (const auto& [address, instruction] : instructions) {
        const std::size_t at = static_cast<std::size_t>(address - 0x200);
        EXPECT_EQ(BootProgram[at] << 8 | BootProgram[at + 1], instruction) << std::hex << address;
    }
    EXPECT_EQ(BootProgram[0x2FA - 0x200], 0x80);
}

TEST(BootProgram, TitleOnceAndWalkersThatOnlyLightPixels)
{
    TestMachine t;
    t.startUp();
    headless::seedRandom(20161);

    std::array<std::int32_t, FrameBuffer::MaxColumns * FrameBuffer::MaxRows> title{};
    bool titleDrawn = false;
    bool firstPlotSeen = false;
    std::array<std::pair<int, int>, 8> lastPosition{};
    std::array<bool, 8> walked{};
    FrameBuffer previous = t.frameBuffer;
    int plots = 0;

    for (int step = 0; step < Steps; ++step) {
        const bool executes = t.machine.delayTimer <= 0.0;
        const std::int32_t pc = t.machine.PC;
        if (executes && (pc == PlotDraws[0] || pc == PlotDraws[1])) {
            const int x = t.machine.V[0];
            const int y = t.machine.V[1];
            ASSERT_FALSE(inTitleBand(y)) << "a walker drew at y " << y;
            ASSERT_LT(x, 128);
            ASSERT_LT(y, 64);
            if (!firstPlotSeen) {
                firstPlotSeen = true;
                EXPECT_TRUE(x == 15 || x == 17) << x;
                EXPECT_TRUE(y == 31 || y == 33) << y;
            }
        }
        t.step();
        if (!executes) continue;

        if (t.machine.PC == TitleDone && !titleDrawn) {
            titleDrawn = true;
            title = t.frameBuffer.pixels;
            previous = t.frameBuffer;
        }
        if (titleDrawn && t.machine.PC == WalkerPlotted) {
            ++plots;
            // Lit pixels stay lit from one plot to the next.
            for (std::size_t k = 0; k < previous.pixels.size(); ++k) {
                if (previous.pixels[k] == PixelLit) {
                    ASSERT_EQ(t.frameBuffer.pixels[k], PixelLit) << "a walker put out pixel " << k;
                }
            }
            previous = t.frameBuffer;
            // Every step is diagonal, or held on the edge it would have left.
            const int walker = t.machine.V[0xC] / 10;
            ASSERT_LT(walker, 8);
            const std::pair<int, int> position{t.machine.V[0], t.machine.V[1]};
            ASSERT_LT(position.first, 128);
            ASSERT_LT(position.second, 64);
            if (walked[walker]) {
                const auto [x0, y0] = lastPosition[walker];
                const int dx = position.first - x0;
                const int dy = position.second - y0;
                EXPECT_TRUE(dx == 1 || dx == -1 || (dx == 0 && (x0 == 0 || x0 == 127))) << dx;
                EXPECT_TRUE(dy == 1 || dy == -1 || (dy == 0 && (y0 == 0 || y0 == 63))) << dy;
            } else {
                const int startX = 16 + 10 * walker;
                EXPECT_EQ(std::abs(position.first - startX), 1) << "walker " << walker;
                EXPECT_EQ(std::abs(position.second - 32), 1);
            }
            walked[walker] = true;
            lastPosition[walker] = position;
        }
    }

    ASSERT_TRUE(titleDrawn);
    EXPECT_EQ(t.host.speed, 75) << "its first instruction switched to the 128 x 64 display";
    EXPECT_EQ(t.frameBuffer.columns, 128);
    EXPECT_GT(plots, 2000);
    EXPECT_EQ(walked, (std::array<bool, 8>{true, true, true, true, true, true, true, true}));
    // Rows 8 to 21 hold the title as it was drawn, and the title lies in rows 10 to 19.
    int titlePixels = 0;
    for (std::int32_t x = 0; x < 128; ++x) {
        for (std::int32_t y = 8; y <= 21; ++y) {
            const std::size_t k = static_cast<std::size_t>(x * 64 + y);
            EXPECT_EQ(t.frameBuffer.pixels[k], title[k]) << x << ", " << y;
            if (title[k] == PixelLit) {
                ++titlePixels;
                EXPECT_TRUE(y >= 10 && y <= 19);
                EXPECT_TRUE(x >= 10 && x < 82);
            }
        }
    }
    EXPECT_GT(titlePixels, 200);
    EXPECT_TRUE(headless::messageBoxes().empty());
    // Each walker record: x, y, the last random bit and zeros.
    for (int k = 0; k < 8; ++k) {
        const std::int32_t record = 0xE00 + 10 * k;
        EXPECT_LE(readByte(t.machine, record + 8), 1);
        for (int b : {2, 3, 4, 5, 6, 7, 9}) EXPECT_EQ(readByte(t.machine, record + b), 0);
    }
}

} // namespace
} // namespace lumvexor::test
