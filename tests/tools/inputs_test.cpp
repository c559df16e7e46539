// What the run feeds the machine (held keys) and what it hears from it (tones).
#include <gtest/gtest.h>

#include "tests/tools/tool_runner.h"

namespace headless_tool_test {
namespace {

struct HeldKeyCase {
    const char* key; // as written on the command line
    int value;       // what FX0A stores
};

TEST(HeadlessKeys, AHeldKeyReachesFX0AAtTheFirstStepOfItsRange)
{
    const ScratchFolder scratch;
    const std::string rom = scratch.write("wait.ch8", romOf({0xF50A, 0x00E0, 0x1202}));
    const std::vector<HeldKeyCase> cases = {
        {"0", 0x00}, {"7", 0x07}, {"A", 0x0A}, {"c", 0x0C}, {"D", 0x0D}, {"F", 0x0F}, {"10", 0x10},
    };
    for (const HeldKeyCase& c : cases) {
        SCOPED_TRACE(c.key);
        const ToolResult result = runTool(
            {"--steps", "320", "--hold", std::string(c.key) + "@300-310", "--trace", "-", rom});
        ASSERT_EQ(result.status, 0) << result.err;
        const std::vector<TraceLine> lines = parseTrace(result.out);
        ASSERT_EQ(lines.size(), 120u);
        for (const TraceLine& line : lines) {
            if (line.step <= 300) {
                ASSERT_EQ(line.pc, "0200") << "step " << line.step;
                ASSERT_EQ(line.v.substr(10, 2), "00") << "step " << line.step;
            } else {
                ASSERT_NE(line.pc, "0200") << "step " << line.step;
                char expected[3];
                std::snprintf(expected, sizeof expected, "%02X", c.value);
                ASSERT_EQ(line.v.substr(10, 2), expected) << "step " << line.step;
            }
        }
    }
}

struct SkipCase {
    std::uint16_t keyInstruction; // with V0 = 7
    bool skipsWhileDown;
};

TEST(HeadlessKeys, EX9EAndEXA1SeeTheKeyExactlyWithinItsRanges)
{
    // 200: V0 = 7; 202: the key instruction; 204 and 206 both jump back to it, so
    // the next line tells whether it skipped.
    const std::vector<SkipCase> cases = {{0xE09E, true}, {0xE0A1, false}};
    // Key 7 from 250 to 270 (two holds that overlap) and at 300 alone; key 8 for good.
    const std::vector<std::string> holds = {"--hold", "7@250-260", "--hold", "7@255-270",
                                            "--hold", "7@300-300", "--hold", "8@1-1000"};
    const auto keyDown = [](std::uint64_t step) {
        return (step >= 250 && step <= 270) || step == 300;
    };
    const ScratchFolder scratch;
    for (const SkipCase& c : cases) {
        SCOPED_TRACE(c.keyInstruction);
        const std::string rom =
            scratch.write("skip.ch8", romOf({0x6007, c.keyInstruction, 0x1202, 0x1202}));
        std::vector<std::string> arguments = {"--steps", "400", "--trace", "-", rom};
        arguments.insert(arguments.end(), holds.begin(), holds.end());
        const ToolResult result = runTool(arguments);
        ASSERT_EQ(result.status, 0) << result.err;
        const std::vector<TraceLine> lines = parseTrace(result.out);
        int skips = 0;
        for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
            if (lines[k].pc != "0202") {
                continue;
            }
            const bool skipped = lines[k + 1].pc == "0206";
            ASSERT_EQ(skipped, keyDown(lines[k].step) == c.skipsWhileDown)
                << "step " << lines[k].step;
            skips += skipped ? 1 : 0;
        }
        EXPECT_GT(skips, 0);
    }
}

struct TonesCase {
    const char* name;
    std::vector<std::uint8_t> rom;
    std::string expected;
};

TEST(HeadlessTones, OneLinePerRequestWithItsStepAndRate)
{
    const std::vector<TonesCase> cases = {
        {"FX18 with 3", romOf({0x6003, 0xF018, 0x00E0, 0x00E0, 0x00E0, 0x120A}),
         "202 45200\n203 45100\n204 45000\n"},
        // FX15 with 2 at step 204 holds the machine for 20 steps without a request.
        {"a pause in the run", romOf({0x6005, 0xF018, 0x6102, 0xF115, 0x00E0, 0x00E0, 0x120C}),
         "202 45400\n203 45300\n204 45200\n225 45100\n226 45000\n"},
        {"FX18 with 0", romOf({0xF018, 0x1202}), ""},
    };
    const ScratchFolder scratch;
    for (const TonesCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string rom = scratch.write("tones.ch8", c.rom);
        const std::string tones = scratch.file("tones.txt");
        const ToolResult result = runTool({"--steps", "400", "--tones", tones, rom});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(readWholeFile(tones), c.expected);
    }
}

TEST(HeadlessTones, AWaitingFX0AKeepsRequestingOnEveryStep)
{
    const ScratchFolder scratch;
    const std::string rom = scratch.write("wait.ch8", romOf({0x6004, 0xF018, 0xF10A}));
    const std::string tones = scratch.file("tones.txt");
    const ToolResult result = runTool({"--steps", "210", "--tones", tones, "--trace", "-", rom});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(readWholeFile(tones), "202 45300\n203 45200\n204 45100\n205 45000\n");
    EXPECT_EQ(parseTrace(result.out).size(), 10u);
}

} // namespace
} // namespace headless_tool_test
