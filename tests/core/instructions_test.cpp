// Every row of the instruction table, one case a line of the table below.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "tests/core/test_machine.h"

namespace lumvexor::test {
namespace {

using Registers = std::vector<std::pair<int, int>>;                 // {register, value}
using Bytes = std::vector<std::pair<std::int32_t, int>>;            // {address, value}
using Pixels = std::vector<std::pair<std::int32_t, std::int32_t>>;  // {x, y}

struct InstructionCase {
    const char* name;
    std::vector<std::uint16_t> program; // from 0x200; one step each unless steps says more
    // Before (the case's program, then these):
    Registers V = {};
    std::int32_t I = 0;
    Bytes memory = {};
    Pixels lit = {};
    std::function<void(TestMachine&)> arrange = {};
    // After:
    Registers expectV = {};
    std::int32_t expectPC = 0x202;
    std::optional<std::int32_t> expectI = {};
    std::int32_t expectSP = 0;
    Bytes expectMemory = {};
    std::optional<Pixels> expectLit = {}; // the whole set of lit pixels
    std::function<void(const TestMachine&)> check = {};
    int steps = 1;
};

Pixels litPixelsOf(const FrameBuffer& fb)
{
    Pixels lit;
    for (std::int32_t x = 0; x < fb.columns; ++x) {
        for (std::int32_t y = 0; y < fb.rows; ++y) {
            if (pixelAt(fb, x, y) == PixelLit) {
                lit.emplace_back(x, y);
            }
        }
    }
    return lit;
}

Pixels sorted(Pixels pixels)
{
    std::sort(pixels.begin(), pixels.end());
    return pixels;
}

Pixels block(std::int32_t x0, std::int32_t y0, std::int32_t width, std::int32_t height)
{
    Pixels pixels;
    for (std::int32_t x = x0; x < x0 + width; ++x) {
        for (std::int32_t y = y0; y < y0 + height; ++y) {
            pixels.emplace_back(x, y);
        }
    }
    return pixels;
}

Bytes filled(std::int32_t from, int count, int value)
{
    Bytes bytes;
    for (int k = 0; k < count; ++k) {
        bytes.emplace_back(from + k, value);
    }
    return bytes;
}

const std::vector<InstructionCase>& instructionCases()
{
    static const std::vector<InstructionCase> cases = {
        // Display and flow.
        {.name = "00E0 clears", .program = {0x00E0}, .lit = {{1, 1}, {63, 31}}, .expectLit = Pixels{}},
        {.name = "00B3 scrolls up 3", .program = {0x00B3}, .lit = {{2, 5}, {4, 1}}, .expectLit = Pixels{{2, 2}}},
        {.name = "00B0 leaves the picture", .program = {0x00B0}, .lit = {{2, 5}}, .expectLit = Pixels{{2, 5}}},
        {.name = "00C2 scrolls down 2", .program = {0x00C2}, .lit = {{2, 5}, {0, 31}}, .expectLit = Pixels{{2, 7}}},
        {.name = "00C0 leaves the picture", .program = {0x00C0}, .lit = {{2, 5}}, .expectLit = Pixels{{2, 5}}},
        {.name = "00FB scrolls right 4", .program = {0x00FB}, .lit = {{2, 5}, {61, 0}}, .expectLit = Pixels{{6, 5}}},
        {.name = "00FC scrolls left 4", .program = {0x00FC}, .lit = {{6, 5}, {2, 0}}, .expectLit = Pixels{{2, 5}}},
        {.name = "1NNN jumps", .program = {0x1ABC}, .expectPC = 0xABC},
        {.name = "2NNN stores its own address", .program = {0x2300}, .expectPC = 0x300, .expectSP = 1,
         .check = [](const TestMachine& t) { EXPECT_EQ(t.machine.stack[0], 0x200); }},
        {.name = "2NNN then 00EE resumes after the call", .program = {},
         .arrange = [](TestMachine& t) {
             writeByte(t.machine, 0x200, 0x23); writeByte(t.machine, 0x201, 0x00);
             writeByte(t.machine, 0x300, 0x00); writeByte(t.machine, 0x301, 0xEE);
         },
         .expectPC = 0x202, .expectSP = 0, .steps = 2},
        {.name = "2NNN on a full stack is not performed",
         .program = {0x2300},
         .arrange = [](TestMachine& t) { t.machine.SP = StackDepth; t.machine.stack.fill(0x777); },
         .expectSP = StackDepth,
         .check = [](const TestMachine& t) {
             for (std::int32_t entry : t.machine.stack) EXPECT_EQ(entry, 0x777);
         }},
        {.name = "00EE on an empty stack is not performed", .program = {0x00EE}},
        {.name = "33 nested calls fill the stack", .program = {},
         .arrange = [](TestMachine& t) {
             for (std::int32_t a = 0x200; a < 0x200 + 2 * 34; a += 2) {
                 writeByte(t.machine, a, 0x20 | ((a + 2) >> 8)); writeByte(t.machine, a + 1, (a + 2) & 0xFF);
             }
         },
         .expectPC = 0x200 + 2 * 34, .expectSP = StackDepth, .steps = 34},
        {.name = "BNNN adds V0 unreduced", .program = {0xBFFF}, .V = {{0, 0xFF}}, .expectPC = 0x10FE},
        {.name = "ANNN sets I", .program = {0xA123}, .expectI = 0x123},
        // Skips.
        {.name = "3XNN equal skips", .program = {0x3A42}, .V = {{0xA, 0x42}}, .expectPC = 0x204},
        {.name = "3XNN unequal", .program = {0x3A42}, .V = {{0xA, 0x41}}},
        {.name = "4XNN unequal skips", .program = {0x4A42}, .V = {{0xA, 0x41}}, .expectPC = 0x204},
        {.name = "4XNN equal", .program = {0x4A42}, .V = {{0xA, 0x42}}},
        {.name = "5XY0 equal skips", .program = {0x5120}, .V = {{1, 9}, {2, 9}}, .expectPC = 0x204},
        {.name = "5XY7 acts as 5XY0", .program = {0x5127}, .V = {{1, 9}, {2, 9}}, .expectPC = 0x204},
        {.name = "5XY0 unequal", .program = {0x5120}, .V = {{1, 9}, {2, 8}}},
        {.name = "9XY0 unequal skips", .program = {0x9120}, .V = {{1, 9}, {2, 8}}, .expectPC = 0x204},
        {.name = "9XYF acts as 9XY0", .program = {0x912F}, .V = {{1, 9}, {2, 8}}, .expectPC = 0x204},
        {.name = "9XY0 equal", .program = {0x9120}, .V = {{1, 9}, {2, 9}}},
        // Registers.
        {.name = "6XNN", .program = {0x6E99}, .expectV = {{0xE, 0x99}}},
        {.name = "7XNN wraps, VF kept", .program = {0x730A}, .V = {{3, 250}, {0xF, 7}},
         .expectV = {{3, 4}, {0xF, 7}}},
        {.name = "8XY0", .program = {0x8120}, .V = {{2, 0x5A}, {0xF, 7}}, .expectV = {{1, 0x5A}, {0xF, 7}}},
        {.name = "8XY1", .program = {0x8121}, .V = {{1, 0x0C}, {2, 0x0A}, {0xF, 7}},
         .expectV = {{1, 0x0E}, {0xF, 7}}},
        {.name = "8XY2", .program = {0x8122}, .V = {{1, 0x0C}, {2, 0x0A}, {0xF, 7}},
         .expectV = {{1, 0x08}, {0xF, 7}}},
        {.name = "8XY3", .program = {0x8123}, .V = {{1, 0x0C}, {2, 0x0A}, {0xF, 7}},
         .expectV = {{1, 0x06}, {0xF, 7}}},
        {.name = "8XY4 carry", .program = {0x8124}, .V = {{1, 200}, {2, 100}}, .expectV = {{1, 44}, {0xF, 1}}},
        {.name = "8XY4 no carry", .program = {0x8124}, .V = {{1, 200}, {2, 55}, {0xF, 9}},
         .expectV = {{1, 255}, {0xF, 0}}},
        {.name = "8F14 result replaces the flag", .program = {0x8F14}, .V = {{0xF, 200}, {1, 100}},
         .expectV = {{0xF, 44}}},
        {.name = "81F4 reads VF before", .program = {0x81F4}, .V = {{1, 10}, {0xF, 20}},
         .expectV = {{1, 30}, {0xF, 0}}},
        {.name = "8XY5 equal", .program = {0x8125}, .V = {{1, 9}, {2, 9}}, .expectV = {{1, 0}, {0xF, 1}}},
        {.name = "8XY5 borrow", .program = {0x8125}, .V = {{1, 3}, {2, 5}}, .expectV = {{1, 254}, {0xF, 0}}},
        {.name = "8XY6", .program = {0x8126}, .V = {{1, 0x81}, {2, 0x33}}, .expectV = {{1, 0x40}, {2, 0x33}, {0xF, 1}}},
        {.name = "8F06 leaves the old VF shifted", .program = {0x8F06}, .V = {{0xF, 0x06}},
         .expectV = {{0xF, 0x03}}},
        {.name = "8XY7", .program = {0x8127}, .V = {{1, 5}, {2, 3}}, .expectV = {{1, 254}, {0xF, 0}}},
        {.name = "8XY7 no borrow", .program = {0x8127}, .V = {{1, 3}, {2, 5}}, .expectV = {{1, 2}, {0xF, 1}}},
        {.name = "8XYE", .program = {0x812E}, .V = {{1, 0x81}, {2, 0x33}}, .expectV = {{1, 0x02}, {2, 0x33}, {0xF, 1}}},
        {.name = "8FYE result replaces the flag", .program = {0x8F0E}, .V = {{0xF, 0x81}}, .expectV = {{0xF, 0x02}}},
        {.name = "CXNN with 0", .program = {0xC500}, .V = {{5, 0x77}}, .expectV = {{5, 0}}},
        // Index register and memory.
        {.name = "FX1E past 4095", .program = {0xF31E}, .V = {{3, 10}}, .I = 4090, .expectV = {{0xF, 1}},
         .expectI = 4100},
        {.name = "FX1E below 4096", .program = {0xF31E}, .V = {{3, 10}, {0xF, 1}}, .I = 4000,
         .expectV = {{0xF, 0}}, .expectI = 4010},
        {.name = "FX29 is not reduced to a digit", .program = {0xF329}, .V = {{3, 20}}, .expectI = 100},
        {.name = "FX30", .program = {0xF330}, .V = {{3, 3}}, .expectI = 110},
        {.name = "FX33 of 7", .program = {0xF433}, .V = {{4, 7}}, .I = 0x400,
         .expectI = 0x400, .expectMemory = {{0x400, 0}, {0x401, 0}, {0x402, 7}}},
        {.name = "FX33 of 255", .program = {0xF433}, .V = {{4, 255}}, .I = 0x400,
         .expectMemory = {{0x400, 2}, {0x401, 5}, {0x402, 5}}},
        {.name = "FX33 of 40", .program = {0xF433}, .V = {{4, 40}}, .I = 0x400,
         .expectMemory = {{0x400, 0}, {0x401, 4}, {0x402, 0}}},
        {.name = "FX55 stores V0..VX", .program = {0xF355}, .V = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}},
         .I = 0x500, .expectI = 0x500,
         .expectMemory = {{0x500, 1}, {0x501, 2}, {0x502, 3}, {0x503, 4}, {0x504, 0}}},
        {.name = "FX55 wraps past the end of memory", .program = {0xF355}, .V = {{0, 1}, {1, 2}, {2, 3}, {3, 4}},
         .I = 0x7FFE, .expectMemory = {{0x7FFE, 1}, {0x7FFF, 2}, {0x0000, 3}, {0x0001, 4}}},
        {.name = "FX65 loads V0..VX", .program = {0xF265}, .V = {{3, 0x33}}, .I = 0x500,
         .memory = {{0x500, 9}, {0x501, 8}, {0x502, 7}, {0x503, 6}},
         .expectV = {{0, 9}, {1, 8}, {2, 7}, {3, 0x33}}, .expectI = 0x500},
        {.name = "FX75 then FX85 keep all sixteen",
         .program = {0xFF75, 0x6000, 0x6F00, 0x6A00, 0xFF85},
         .arrange = [](TestMachine& t) { for (int r = 0; r < 16; ++r) t.machine.V[r] = static_cast<std::uint8_t>(0x10 + r); },
         .expectPC = 0x20A,
         .check = [](const TestMachine& t) {
             for (int r = 0; r < 16; ++r) {
                 EXPECT_EQ(t.machine.V[r], 0x10 + r);
                 EXPECT_EQ(readByte(t.machine, 240 + r), 0x10 + r);
             }
         },
         .steps = 5},
        {.name = "FX85 restores V0..VX only", .program = {0xF185}, .V = {{2, 0x22}},
         .memory = {{0xF0, 0xAA}, {0xF1, 0xBB}, {0xF2, 0xCC}}, .expectV = {{0, 0xAA}, {1, 0xBB}, {2, 0x22}}},
        // Sprites. The small font's 0 lies at 0: F0 90 90 90 F0.
        {.name = "DXYN draws a glyph", .program = {0xD125}, .V = {{1, 10}, {2, 4}}, .I = 0,
         .expectV = {{0xF, 0}},
         .expectLit = Pixels{{10, 4}, {10, 5}, {10, 6}, {10, 7}, {10, 8}, {11, 4}, {11, 8}, {12, 4}, {12, 8},
                             {13, 4}, {13, 5}, {13, 6}, {13, 7}, {13, 8}}},
        {.name = "D015 wraps over the right edge", .program = {0xD015}, .V = {{0, 62}, {1, 0}}, .I = 0x400,
         .memory = filled(0x400, 5, 0xFF),
         .expectLit = [] {
             Pixels p = block(62, 0, 2, 5);
             for (auto q : block(0, 0, 6, 5)) p.push_back(q);
             return p;
         }()},
        {.name = "DXYN wraps a register value past the picture", .program = {0xD011},
         .V = {{0, 255}, {1, 200}}, .I = 0x400, .memory = {{0x400, 0x80}}, .expectLit = Pixels{{63, 8}}},
        {.name = "DXYN collision on the first row only", .program = {0xD012}, .V = {{0, 0}, {1, 0}}, .I = 0x400,
         .memory = {{0x400, 0x80}, {0x401, 0x40}}, .lit = {{0, 0}}, .expectV = {{0xF, 1}},
         .expectLit = Pixels{{1, 1}}},
        {.name = "DXYN without collision clears VF", .program = {0xD011}, .V = {{0xF, 1}}, .I = 0x400,
         .memory = {{0x400, 0x80}}, .lit = {{5, 5}}, .expectV = {{0xF, 0}}, .expectLit = Pixels{{0, 0}, {5, 5}}},
        {.name = "DF12: x follows VF as the draw changes it", .program = {0xDF12}, .V = {{0xF, 9}, {1, 0}},
         .I = 0x400, .memory = {{0x400, 0x80}, {0x401, 0x80}}, .lit = {{0, 0}}, .expectV = {{0xF, 1}},
         .expectLit = Pixels{{1, 1}}},
        {.name = "D0F1: y follows VF as the draw changes it", .program = {0xD0F1}, .V = {{0, 0}, {0xF, 9}},
         .I = 0x400, .memory = {{0x400, 0xC0}}, .lit = {{0, 0}}, .expectV = {{0xF, 1}},
         .expectLit = Pixels{{1, 1}}},
        {.name = "DXY0 draws 16 x 16 in LowRes", .program = {0xD120}, .V = {{1, 8}, {2, 8}}, .I = 0x400,
         .memory = filled(0x400, 32, 0xFF), .expectLit = block(8, 8, 16, 16)},
        {.name = "DXY0 draws 16 x 16 in HighRes", .program = {0xD120}, .V = {{1, 120}, {2, 60}}, .I = 0x400,
         .memory = {{0x400, 0x80}, {0x401, 0x01}, {0x41E, 0x80}, {0x41F, 0x01}},
         .arrange = [](TestMachine& t) { setDisplayMode(t.frameBuffer, DisplayMode::HighRes); },
         .expectLit = Pixels{{120, 60}, {7, 60}, {120, 11}, {7, 11}}},
        {.name = "DXYN reads sprite rows across the end of memory", .program = {0xD012}, .I = 0x7FFF,
         .memory = {{0x7FFF, 0x80}, {0x0000, 0xF0}}, .expectLit = Pixels{{0, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}}},
    };
    return cases;
}

