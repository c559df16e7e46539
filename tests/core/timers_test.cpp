// The delay timer's pauses, the sound timer's tone runs and the tone sample itself.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "core/timers.h"
#include "tests/core/test_machine.h"

namespace lumvexor::test {
namespace {

// The pause after FX15 with N: 10 N steps or one more, as 0.1 has no exact binary form.
int statedPause(int n)
{
    if (n == 0) return 0;
    if ((n >= 2 && n <= 4) || (n >= 19 && n <= 75)) return 10 * n;
    return 10 * n + 1;
}

TEST(DelayTimer, PauseAfterFX15ForEveryValue)
{
    for (int n = 0; n <= 255; ++n) {
        TestMachine t;
        t.loadProgram({0xF115, 0x6201});
        t.machine.V[1] = static_cast<std::uint8_t>(n);
        t.step(); // FX15
        int pauses = 0;
        while (t.machine.V[2] == 0 && pauses < 3000) {
            t.step();
            if (t.machine.V[2] == 0) ++pauses;
        }
        EXPECT_EQ(pauses, statedPause(n)) << "N = " << n;
        EXPECT_EQ(t.machine.PC, 0x204);
    }
}

TEST(DelayTimer, ResetHoldsTheMachineFor200Steps)
{
    TestMachine t;
    t.loadProgram({0x6201});
    t.machine.delayTimer = 20.0;
    t.machine.soundTimer = 5;
    t.step(200);
    EXPECT_EQ(t.machine.V[2], 0);
    EXPECT_EQ(t.machine.PC, 0x200);
    EXPECT_EQ(t.machine.soundTimer, 5) << "the sound timer stands still during a pause";
    EXPECT_TRUE(headless::toneRequests().empty());
    t.step();
    EXPECT_EQ(t.machine.V[2], 1);
}

TEST(DelayTimer, FX07AlwaysReadsZero)
{
    TestMachine t;
    // V3 <- delay after the reset pause; after FX15 with 7; after FX15 with 0.
    t.loadProgram({0xF307, 0x6107, 0xF115, 0xF407, 0x6100, 0xF115, 0xF507});
    t.machine.delayTimer = 20.0;
    for (int r : {3, 4, 5}) t.machine.V[r] = 0x55;
    t.step(201 + 2 + 71 + 1 + 2 + 1);
    EXPECT_EQ(t.machine.PC, 0x20E);
    EXPECT_EQ(t.machine.V[3], 0);
    EXPECT_EQ(t.machine.V[4], 0);
    EXPECT_EQ(t.machine.V[5], 0);
}

std::vector<int> rates()
{
    std::vector<int> result;
    for (const headless::ToneRequest& request : headless::toneRequests()) {
        EXPECT_EQ(request.volume, 25);
        result.push_back(request.rate);
    }
    return result;
}

std::vector<int> fallingRun(int n)
{
    std::vector<int> result;
    for (int k = n - 1; k >= 0; --k) result.push_back(100 * k + 45000);
    return result;
}

TEST(SoundTimer, FX18StartsARunOfFallingRates)
{
    for (int n : {0, 1, 2, 60, 255}) {
        SCOPED_TRACE(testing::Message() << "N = " << n);
        TestMachine t;
        t.loadProgram({0xF118, 0x1202});
        t.machine.V[1] = static_cast<std::uint8_t>(n);
        t.step(1 + 300);
        EXPECT_EQ(rates(), fallingRun(n));
        EXPECT_EQ(t.machine.soundTimer, 0);
    }
}

TEST(SoundTimer, FirstRequestComesOnTheFX18StepItself)
{
    TestMachine t;
    t.loadProgram({0xF118});
    t.machine.V[1] = 255;
    t.step();
    ASSERT_EQ(headless::toneRequests().size(), 1u);
    EXPECT_EQ(headless::toneRequests()[0].rate, 70400);
    EXPECT_EQ(t.machine.soundTimer, 254);
}

TEST(SoundTimer, StandsStillDuringADelayPauseAndCountsOnAfterwards)
{
    TestMachine t;
    // FX18 with 5, FX15 with 2, then a loop.
    t.loadProgram({0x6105, 0x6202, 0xF118, 0xF215, 0x1208});
    t.step(4);
    EXPECT_EQ(rates(), (std::vector<int>{45400, 45300}));
    t.step(20);
    EXPECT_EQ(t.machine.soundTimer, 3) << "20 pause steps";
    t.step(10);
    EXPECT_EQ(rates(), fallingRun(5));
}

TEST(SoundTimer, AWaitingFX0AKeepsItRunning)
{
    TestMachine t;
    t.loadProgram({0x6103, 0xF118, 0xF00A});
    t.step(10);
    EXPECT_EQ(rates(), fallingRun(3));
    EXPECT_EQ(t.machine.PC, 0x204);
}

// Long runs keep counts only: the same requests, and memory that does not grow.
TEST(ScriptedRecords, CountsAndTheLastToneRequestWithoutKeepingRecords)
{
    TestMachine t;
    headless::setKeepRecords(false);
    EXPECT_EQ(headless::lastToneRequest().rate, 44100);
    // Two message boxes, then FX18 with 3 and a loop.
    t.loadProgram({0x0011, 0x0010, 0x6103, 0xF118, 0x1208});
    t.step(5);
    EXPECT_EQ(headless::messageBoxCount(), 2);
    EXPECT_EQ(headless::toneRequestCount(), 2);
    EXPECT_EQ(headless::lastToneRequest().rate, 45100);
    EXPECT_EQ(headless::lastToneRequest().volume, 25);
    t.step(10);
    EXPECT_EQ(headless::toneRequestCount(), 3);
    EXPECT_EQ(headless::lastToneRequest().rate, 45000);
    EXPECT_TRUE(headless::messageBoxes().empty());
    EXPECT_TRUE(headless::toneRequests().empty());

    headless::setKeepRecords(true);
    t.loadProgram({0x6102, 0xF118});
    t.step(2);
    EXPECT_EQ(rates(), (std::vector<int>{45100}));
    EXPECT_EQ(headless::toneRequestCount(), 4);
}

std::uint32_t le(std::size_t offset, int bytes)
{
    std::uint32_t value = 0;
    for (int k = bytes - 1; k >= 0; --k) value = value << 8 | ToneSample[offset + static_cast<std::size_t>(k)];
    return value;
}

std::string text(std::size_t offset)
{
    return std::string(reinterpret_cast<const char*>(ToneSample.data() + offset), 4);
}

TEST(ToneSample, HeaderFields)
{
    EXPECT_EQ(ToneSample.size(), 17720u);
    EXPECT_EQ(text(0), "RIFF");
    EXPECT_EQ(le(4, 4), 17712u);
    EXPECT_EQ(text(8), "WAVE");
    EXPECT_EQ(text(12), "fmt ");
    EXPECT_EQ(le(16, 4), 16u);
    EXPECT_EQ(le(20, 2), 1u);
    EXPECT_EQ(le(22, 2), 1u);
    EXPECT_EQ(le(24, 4), 44100u);
    EXPECT_EQ(le(28, 4), 88200u);
    EXPECT_EQ(le(32, 2), 2u);
    EXPECT_EQ(le(34, 2), 16u);
    EXPECT_EQ(text(36), "LIST");
    EXPECT_EQ(le(40, 4), 28u);
    EXPECT_EQ(text(44), "INFO");
    EXPECT_EQ(text(72), "data");
    EXPECT_EQ(le(76, 4), 17640u);
}

TEST(ToneSample, SamplesAreOneHundredTwentyPeriodsOf600Hz)
{
    std::vector<int> samples;
    for (std::size_t offset = 80; offset < ToneSample.size(); offset += 2) {
        samples.push_back(static_cast<std::int16_t>(le(offset, 2)));
    }
    ASSERT_EQ(samples.size(), 8820u);
    EXPECT_EQ(samples[0], 0);
    EXPECT_GT(samples[1], 0) << "starts rising";
    int peak = 0;
    int upwardCrossings = 0;
    for (std::size_t n = 0; n < samples.size(); ++n) {
        peak = std::max(peak, std::abs(samples[n]));
        const double expected = 0.8 * 32767 * std::sin(2 * std::numbers::pi * 600 * static_cast<double>(n) / 44100);
        EXPECT_NEAR(samples[n], expected, 1.0) << "sample " << n;
        if (n > 0 && samples[n - 1] < 0 && samples[n] >= 0) ++upwardCrossings;
    }
    EXPECT_NEAR(peak, 26214, 3) << "0.8 of full scale, no fade";
    EXPECT_EQ(upwardCrossings, 119) << "120 periods: the 120th ends after the last sample";
    EXPECT_LT(samples.back(), 0) << "the last sample leads into the zero crossing";
    EXPECT_GT(samples.back(), -3000);
}

} // namespace
} // namespace lumvexor::test
