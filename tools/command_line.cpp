#include "tools/command_line.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

namespace headless_runner {

namespace {

constexpr const char* Usage =
    "usage: lumvexor-headless [options] [ROM]\n"
    "Runs a ROM image, or the built-in program without one, with no window, no sound\n"
    "and no pacing.\n"
    "  --steps N           calls of the execution step to make (default 100000)\n"
    "  --seed N            seed of the random source (default 1)\n"
    "  --hold KEY@FROM-TO  hold keypad key KEY (0-F, or 10 for key 16) from step FROM\n"
    "                      to step TO, both included, counted from 1; repeatable\n"
    "  --trace FILE        one line per executed instruction (- : standard output)\n"
    "  --tones FILE        one line per tone request: <step> <rate>\n"
    "  --screen FILE       the picture at the end, as FILE.txt or FILE.png; repeatable\n"
    "  --memory FILE       the 32768 bytes of memory at the end\n"
    "  --state FILE        the registers at the end, one line in the trace's format\n"
    "                      led by the number of steps (- : standard output)\n"
    "  --benchmark         run with nothing recorded and print the steps per second\n"
    "  --help              show this text\n";

// Plain decimal digits: no sign, no space, no base prefix, no overflow.
template <typename Number>
std::optional<Number> parseDecimal(std::string_view text)
{
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// One hexadecimal digit, either case, or "10" for key 16.
std::optional<std::uint8_t> parseKeypadKey(std::string_view text)
{
    if (text == "10") {
        return 16;
    }
    if (text.size() != 1 || !std::isxdigit(static_cast<unsigned char>(text[0]))) {
        return std::nullopt;
    }
    const char digit = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return static_cast<std::uint8_t>(digit <= '9' ? digit - '0' : digit - 'A' + 10);
}

// KEY@FROM-TO with 1 <= FROM <= TO.
std::optional<KeyHold> parseHold(std::string_view text)
{
    const std::size_t at = text.find('@');
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view range = text.substr(at + 1);
    const std::size_t dash = range.find('-');
    if (dash == std::string_view::npos) {
        return std::nullopt;
    }
    const auto key = parseKeypadKey(text.substr(0, at));
    const auto from = parseDecimal<std::uint64_t>(range.substr(0, dash));
    const auto to = parseDecimal<std::uint64_t>(range.substr(dash + 1));
    if (!key || !from || !to || *from == 0 || *from > *to) {
        return std::nullopt;
    }
    return KeyHold{*key, *from, *to};
}

bool endsWithIgnoringCase(std::string_view text, std::string_view ending)
{
    return text.size() >= ending.size() &&
           std::equal(ending.begin(), ending.end(),
                      text.end() - static_cast<std::ptrdiff_t>(ending.size()), [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

std::optional<ScreenFormat> screenFormatOf(std::string_view path)
{
    if (endsWithIgnoringCase(path, ".txt")) {
        return ScreenFormat::Text;
    }
    if (endsWithIgnoringCase(path, ".png")) {
        return ScreenFormat::Png;
    }
    return std::nullopt;
}

bool takesValue(std::string_view option)
{
    return option == "--steps" || option == "--seed" || option == "--hold" || option == "--trace" ||
           option == "--tones" || option == "--screen" || option == "--memory" ||
           option == "--state";
}

// A word after an option that itself looks like an option is no value: "--trace
// --steps=10" is a mistake, not a trace file named "--steps=10". "-" (standard
// output) is a value, and "--trace=-odd" still names any file.
bool looksLikeAnOption(std::string_view word)
{
    return word.size() > 1 && word[0] == '-';
}

// Applies one option that takes a value; false with `problem` set when it is no good.
bool applyValue(Options& options, std::string_view option, std::string_view value,
                std::string& problem)
{
    const auto bad = [&](const char* what) {
        problem =
            std::string(what) + " for " + std::string(option) + ": '" + std::string(value) + "'";
        return false;
    };
    if (option == "--steps") {
        const auto steps = parseDecimal<std::uint64_t>(value);
        if (!steps) {
            return bad("not a number of steps");
        }
        options.steps = *steps;
    } else if (option == "--seed") {
        const auto seed = parseDecimal<std::uint32_t>(value);
        if (!seed) {
            return bad("not a seed from 0 to 4294967295");
        }
        options.seed = *seed;
    } else if (option == "--hold") {
        const auto hold = parseHold(value);
        if (!hold) {
            return bad("not KEY@FROM-TO (KEY 0-F or 10, 1 <= FROM <= TO)");
        }
        options.holds.push_back(*hold);
    } else if (value.empty()) {
        return bad("an empty file name");
    } else if (option == "--trace") {
        options.tracePath = value;
    } else if (option == "--tones") {
        options.tonesPath = value;
    } else if (option == "--screen") {
        const auto format = screenFormatOf(value);
        if (!format) {
            return bad("a file name ending in neither .txt nor .png");
        }
        options.screens.push_back({std::string(value), *format});
    } else if (option == "--memory") {
        options.memoryPath = value;
    } else if (option == "--state") {
        options.statePath = value;
    }
    return true;
}

} // namespace

std::optional<Options> parseCommandLine(std::span<char* const> arguments, std::string& problem)
{
    Options options;
    bool optionsEnded = false;
    for (std::size_t k = 0; k < arguments.size(); ++k) {
        const std::string_view argument = arguments[k];
        const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        if (!isOption) {
            if (options.romPath) {
                problem = "more than one ROM image: '" + *options.romPath + "' and '" +
                          std::string(argument) + "'";
                return std::nullopt;
            }
            options.romPath = std::string(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        // --option=value is accepted beside --option value.
        const std::size_t equals = argument.find('=');
        const std::string_view option = argument.substr(0, equals);
        if (takesValue(option)) {
            std::string_view value;
            if (equals != std::string_view::npos) {
                value = argument.substr(equals + 1);
            } else if (k + 1 < arguments.size() && !looksLikeAnOption(arguments[k + 1])) {
                value = arguments[++k];
            } else {
                problem = "missing value for " + std::string(option);
                return std::nullopt;
            }
            if (!applyValue(options, option, value, problem)) {
                return std::nullopt;
            }
        } else if (equals == std::string_view::npos && argument == "--benchmark") {
            options.benchmark = true;
        } else if (equals == std::string_view::npos && (argument == "--help" || argument == "-h")) {
            options.help = true;
        } else {
            problem = "unknown option '" + std::string(argument) + "'";
            return std::nullopt;
        }
    }
    // A benchmark records nothing while it runs.
    if (options.benchmark && (!options.tracePath.empty() || !options.tonesPath.empty())) {
        problem = "--benchmark records nothing: it cannot be combined with --trace or --tones";
        return std::nullopt;
    }
    return options;
}

const char* usageText()
{
    return Usage;
}

} // namespace headless_runner
