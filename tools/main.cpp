// lumvexor-headless: runs a ROM image, or the built-in program, on the emulator's
// machine core through the scripted toolkit: no window, no sound, no pacing.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "core/machine_state.h"
#include "toolkit/headless/headless.h"
#include "tools/command_line.h"
#include "tools/final_state.h"
#include "tools/run.h"

namespace {

using namespace headless_runner;

constexpr int Success = 0;
constexpr int Failure = 1; // a ROM image that cannot be opened, a file that cannot be written
constexpr int UsageError = 2;

void reportProblem(const std::string& problem)
{
    std::fprintf(stderr, "lumvexor-headless: %s\n", problem.c_str());
}

// The load sequences of start-up and of Open ROM image. False when the ROM image
// could not be opened; its message box has been shown then.
bool loadProgram(Machine& m, const Options& options)
{
    if (!options.romPath) {
        lumvexor::loadBootProgramSequence(m.machine, m.frameBuffer, m.host);
    } else {
        m.host.romPath = *options.romPath;
        const long long boxesBefore = headless::messageBoxCount();
        lumvexor::loadRomImageSequence(m.machine, m.frameBuffer, m.host);
        if (headless::messageBoxCount() != boxesBefore) {
            return false;
        }
    }
    m.host.speed = lumvexor::NormalSpeed;
    return true;
}

void runBenchmark(Machine& m, const Options& options, HoldSchedule& holds)
{
    const auto start = std::chrono::steady_clock::now();
    runSteps(m, options.steps, holds, {});
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const double seconds = elapsed.count();
    const double rate = seconds > 0.0 ? static_cast<double>(options.steps) / seconds : 0.0;
    std::printf("%llu steps in %.6f s: %.0f steps/s\n",
                static_cast<unsigned long long>(options.steps), seconds, rate);
}

// Runs with the trace and tones files open; false when one of them cannot be written.
bool runRecording(Machine& m, const Options& options, HoldSchedule& holds)
{
    std::string problem;
    const auto trace = std::make_unique<OutputFile>();
    const auto tones = std::make_unique<OutputFile>();
    Recorders recorders;
    if (!options.tracePath.empty()) {
        if (!openOutputFile(*trace, options.tracePath, true, problem)) {
            reportProblem(problem);
            return false;
        }
        recorders.trace = trace.get();
    }
    if (!options.tonesPath.empty()) {
        if (!openOutputFile(*tones, options.tonesPath, false, problem)) {
            reportProblem(problem);
            closeOutputFile(*trace, problem);
            return false;
        }
        recorders.tones = tones.get();
    }
    runSteps(m, options.steps, holds, recorders);
    bool written = true;
    for (OutputFile* output : {recorders.trace, recorders.tones}) {
        if (output != nullptr && !closeOutputFile(*output, problem)) {
            reportProblem(problem);
            written = false;
        }
    }
    return written;
}

bool writeFinalState(const Machine& m, const Options& options)
{
    std::string problem;
    bool written = true;
    for (const ScreenOutput& screen : options.screens) {
        const bool ok = screen.format == ScreenFormat::Png
                            ? writeScreenPicture(m, screen.path, problem)
                            : writeScreenText(m, screen.path, problem);
        if (!ok) {
            reportProblem(problem);
            written = false;
        }
    }
    if (!options.memoryPath.empty() && !writeMemory(m, options.memoryPath, problem)) {
        reportProblem(problem);
        written = false;
    }
    if (!options.statePath.empty() && !writeState(m, options.steps, options.statePath, problem)) {
        reportProblem(problem);
        written = false;
    }
    return written;
}

} // namespace

int main(int argc, char** argv)
{
    std::string problem;
    const auto options =
        parseCommandLine({argv + 1, static_cast<std::size_t>(argc > 0 ? argc - 1 : 0)}, problem);
    if (!options) {
        reportProblem(problem);
        std::fputs(usageText(), stderr);
        return UsageError;
    }
    if (options->help) {
        std::fputs(usageText(), stdout);
        return Success;
    }

    // Message boxes are printed and dismissed at once; nothing is kept of them or of
    // the tone requests beyond counts, so runs of any length stay in the same memory.
    headless::reset();
    headless::setMessageBoxEcho(true);
    headless::setKeepRecords(false);
    headless::seedRandom(options->seed);

    const auto m = std::make_unique<Machine>();
    if (!loadProgram(*m, *options)) {
        return Failure;
    }
    HoldSchedule holds = makeHoldSchedule(options->holds);
    if (options->benchmark) {
        runBenchmark(*m, *options, holds);
    } else if (!runRecording(*m, *options, holds)) {
        return Failure;
    }
    return writeFinalState(*m, *options) ? Success : Failure;
}
