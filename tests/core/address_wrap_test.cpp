// PC and I near the largest 32-bit address: their arithmetic wraps without undefined
// behaviour, and every access they lead to stays inside memory.
#include <gtest/gtest.h>

#include "tests/core/test_machine.h"

namespace lumvexor::test {
namespace {

constexpr std::int32_t NearLimit = 0x7FFFFFF0;

TEST(AddressWrap, PCStepsAcrossTheLargestAddress)
{
    TestMachine t;
    t.loadProgram({});
    // 0x7FFFFFF0 lands on 0x7FF0: skips and plain instructions up to the end of memory.
    const std::uint16_t code[] = {0x3000, 0x0000, 0x6101, 0x3000, 0x0000, 0x6102, 0x4001, 0x0000};
    for (std::size_t k = 0; k < std::size(code); ++k) {
        writeByte(t.machine, 0x7FF0 + 2 * static_cast<std::int32_t>(k), code[k] >> 8);
        writeByte(t.machine, 0x7FF1 + 2 * static_cast<std::int32_t>(k), code[k] & 0xFF);
    }
    t.machine.PC = NearLimit;
    std::vector<std::int64_t> seen;
    for (int k = 0; k < 6; ++k) {
        t.step();
        seen.push_back(t.machine.PC);
    }
    // Skip, plain, skip, plain, skip: then PC has wrapped to the most negative value and
    // fetches from 0x0000, the font.
    EXPECT_EQ(seen, (std::vector<std::int64_t>{0x7FFFFFF4, 0x7FFFFFF6, 0x7FFFFFFA, 0x7FFFFFFC,
                                               static_cast<std::int32_t>(0x80000000u),
                                               static_cast<std::int32_t>(0x80000002u)}));
    EXPECT_EQ(t.machine.V[1], 2);
}

TEST(AddressWrap, FX1ECarriesIAcrossTheLargestAddress)
{
    TestMachine t;
    t.loadProgram({0xF01E, 0xF01E});
    t.machine.V[0] = 0x0F;
    t.machine.I = NearLimit;
    t.step();
    EXPECT_EQ(t.machine.I, 0x7FFFFFFF);
    EXPECT_EQ(t.machine.V[0xF], 1);
    t.step();
    EXPECT_EQ(t.machine.I, static_cast<std::int32_t>(0x8000000Eu));
    EXPECT_EQ(t.machine.V[0xF], 0) << "a wrapped I is below 4096";
}

TEST(AddressWrap, MemoryInstructionsNearTheLimitStayInsideMemory)
{
    TestMachine t;
    // FX33, FX55, FX65 and a 3-row sprite with I at 0x7FFFFFFE: 0x7FFE, 0x7FFF, then 0.
    t.loadProgram({0xF233, 0xF165, 0xA000, 0xF355});
    t.machine.V[2] = 123;
    t.machine.I = 0x7FFFFFFE;
    t.step(2);
    EXPECT_EQ(readByte(t.machine, 0x7FFE), 1);
    EXPECT_EQ(readByte(t.machine, 0x7FFF), 2);
    EXPECT_EQ(readByte(t.machine, 0x0000), 3);
    EXPECT_EQ(t.machine.V[0], 1);
    EXPECT_EQ(t.machine.V[1], 2);

    t.loadProgram({0xD013});
    t.machine.I = static_cast<std::int32_t>(0xFFFFFFFFu); // -1: 0x7FFF, 0x0000, 0x0001
    writeByte(t.machine, 0x7FFF, 0x80);
    t.step();
    EXPECT_EQ(pixelAt(t.frameBuffer, 0, 0), PixelLit);
    EXPECT_EQ(pixelAt(t.frameBuffer, 0, 1), PixelLit) << "the font's F0 at 0x0000";
    EXPECT_EQ(pixelAt(t.frameBuffer, 3, 1), PixelLit);
    EXPECT_EQ(pixelAt(t.frameBuffer, 0, 2), PixelLit) << "the font's 90 at 0x0001";
    EXPECT_EQ(pixelAt(t.frameBuffer, 1, 2), PixelDark);
}

TEST(AddressWrap, FX0AStepsBackAcrossTheLimit)
{
    TestMachine t;
    t.loadProgram({});
    // PC at the most negative value fetches 0x0000; make that FX0A and wait there.
    t.machine.memory[0] = 0xF0;
    t.machine.memory[1] = 0x0A;
    t.machine.PC = static_cast<std::int32_t>(0x80000000u);
    t.step(3);
    EXPECT_EQ(t.machine.PC, static_cast<std::int32_t>(0x80000000u));
}

} // namespace
} // namespace lumvexor::test
