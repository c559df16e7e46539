#pragma once

#include <cstdint>

#include "core/frame_buffer.h"
#include "core/host_values.h"
#include "core/machine_state.h"
#include "shell/presentation.h"

namespace lumvexor {

// Everything the emulator owns for the whole run, one instance.
struct Shell {
    MachineState machine;
    FrameBuffer frameBuffer; // 128 x 64 and dark until the first load
    HostValues host;
    std::int64_t nextTime = 0;  // the clock must pass this before a step is counted
    std::int32_t sliceCount = 0; // steps counted in the current slice
    Sprites sprites;
};

enum class Outcome { Continue, Exit };

inline constexpr const char* WindowTitle = "Lumvexor - Quorvane 2011-2016";
inline constexpr int FrameRate = 30;

// Start-up after the toolkit has started: services, tone, window with its menu bar
// and screen, frame rate, sprites, the clock's start, the built-in program, speed.
// False when the main window could not be opened.
bool startUp(Shell& shell);

// One pass of the main loop: one pending item, or, when nothing is pending, a slice
// of speed steps and a frame.
Outcome runPass(Shell& shell);

// Steps while the clock has passed nextTime and fewer than speed were counted.
void runSlice(Shell& shell);

// The menu bar (built only on a window that has one) and its commands.
void buildMenuBar();
Outcome carryOutCommand(Shell& shell, int itemId);

// The whole program: start-up, the loop, the exit path. The exit code.
int runEmulator();

} // namespace lumvexor
