// The trace: one line per executed instruction, the state as it was before it.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/tools/tool_runner.h"

namespace headless_tool_test {
namespace {

std::string hex4(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

TEST(HeadlessTrace, FirstLineAfterLoadingARom)
{
    const ScratchFolder scratch;
    const std::string rom = scratch.write("clear.ch8", romOf({0x00E0}));
    const ToolResult result = runTool({"--steps", "201", "--trace", "-", rom});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "201 0200 00E0 00000000000000000000000000000000 0000 0 -1.5293322164211531e-14 0\n");
    EXPECT_EQ(result.err, "");
}

TEST(HeadlessTrace, ShowsEveryFieldInOrderAsBeforeTheInstruction)
{
    // Sixteen distinct registers, I, a call and a running sound timer.
    const ScratchFolder scratch;
    const std::string rom = scratch.write("fields.ch8", romOf({
        0x60A0, 0x61A1, 0x62A2, 0x63A3, 0x64A4, 0x65A5, 0x66A6, 0x67A7, // 200 ..
        0x68A8, 0x69A9, 0x6AAA, 0x6BAB, 0x6CAC, 0x6DAD, 0x6EAE, 0x6FAF, // .. 21E
        0xAABC, // 220: I = ABC
        0x2226, // 222: call 226
        0x0000, // 224
        0xF418, // 226: sound timer = V4 = A4, counted down once in the same step
        0x00E0, // 228
    }));
    const std::string trace = scratch.file("trace.txt");
    const ToolResult result = runTool({"--steps", "220", "--trace", trace, rom});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<TraceLine> lines = parseTrace(readWholeFile(trace));
    ASSERT_EQ(lines.size(), 20u);

    const TraceLine& first = lines.front();
    EXPECT_EQ(first.v, std::string(32, '0'));
    const TraceLine& last = lines.back();
    EXPECT_EQ(last.step, 220u);
    EXPECT_EQ(last.pc, "0228");
    EXPECT_EQ(last.opcode, "00E0");
    EXPECT_EQ(last.v, "A0A1A2A3A4A5A6A7A8A9AAABACADAEAF");
    EXPECT_EQ(last.i, "0ABC");
    EXPECT_EQ(last.sp, "1");
    EXPECT_EQ(last.soundTimer, std::to_string(0xA4 - 1));
    // The instruction's own effect shows only on the next line.
    const TraceLine& call = lines[lines.size() - 3];
    EXPECT_EQ(call.opcode, "2226");
    EXPECT_EQ(call.pc, "0222");
    EXPECT_EQ(call.sp, "0");
}

TEST(HeadlessTrace, PauseStepsMakeNoLine)
{
    // FX15 with 5 holds the machine for 51 steps.
    const ScratchFolder scratch;
    const std::string rom = scratch.write("pause.ch8", romOf({0x6005, 0xF015, 0x00E0, 0x00E0}));
    const ToolResult result = runTool({"--steps", "300", "--trace", "-", rom});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<TraceLine> lines = parseTrace(result.out);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0].step, 201u);
    EXPECT_EQ(lines[1].step, 202u);
    EXPECT_EQ(lines[1].opcode, "F015");
    EXPECT_EQ(lines[2].step, 203u + 51u);
    EXPECT_EQ(lines[2].pc, "0204");
    EXPECT_EQ(lines[3].step, 203u + 52u);
    EXPECT_EQ(lines[0].delayTimer, printed17g(delayAfterPause(20.0)));
    EXPECT_EQ(lines[2].delayTimer, printed17g(delayAfterPause(5.0)));
    // The rest runs over zeros, one instruction a step.
    EXPECT_EQ(lines.size(), 2u + (300u - 253u));
}

