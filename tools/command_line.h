#pragma once

// The command line of lumvexor-headless: what to run, for how long, with which keys
// held, and what to write down.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace headless_runner {

inline constexpr std::uint64_t DefaultSteps = 100000;
inline constexpr std::uint32_t DefaultSeed = 1;

// Keypad key `key` is held from step `from` to step `to`, both included; steps are
// counted from 1, the first call of the execution step after loading.
struct KeyHold {
    std::uint8_t key; // 0 .. 16
    std::uint64_t from;
    std::uint64_t to;
};

enum class ScreenFormat { Text, Png };

struct ScreenOutput {
    std::string path;
    ScreenFormat format;
};

struct Options {
    std::optional<std::string> romPath; // the built-in program runs without one
    std::uint64_t steps = DefaultSteps;
    std::uint32_t seed = DefaultSeed;
    std::vector<KeyHold> holds;
    std::string tracePath; // empty: no trace; "-": standard output
    std::string tonesPath;
    std::vector<ScreenOutput> screens; // --screen may be given more than once
    std::string memoryPath;
    std::string statePath; // "-": standard output
    bool benchmark = false;
    bool help = false;
};

// The file name that stands for standard output, for --trace and --state.
inline constexpr std::string_view StandardOutputName = "-";

// The options of argv[1 ..]. An option given twice takes its last value, but
// --hold and --screen add one more each time. Nothing, with the reason in `problem`, when the
// command line is not understood.
std::optional<Options> parseCommandLine(std::span<char* const> arguments, std::string& problem);

// The short usage text, ending in a newline.
const char* usageText();

} // namespace headless_runner
