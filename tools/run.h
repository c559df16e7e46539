#pragma once

// Running the machine as fast as the step allows: the held keys, the trace and the
// tone requests, step by step.

#include <cstdint>
#include <vector>

#include "core/frame_buffer.h"
#include "core/host_values.h"
#include "core/machine_state.h"
#include "tools/command_line.h"
#include "tools/output_file.h"

namespace headless_runner {

// The three records the emulator's shell owns, one instance each.
struct Machine {
    lumvexor::MachineState machine;
    lumvexor::FrameBuffer frameBuffer;
    lumvexor::HostValues host;
};

// The held keys, and the next step at which one of them goes down or up (0: never).
struct HoldSchedule {
    std::vector<KeyHold> holds;
    std::uint64_t nextChange = 0;
};

HoldSchedule makeHoldSchedule(const std::vector<KeyHold>& holds);

// Where the run writes down what happens; a null file records nothing.
struct Recorders {
    OutputFile* trace = nullptr;
    OutputFile* tones = nullptr;
};

// Writes the machine's state at `out` in the trace's format, led by `number`, with
// no newline, and returns its end; it fits within OutputFile::MaxLine:
// <number> <PC> <OpcodeText at PC> <V0..VF> <I> <SP> <delayTimer> <soundTimer>.
char* writeStateLine(char* out, const Machine& machine, std::uint64_t number);

// Makes `steps` calls of the execution step, numbered from 1.
void runSteps(Machine& machine, std::uint64_t steps, HoldSchedule& holds, Recorders recorders);

} // namespace headless_runner