TEST(HeadlessTrace, IndexIsPrintedInAtLeastFourHexDigits)
{
    // I grows by 255 per pass from 0xFFF, past 0xFFFF.
    const ScratchFolder scratch;
    const std::string rom = scratch.write("index.ch8", romOf({0xAFFF, 0x60FF, 0xF01E, 0x1204}));
    const ToolResult result = runTool({"--steps", "1000", "--trace", "-", rom});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<TraceLine> lines = parseTrace(result.out);
    ASSERT_EQ(lines.size(), 800u);
    // 201: AFFF at 200, 202: 60FF at 202, then F01E at 204 and 1204 at 206 in turn.
    const auto expectedPC = [](std::uint64_t step) -> std::uint32_t {
        if (step <= 202) {
            return 0x200 + 2 * static_cast<std::uint32_t>(step - 201);
        }
        return (step - 203) % 2 == 0 ? 0x204 : 0x206;
    };
    std::uint32_t expectedI = 0;
    bool sawFiveDigits = false;
    for (const TraceLine& line : lines) {
        ASSERT_EQ(line.i, hex4(expectedI)) << "step " << line.step;
        ASSERT_EQ(line.pc, hex4(expectedPC(line.step))) << "step " << line.step;
        if (line.opcode == "AFFF") {
            expectedI = 0xFFF;
        } else if (line.opcode == "F01E") {
            expectedI += 0xFF;
        }
        sawFiveDigits = sawFiveDigits || line.i.size() == 5;
    }
    EXPECT_TRUE(sawFiveDigits);
}

TEST(HeadlessTrace, RandomByteOnlyOnCXNN)
{
    const ScratchFolder scratch;
    const std::string rom =
        scratch.write("random.ch8", romOf({0xC0FF, 0xC10F, 0x6200, 0xD011, 0x1200}));
    const ToolResult result = runTool({"--steps", "600", "--trace", "-", rom});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<TraceLine> lines = parseTrace(result.out);
    ASSERT_EQ(lines.size(), 400u);
    for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
        const TraceLine& line = lines[k];
        ASSERT_EQ(line.random.has_value(), line.opcode[0] == 'C') << "step " << line.step;
        if (!line.random) {
            continue;
        }
        // The drawn byte, masked by NN, is what V[X] holds on the next line.
        const int drawn = std::stoi(*line.random, nullptr, 16);
        const int x = line.opcode[1] - '0';
        const int mask = std::stoi(line.opcode.substr(2), nullptr, 16);
        const int next =
            std::stoi(lines[k + 1].v.substr(static_cast<std::size_t>(2 * x), 2), nullptr, 16);
        ASSERT_EQ(next, drawn & mask) << "step " << line.step;
    }
}

TEST(HeadlessTrace, TheSeedMakesRunsRepeat)
{
    const ScratchFolder scratch;
    const std::string rom = scratch.write("random.ch8", romOf({0xC0FF, 0x1200}));
    const auto randomBytes = [&](std::vector<std::string> seedArguments) {
        seedArguments.insert(seedArguments.end(), {"--steps", "400", "--trace", "-", rom});
        const ToolResult result = runTool(seedArguments);
        EXPECT_EQ(result.status, 0) << result.err;
        std::string bytes;
        for (const TraceLine& line : parseTrace(result.out)) {
            bytes += line.random.value_or("");
        }
        return bytes;
    };
    const std::string seven = randomBytes({"--seed", "7"});
    EXPECT_EQ(seven.size(), 2u * 100u);
    EXPECT_EQ(randomBytes({"--seed", "7"}), seven);
    EXPECT_NE(randomBytes({"--seed", "8"}), seven);
    EXPECT_EQ(randomBytes({}), randomBytes({"--seed", "1"}));
    EXPECT_NE(randomBytes({}), seven);
}

TEST(HeadlessTrace, BuiltInProgramRunsWithoutARom)
{
    const ToolResult result = runTool({"--steps", "202", "--trace", "-"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<TraceLine> lines = parseTrace(result.out);
    ASSERT_EQ(lines.size(), 2u);
    // The built-in program begins by switching to 128 x 64 and jumping over its text.
    EXPECT_EQ(lines[0].opcode, "00FF");
    EXPECT_EQ(lines[1].pc, "0202");
    EXPECT_EQ(lines[1].opcode, "1242");
}

} // namespace
} // namespace headless_tool_test