TEST(Instructions, EveryRow)
{
    for (const InstructionCase& c : instructionCases()) {
        SCOPED_TRACE(c.name);
        TestMachine t;
        t.loadProgram({});
        std::int32_t address = ProgramStart;
        for (std::uint16_t instruction : c.program) {
            writeByte(t.machine, address, instruction >> 8);
            writeByte(t.machine, address + 1, instruction & 0xFF);
            address += 2;
        }
        for (const auto& [r, value] : c.V) t.machine.V[r] = static_cast<std::uint8_t>(value);
        t.machine.I = c.I;
        for (const auto& [a, value] : c.memory) writeByte(t.machine, a, value);
        for (const auto& [x, y] : c.lit) xorPixel(t.frameBuffer, x, y);
        if (c.arrange) c.arrange(t);

        std::array<std::uint8_t, 16> expectedV = t.machine.V;
        for (const auto& [r, value] : c.expectV) expectedV[r] = static_cast<std::uint8_t>(value);
        const std::int32_t expectedI = c.expectI.value_or(t.machine.I);
        const Pixels expectedLit = c.expectLit ? sorted(*c.expectLit) : litPixelsOf(t.frameBuffer);

        t.step(c.steps);

        EXPECT_EQ(t.machine.V, expectedV);
        EXPECT_EQ(t.machine.PC, c.expectPC);
        EXPECT_EQ(t.machine.I, expectedI);
        EXPECT_EQ(t.machine.SP, c.expectSP);
        EXPECT_EQ(t.machine.jumped, 0);
        for (const auto& [a, value] : c.expectMemory) EXPECT_EQ(readByte(t.machine, a), value) << "address " << a;
        EXPECT_EQ(litPixelsOf(t.frameBuffer), expectedLit);
        if (c.check) c.check(t);
    }
}

