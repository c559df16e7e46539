#include "tests/tools/tool_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

extern char** environ;

namespace headless_tool_test {

Scratch::Scratch()
{
    std::random_device device;
    path_ = std::filesystem::temp_directory_path() /
            ("lumvexor-headless-test-" + std::to_string(device()) + std::to_string(device()));
    std::filesystem::create_directories(path_);
}

Scratch::~Scratch()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string Scratch::write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
{
    const std::string path = file(name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string Scratch::read(const std::string& name) const
{
    return readWholeFile(file(name));
}

std::string readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

ToolResult runTool(const std::vector<std::string>& arguments,
                   const std::filesystem::path& workingDirectory)
{
    const Scratch streams;
    const std::string outPath = streams.file("stdout");
    const std::string errPath = streams.file("stderr");

    std::vector<std::string> words{LUMVEXOR_HEADLESS};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    if (!workingDirectory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
    }
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);

    ToolResult result;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << argv[0];
        return result;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = readWholeFile(outPath);
    result.err = readWholeFile(errPath);
    return result;
}

std::vector<std::uint8_t> romOf(std::initializer_list<std::uint16_t> instructions)
{
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t instruction : instructions) {
        bytes.push_back(static_cast<std::uint8_t>(instruction >> 8));
        bytes.push_back(static_cast<std::uint8_t>(instruction & 0xFF));
    }
    return bytes;
}

std::optional<std::string> suiteRom(const std::string& name)
{
    const std::filesystem::path path =
        std::filesystem::path(LUMVEXOR_ROMS) / "chip8-test-suite" / name;
    if (!std::filesystem::is_regular_file(path)) {
        return std::nullopt;
    }
    return path.string();
}

std::vector<TraceLine> parseTrace(const std::string& text)
{
    std::vector<TraceLine> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream words(line);
        for (std::string word; std::getline(words, word, ' ');) {
            fields.push_back(word);
        }
        if (fields.size() != 8 && fields.size() != 9) {
            ADD_FAILURE() << "not a trace line: '" << line << "'";
            continue;
        }
        TraceLine parsed;
        parsed.step = std::stoull(fields[0]);
        parsed.pc = fields[1];
        parsed.opcode = fields[2];
        parsed.v = fields[3];
        parsed.i = fields[4];
        parsed.sp = fields[5];
        parsed.delayTimer = fields[6];
        parsed.soundTimer = fields[7];
        if (fields.size() == 9) {
            EXPECT_EQ(fields[8].size(), 3u) << line;
            EXPECT_EQ(fields[8][0], 'R') << line;
            parsed.random = fields[8].substr(1);
        }
        lines.push_back(parsed);
    }
    return lines;
}

std::string printed17g(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

double delayAfterPause(double start)
{
    double delay = start;
    while (delay > 0.0) {
        delay += -0.1;
    }
    return delay;
}

} // namespace headless_tool_test
