#pragma once

#include <cstdint>
#include <string>

namespace lumvexor {

// Steps per slice that start-up, Open and the switch to the 64 x 32 display set,
// and that the switch to the 128 x 64 display sets.
inline constexpr std::int32_t NormalSpeed = 20;
inline constexpr std::int32_t HighResSpeed = 75;

// Values the shell owns for the whole run and the machine reads and writes:
// the loads set bootMode, the display-mode switches set speed, 00FD reloads romPath.
struct HostValues {
    std::int32_t speed = 0;    // machine steps per slice
    std::int32_t bootMode = 0; // 1 while the built-in program is the loaded program
    std::string romPath;       // the ROM image last chosen by the user; empty until then
};

} // namespace lumvexor
