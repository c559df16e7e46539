#include "core/timers.h"

#include <cmath>

#include "toolkit/toolkit.h"

namespace lumvexor {

bool stepDelayTimer(MachineState& machine)
{
    if (machine.delayTimer > 0.0) {
        machine.delayTimer += -0.1;
        return true;
    }
    return false;
}

void stepSoundTimer(MachineState& machine)
{
    if (machine.soundTimer <= 0) {
        return;
    }
    --machine.soundTimer;
    toolkit::setToneRate(machine.soundTimer * 100 + ToneBaseRate);
    toolkit::playTone(ToneVolume);
}

std::uint8_t delayTimerValue(const MachineState& machine)
{
    // Rounded half away from zero, low 8 bits.
    return static_cast<std::uint8_t>(std::llround(machine.delayTimer) & 0xFF);
}

} // namespace lumvexor
