#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/frame_buffer.h"
#include "core/host_values.h"

namespace lumvexor {

inline constexpr std::int32_t MemorySize = 0x8000;
inline constexpr std::int32_t ProgramStart = 0x200;
inline constexpr std::int32_t StackDepth = 33;
inline constexpr std::int32_t LargeFontStart = 0x50;
inline constexpr std::int32_t RegisterStore = 0xF0; // FX75 and FX85 save and restore here
// A ROM image fills at most the program area, 0x200 .. 0x7FFF.
inline constexpr std::int32_t MaxRomImageSize = MemorySize - ProgramStart;
inline constexpr std::int32_t BootProgramSize = 291;

extern const std::array<std::uint8_t, 80> SmallFont;
extern const std::array<std::uint8_t, 160> LargeFont;
extern const std::array<std::uint8_t, BootProgramSize> BootProgram;

// The whole virtual machine but its picture. The memory is part of the record,
// so once the record exists nothing can fail to be obtained.
struct MachineState {
    std::array<std::uint8_t, MemorySize> memory{};
    std::array<std::uint8_t, 16> V{};
    std::int32_t I = 0;
    std::int32_t PC = 0;
    std::array<std::int32_t, StackDepth> stack{};
    std::int32_t SP = 0;       // entries in use; stack[SP] is the next free one
    double delayTimer = 0.0;
    std::int32_t soundTimer = 0;
    std::int32_t jumped = 0;   // 1 once an instruction has written PC itself
};

// A program is always loaded by clearMemory, resetMachine, then one of the loads.
void clearMemory(MachineState& machine);
void resetMachine(MachineState& machine, FrameBuffer& frameBuffer);
void loadRomImage(MachineState& machine, FrameBuffer& frameBuffer, HostValues& host,
                  const std::string& path);
void loadBootProgram(MachineState& machine, FrameBuffer& frameBuffer, HostValues& host);

// The two whole load sequences: the ROM image at host.romPath (Open ROM image, Reset
// game, 00FD), and the built-in program (start-up).
void loadRomImageSequence(MachineState& machine, FrameBuffer& frameBuffer, HostValues& host);
void loadBootProgramSequence(MachineState& machine, FrameBuffer& frameBuffer, HostValues& host);

// Every memory access goes through these two. An address outside 0x0000 .. 0x7FFF,
// taken as an unsigned 32-bit value, is reduced modulo 32768.
std::uint8_t readByte(const MachineState& machine, std::int32_t address);
void writeByte(MachineState& machine, std::int32_t address, std::int32_t value);

// Address arithmetic wraps as 32-bit two's complement: PC and I may grow for
// billions of steps.
constexpr std::int32_t addressPlus(std::int32_t address, std::int32_t offset)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(address) +
                                     static_cast<std::uint32_t>(offset));
}

} // namespace lumvexor