TEST(Instructions, CXNNMasksAFreshRandomByte)
{
    TestMachine t;
    std::set<int> seen;
    for (int k = 0; k < 400; ++k) {
        t.loadProgram({0xC50F});
        t.step();
        EXPECT_EQ(t.machine.V[5], headless::lastRandomByte() & 0x0F);
        seen.insert(t.machine.V[5]);
    }
    EXPECT_EQ(seen.size(), 16u) << "every value of 0 .. 15 turns up";
}

// Opcodes that match no row: the step only advances PC by 2.
TEST(Instructions, UnrecognisedOpcodesOnlyAdvance)
{
    const std::uint16_t opcodes[] = {0x0000, 0x000F, 0x0012, 0x00AF, 0x00D5, 0x00E1, 0x00ED, 0x00EF,
                                     0x00F0, 0x00FA, 0x0123, 0x0FFF, 0x8128, 0x812D, 0x812F,
                                     0xE19F, 0xE0A2, 0xE000, 0xF000, 0xF1FF, 0xF131, 0xF256};
    for (std::uint16_t opcode : opcodes) {
        SCOPED_TRACE(testing::Message() << std::hex << opcode);
        TestMachine t;
        t.loadProgram({opcode});
        for (int r = 0; r < 16; ++r) t.machine.V[r] = static_cast<std::uint8_t>(r * 17);
        t.machine.I = 0x345;
        t.machine.SP = 2;
        t.machine.soundTimer = 0;
        xorPixel(t.frameBuffer, 4, 4);
        const MachineState before = t.machine;
        const FrameBuffer pictureBefore = t.frameBuffer;

        t.step();

        MachineState expected = before;
        expected.PC = 0x202;
        EXPECT_EQ(t.machine.memory, expected.memory);
        EXPECT_EQ(t.machine.V, expected.V);
        EXPECT_EQ(t.machine.I, expected.I);
        EXPECT_EQ(t.machine.PC, expected.PC);
        EXPECT_EQ(t.machine.SP, expected.SP);
        EXPECT_EQ(t.machine.stack, expected.stack);
        EXPECT_EQ(t.frameBuffer.pixels, pictureBefore.pixels);
        EXPECT_EQ(t.frameBuffer.columns, pictureBefore.columns);
        EXPECT_EQ(headless::keyboardPolls(), 0);
        EXPECT_TRUE(headless::messageBoxes().empty());
    }
}

