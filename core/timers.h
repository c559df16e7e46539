#pragma once

#include <array>
#include <cstdint>

#include "core/machine_state.h"

namespace lumvexor {

// The tone: a RIFF/WAVE image of 0.2 s of a 600 Hz sine, 44100 samples per second.
inline constexpr std::size_t ToneSampleSize = 17720;
extern const std::array<std::uint8_t, ToneSampleSize> ToneSample;

inline constexpr int ToneBaseRate = 45000;
inline constexpr int ToneVolume = 25;

// The delay timer holds the machine: while it is above zero a step only lowers it
// by 0.1. True when the step was spent so.
bool stepDelayTimer(MachineState& machine);
// Ends every executed step: while the sound timer runs, it counts down and the
// tone restarts, 100 samples per second lower each time.
void stepSoundTimer(MachineState& machine);

// FX07: always 0 when an instruction executes, as the timer then lies in (-0.1, 0].
std::uint8_t delayTimerValue(const MachineState& machine);

} // namespace lumvexor
