#pragma once

// What must hold of the machine after every step, whatever program runs, and after
// every load sequence. A broken rule stops the process at once (a trap), with one
// line on standard error saying which rule; libFuzzer then keeps the input.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/frame_buffer.h"
#include "core/host_values.h"
#include "core/machine_state.h"

namespace lumvexor::fuzz {

// The three records the shell owns.
struct Machine {
    MachineState machine;
    FrameBuffer frameBuffer;
    HostValues host;
};

[[noreturn]] void fail(const char* format, ...) __attribute__((format(printf, 1, 2)));

// What the checks need to know of the world outside the machine.
struct Surroundings {
    // The speeds a program can leave: the one it started with, and the two that the
    // display-mode instructions set.
    std::int32_t startSpeed = NormalSpeed;
    // The bytes of the file that romPath names, when it names a readable file;
    // nothing when a load from romPath must fail.
    std::optional<std::vector<std::uint8_t>> romImage;
};

// The rules that hold between any two steps: every pixel dark or lit and none lit
// outside the picture, the picture's sizes one of the two modes, SP within the
// stack, jumped 0, the timers within their ranges, bootMode 0 or 1.
void checkBetweenSteps(const Machine& m);

// The state a load sequence (clearMemory, resetMachine, loadRomImage) leaves: fonts
// in place, the register store and the free area zero, the image from 0x200 and
// zero behind it, registers reset, bootMode 0, the picture dark, and LowRes when
// the file could be read (the mode it had otherwise).
void checkFreshLoad(const Machine& m, const std::optional<std::vector<std::uint8_t>>& image,
                    DisplayMode modeBefore);

// Runs one executeStep and checks it: the rules between steps; a step spent on the
// delay timer lowers it by 0.1 and changes nothing else that is checked; at most
// one tone request, at the rate the new sound timer gives and volume 25; at most
// one message box, with one of the system's captions; speed one of the allowed
// ones; and a step that executed 00FD leaves a fresh load of romPath.
void stepAndCheck(Machine& m, const Surroundings& surroundings);

// The display mode the frame buffer's sizes stand for (checked to be one).
DisplayMode displayModeOf(const FrameBuffer& frameBuffer);

} // namespace lumvexor::fuzz