TEST(Instructions, ModeSwitchesSetSpeedAndClear)
{
    struct Case {
        std::uint16_t opcode;
        std::int32_t speed;
        std::int32_t columns;
        const char* message; // nullptr: no message box
    };
    const Case cases[] = {
        {0x0010, 20, 64, "WHO deactivated megachip?!"},
        {0x0011, 75, 128, "WHO activated megachip?! I don\xC2\xB4t even.."},
        {0x00FE, 20, 64, nullptr},
        {0x00FF, 75, 128, nullptr},
    };
    for (const Case& c : cases) {
        for (DisplayMode from : {DisplayMode::LowRes, DisplayMode::HighRes}) {
            SCOPED_TRACE(testing::Message() << std::hex << c.opcode);
            TestMachine t;
            t.loadProgram({c.opcode});
            setDisplayMode(t.frameBuffer, from);
            xorPixel(t.frameBuffer, 0, 0);
            t.host.speed = 140;
            t.step();
            EXPECT_EQ(t.host.speed, c.speed);
            EXPECT_EQ(t.frameBuffer.columns, c.columns);
            EXPECT_EQ(t.litPixels(), 0);
            EXPECT_EQ(t.machine.PC, 0x202);
            if (c.message) {
                ASSERT_EQ(headless::messageBoxes().size(), 1u);
                EXPECT_EQ(headless::messageBoxes()[0].caption, "VuzeZizezer");
                EXPECT_EQ(headless::messageBoxes()[0].text, c.message);
            } else {
                EXPECT_TRUE(headless::messageBoxes().empty());
            }
        }
    }
}

