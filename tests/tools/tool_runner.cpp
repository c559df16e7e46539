#include "tests/tools/tool_runner.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <thread>

#include "core/machine_state.h"

extern char** environ;

namespace headless_tool_test {

namespace {

// In the child, between fork and exec: standard streams, folder, user, then the
// tool itself through a descriptor opened before the user was given up, so the
// user nobody needs no access to the folders on the tool's path.
[[noreturn]] void execTool(int toolFd, char* const* argv, int outFd, int errFd,
                           const std::filesystem::path& workingDirectory, bool asNobody)
{
    const int nullFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const bool ready =
        nullFd >= 0 && ::dup2(nullFd, 0) == 0 && ::dup2(outFd, 1) == 1 && ::dup2(errFd, 2) == 2 &&
        (workingDirectory.empty() || ::chdir(workingDirectory.c_str()) == 0) &&
        (!asNobody || (::setgroups(0, nullptr) == 0 && ::setgid(NobodyId) == 0 &&
                       ::setuid(NobodyId) == 0));
    if (ready) {
        ::fexecve(toolFd, argv, environ);
    }
    _exit(127);
}

} // namespace

ToolResult runTool(const std::vector<std::string>& arguments,
                   const std::filesystem::path& workingDirectory, bool asNobody)
{
    const ScratchFolder streams;
    const std::string outPath = streams.file("stdout");
    const std::string errPath = streams.file("stderr");

    std::vector<std::string> words{LUMVEXOR_HEADLESS};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    ToolResult result;
    const int toolFd = ::open(LUMVEXOR_HEADLESS, O_RDONLY | O_CLOEXEC);
    const int outFd = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int errFd = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t child = toolFd >= 0 && outFd >= 0 && errFd >= 0 ? ::fork() : -1;
    if (child == 0) {
        execTool(toolFd, argv.data(), outFd, errFd, workingDirectory, asNobody);
    }
    for (const int fd : {toolFd, outFd, errFd}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    if (child < 0) {
        ADD_FAILURE() << "cannot start " << LUMVEXOR_HEADLESS;
        return result;
    }
    // A run that hangs fails here instead of stopping the whole suite.
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + ToolTimeout;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            ADD_FAILURE() << "lumvexor-headless did not end within "
                          << ToolTimeout.count() << " s";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = readWholeFile(outPath);
    result.err = readWholeFile(errPath);
    return result;
}

std::string memoryAfterLoading(const std::vector<std::uint8_t>& program)
{
    std::string memory(lumvexor::MemorySize, '\0');
    std::copy(lumvexor::SmallFont.begin(), lumvexor::SmallFont.end(), memory.begin());
    std::copy(lumvexor::LargeFont.begin(), lumvexor::LargeFont.end(),
              memory.begin() + lumvexor::LargeFontStart);
    std::copy(program.begin(), program.end(), memory.begin() + lumvexor::ProgramStart);
    return memory;
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
