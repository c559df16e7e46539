// The command line, the exit statuses and the messages, and the restart that
// reloads the ROM image by its path.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/tools/tool_runner.h"

namespace headless_tool_test {
namespace {

constexpr const char* Usage = "usage: lumvexor-headless";

TEST(HeadlessCommandLine, UsageErrorsEndWithStatus2)
{
    const ScratchFolder scratch;
    const std::string rom = scratch.write("rom.ch8", romOf({0x00E0}));
    const std::vector<std::vector<std::string>> cases = {
        {"--steps"},
        {"--steps", "x"},
        {"--steps", "-1"},
        {"--steps", "12x"},
        {"--steps", "+5"},
        {"--steps", "99999999999999999999999"},
        {"--seed", "abc"},
        {"--seed", "4294967296"},
        {"--seed"},
        {"--bogus"},
        {"-x"},
        {"--benchmark=1"},
        {rom, rom},
        {"--hold", "G@1-2"},
        {"--hold", "11@1-2"},
        {"--hold", "1@0-2"},
        {"--hold", "1@5-2"},
        {"--hold", "1@1"},
        {"--hold", "1-2"},
        {"--hold", "@1-2"},
        {"--hold", "1@a-b"},
        {"--hold"},
        {"--trace"},
        {"--tones"},
        {"--memory"},
        {"--screen"},
        {"--screen", scratch.file("screen.bmp")},
        {"--benchmark", "--trace", "-"},
        {"--benchmark", "--tones", scratch.file("tones.txt")},
    };
    for (std::vector<std::string> arguments : cases) {
        std::string shown;
        for (const std::string& word : arguments) {
            shown += word + " ";
        }
        SCOPED_TRACE(shown);
        arguments.push_back("--steps=10"); // never reached: the error comes first
        const ToolResult result = runTool(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(Usage), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST(HeadlessCommandLine, HelpGoesToStandardOutput)
{
    const ToolResult result = runTool({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.rfind(Usage, 0), 0u) << result.out;
}

TEST(HeadlessCommandLine, OptionsTakeTheirValueAfterAnEqualsSignToo)
{
    const ScratchFolder scratch;
    const std::string rom = scratch.write("rom.ch8", {});
    const ToolResult result = runTool({"--steps=210", "--trace=-", "--hold=5@1-2", rom});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(parseTrace(result.out).size(), 10u);
}

TEST(HeadlessCommandLine, StepsCountPauseStepsAndDefaultTo100000)
{
    // An empty ROM image runs over zeros: every step after the reset pause is a line.
    const ScratchFolder scratch;
    const std::string rom = scratch.write("empty.ch8", {});
    struct Case {
        std::vector<std::string> steps;
        std::uint64_t lastStep; // 0: no line
        std::size_t lines;
    };
    const std::vector<Case> cases = {
        {{}, 100000, 99800},
        {{"--steps", "250"}, 250, 50},
        {{"--steps", "201"}, 201, 1},
        {{"--steps", "200"}, 0, 0},
        {{"--steps", "0"}, 0, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.steps;
        arguments.insert(arguments.end(), {"--trace", scratch.file("trace.txt"), rom});
        SCOPED_TRACE(arguments[0]);
        const ToolResult result = runTool(arguments);
        ASSERT_EQ(result.status, 0) << result.err;
        const std::vector<TraceLine> lines = parseTrace(scratch.read("trace.txt"));
        ASSERT_EQ(lines.size(), c.lines);
        if (!lines.empty()) {
            EXPECT_EQ(lines.back().step, c.lastStep);
            EXPECT_EQ(lines.front().step, 201u);
        }
    }
}

TEST(HeadlessCommandLine, AFileThatCannotBeWrittenEndsWithStatus1)
{
    const ScratchFolder scratch;
    const std::string rom = scratch.write("rom.ch8", romOf({0x00E0}));
    const std::string nowhere = scratch.file("no-such-folder");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--trace", nowhere + "/trace.txt"},
        {"--tones", nowhere + "/tones.txt"},
        {"--screen", nowhere + "/screen.txt"},
        {"--screen", nowhere + "/screen.png"},
        {"--memory", nowhere + "/memory.bin"},
    };
    for (const auto& [option, path] : cases) {
        SCOPED_TRACE(option + " " + path);
        const ToolResult result = runTool({"--steps", "300", option, path, rom});
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find("cannot write '" + path + "'"), std::string::npos) << result.err;
    }
}

TEST(HeadlessMessages, MegaChipGreetingsArePrintedAndTheRunGoesOn)
{
    const ScratchFolder scratch;
    const std::string rom = scratch.write("megachip.ch8", romOf({0x0011, 0x0010, 0x00E0}));
    const ToolResult result = runTool({"--steps", "203", "--trace", "-", rom});
    ASSERT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "VuzeZizezer: WHO activated megachip?! I don\u00B4t even..\n"
                          "VuzeZizezer: WHO deactivated megachip?!\n");
    const std::vector<TraceLine> lines = parseTrace(result.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].opcode, "00E0");
}

TEST(HeadlessRestart, 00FDReloadsTheRomImageFromItsPath)
{
    // The program overwrites its first instruction (6012 becomes 1212), then
    // restarts: after the reset pause the file's 6012 is back at 0x200.
    const ScratchFolder scratch;
    const std::vector<std::uint8_t> program = romOf({0x6012, 0xA200, 0xF055, 0x00FD});
    scratch.write("restart.ch8", program);
    // A relative path is reloaded relative to the folder the tool runs in.
    const ToolResult result =
        runTool({"--steps", "405", "--trace", "-", "--memory", "memory.bin", "restart.ch8"},
                scratch.path());
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::vector<TraceLine> lines = parseTrace(result.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[3].step, 204u);
    EXPECT_EQ(lines[3].opcode, "00FD");
    EXPECT_EQ(lines[3].v.substr(0, 2), "12");
    EXPECT_EQ(lines[4].step, 204u + 200u + 1u);
    EXPECT_EQ(lines[4].pc, "0200");
    EXPECT_EQ(lines[4].opcode, "6012");
    EXPECT_EQ(lines[4].v, std::string(32, '0'));
    EXPECT_EQ(lines[4].i, "0000");
    const std::string memory = scratch.read("memory.bin");
    ASSERT_EQ(memory.size(), 32768u);
    EXPECT_EQ(memory.substr(0x200, program.size()), std::string(program.begin(), program.end()));
}

} // namespace
} // namespace headless_tool_test