TEST(Instructions, RestartReloadsTheRomImage)
{
    ScratchFolder dir;
    TestMachine t;
    // The image: V0 <- 1, then 00FD.
    t.host.romPath = dir.write("restart.ch8", {0x60, 0x01, 0x00, 0xFD});
    t.host.speed = 45;
    loadRomImageSequence(t.machine, t.frameBuffer, t.host);
    t.step(200 + 1);
    ASSERT_EQ(t.machine.V[0], 1);
    writeByte(t.machine, 0x600, 0x99);
    setDisplayMode(t.frameBuffer, DisplayMode::HighRes);

    t.step(); // 00FD
    EXPECT_EQ(t.machine.PC, 0x200);
    EXPECT_EQ(t.machine.V[0], 0);
    EXPECT_EQ(t.machine.delayTimer, 20.0);
    EXPECT_EQ(readByte(t.machine, 0x600), 0);
    EXPECT_EQ(t.frameBuffer.columns, 64);
    EXPECT_EQ(t.host.speed, 45);
    EXPECT_TRUE(headless::messageBoxes().empty());

    t.step(200);
    EXPECT_EQ(t.machine.V[0], 0) << "200 steps of pause come first";
    t.step();
    EXPECT_EQ(t.machine.V[0], 1) << "then the image's first instruction";
}

