#pragma once

// Runs the built lumvexor-headless as a separate process and reads back what it
// wrote: its exit status, standard output and standard error, and its files.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/rom_bytes.h"
#include "tests/support/scratch_folder.h"

namespace headless_tool_test {

struct ToolResult {
    int status = -1; // the exit status; 128 + n when signal n ended it
    std::string out;
    std::string err;
};

using lumvexor::test::readWholeFile;
using lumvexor::test::romOf;
using lumvexor::test::ScratchFolder;

// The user and group id of nobody, whom root becomes to meet file permissions.
inline constexpr unsigned NobodyId = 65534;
// A run that takes longer fails the test and is ended.
inline constexpr std::chrono::seconds ToolTimeout{120};

// The tool with these arguments, standard input empty, in `workingDirectory` when
// one is given, as the user nobody when `asNobody` (which needs root).
ToolResult runTool(const std::vector<std::string>& arguments,
                   const std::filesystem::path& workingDirectory = {}, bool asNobody = false);

// Memory as a load sequence leaves it: the fonts, then `program` from 0x200.
std::string memoryAfterLoading(const std::vector<std::uint8_t>& program);

// A ROM of the test suite in the shared folder, when it is there.
std::optional<std::string> suiteRom(const std::string& name);

// One line of the trace, split into its fields.
struct TraceLine {
    std::uint64_t step = 0;
    std::string pc;
    std::string opcode;
    std::string v;
    std::string i;
    std::string sp;
    std::string delayTimer;
    std::string soundTimer;
    std::optional<std::string> random; // the two digits after R
};

// Every line of a trace; a line that does not have the trace's shape fails the test.
std::vector<TraceLine> parseTrace(const std::string& text);

// printf("%.17g") of a value, as the trace prints the delay timer.
std::string printed17g(double value);

// The delay timer as it stands when a pause that began at `start` is over: the
// steps lower it by the double nearest to 0.1 while it is above zero.
double delayAfterPause(double start);

} // namespace headless_tool_test