TEST(Instructions, RestartWithoutAFileReportsAndRunsOverZeros)
{
    TestMachine t;
    t.loadProgram({0x00FD});
    setDisplayMode(t.frameBuffer, DisplayMode::HighRes);
    t.step();
    ASSERT_EQ(headless::messageBoxes().size(), 1u);
    EXPECT_EQ(headless::messageBoxes()[0].caption, "Lumvexor issue detected");
    EXPECT_EQ(t.machine.PC, 0x200);
    EXPECT_EQ(readByte(t.machine, 0x200), 0);
    EXPECT_EQ(t.frameBuffer.columns, 128);
    t.step(201);
    EXPECT_EQ(t.machine.PC, 0x202);
}

TEST(Instructions, FetchReadsPastTheEndOfMemoryModulo32768)
{
    TestMachine t;
    t.loadProgram({0x6A42});
    t.machine.PC = 0x8200;
    t.step();
    EXPECT_EQ(t.machine.V[0xA], 0x42);
    EXPECT_EQ(t.machine.PC, 0x8202) << "PC itself is not masked";
}

TEST(Instructions, SelfModifiedCodeRunsTheNewBytes)
{
    TestMachine t;
    // Store V0..V1 = 61 77 over the instruction at 0x206, then run it.
    t.loadProgram({0xA206, 0xF155, 0x0000, 0x0000});
    t.machine.V[0] = 0x61;
    t.machine.V[1] = 0x77;
    t.step(4);
    EXPECT_EQ(t.machine.V[1], 0x77);
    EXPECT_EQ(t.machine.PC, 0x208);
    t.machine.V[1] = 0;
    t.machine.PC = 0x204;
    t.step(2);
    EXPECT_EQ(t.machine.V[1], 0x77);
}

TEST(Decoding, TextsOfInstructionsAndRows)
{
    const std::pair<std::uint16_t, std::string_view> opcodes[] = {
        {0x0000, "0000"}, {0x0A0B, "0A0B"}, {0xD01A, "D01A"}, {0xFFFF, "FFFF"}, {0x12EF, "12EF"}};
    for (const auto& [value, text] : opcodes) {
        const OpcodeText op = opcodeText(value >> 8, value & 0xFF);
        EXPECT_EQ(std::string_view(op.data(), op.size()), text);
    }
    const std::pair<std::uint8_t, std::string_view> rows[] = {
        {0x00, "00000000"}, {0x80, "10000000"}, {0x01, "00000001"}, {0xA5, "10100101"}, {0xFF, "11111111"}};
    for (const auto& [byte, text] : rows) {
        const BinaryRowText row = binaryRow(byte);
        EXPECT_EQ(std::string_view(row.data(), row.size()), text);
    }
    const std::pair<std::string_view, std::int32_t> hex[] = {
        {"0", 0}, {"9", 9}, {"A", 10}, {"f", 15}, {"FF", 255}, {"1a", 26}, {"FFF", 4095}, {"2B6", 0x2B6}};
    for (const auto& [text, value] : hex) {
        EXPECT_EQ(parseHex(text), value) << text;
    }
}

} // namespace
} // namespace lumvexor::test
