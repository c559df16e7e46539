#include "core/machine_state.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "toolkit/toolkit.h"

namespace lumvexor {

// Five rows per digit, upper four bits used; the glyph of digit d starts at 5 * d.
const std::array<std::uint8_t, 80> SmallFont = {
    0xF0, 0x90, 0x90, 0x90, 0xF0, // 0
    0x20, 0x60, 0x20, 0x20, 0x70, // 1
    0xF0, 0x10, 0xF0, 0x80, 0xF0, // 2
    0xF0, 0x10, 0xF0, 0x10, 0xF0, // 3
    0x90, 0x90, 0xF0, 0x10, 0x10, // 4
    0xF0, 0x80, 0xF0, 0x10, 0xF0, // 5
    0xF0, 0x80, 0xF0, 0x90, 0xF0, // 6
    0xF0, 0x10, 0x20, 0x40, 0x40, // 7
    0xF0, 0x90, 0xF0, 0x90, 0xF0, // 8
    0xF0, 0x90, 0xF0, 0x10, 0xF0, // 9
    0xF0, 0x90, 0xF0, 0x90, 0x90, // A
    0xE0, 0x90, 0xE0, 0x90, 0xE0, // B
    0xF0, 0x80, 0x80, 0x80, 0xF0, // C
    0xE0, 0x90, 0x90, 0x90, 0xE0, // D
    0xF0, 0x80, 0xF0, 0x80, 0xF0, // E
    0xF0, 0x80, 0xF0, 0x80, 0x80, // F
};

// Ten rows per digit, all eight bits used; the glyph of digit d starts at 80 + 10 * d.
const std::array<std::uint8_t, 160> LargeFont = {
    0x7E, 0xFF, 0xE3, 0xD3, 0xD3, 0xD3, 0xCB, 0xC7, 0xFF, 0x7E, // 0
    0x08, 0x18, 0x38, 0x78, 0x18, 0x18, 0x18, 0x18, 0x3C, 0x7E, // 1
    0x7E, 0xFF, 0xC3, 0x06, 0x0C, 0x18, 0x30, 0x60, 0xFF, 0xFF, // 2
    0xFE, 0x7F, 0x03, 0x03, 0xFF, 0xFF, 0x03, 0x03, 0x7F, 0xFE, // 3
    0x07, 0x0F, 0x1B, 0x33, 0x63, 0xFF, 0xFF, 0x03, 0x03, 0x03, // 4
    0xFF, 0xFF, 0xC0, 0xFE, 0xFF, 0x83, 0x03, 0xC3, 0xFF, 0x3E, // 5
    0x7C, 0xFF, 0xC3, 0xC0, 0xFE, 0xFF, 0xC3, 0xC3, 0xFF, 0x3C, // 6
    0xFF, 0x7F, 0x03, 0x06, 0x0C, 0x18, 0x30, 0x60, 0xC0, 0xC0, // 7
    0x7E, 0xFF, 0xC3, 0xC3, 0x7E, 0x7E, 0xC3, 0xC3, 0xFF, 0x7E, // 8
    0x3C, 0xFF, 0xC3, 0xC3, 0xFF, 0x7F, 0x03, 0xC3, 0xFF, 0x3E, // 9
    0x7E, 0xFF, 0xC3, 0xC3, 0xFF, 0xFF, 0xC3, 0xC3, 0xC3, 0xC3, // A
    0xFE, 0xFF, 0xC3, 0xC3, 0xFE, 0xFE, 0xC3, 0xC3, 0xFF, 0xFE, // B
    0x3E, 0x7F, 0xE0, 0xC0, 0xC0, 0xC0, 0xC0, 0xE0, 0x7F, 0x3E, // C
    0xFC, 0xFE, 0xC3, 0xC3, 0xC3, 0xC3, 0xC3, 0xC3, 0xFE, 0xFC, // D
    0x7E, 0xFF, 0xC0, 0xC0, 0xFF, 0xFE, 0xC0, 0xC0, 0xFF, 0x7E, // E
    0x7F, 0xFE, 0xC0, 0xC0, 0xFE, 0xFC, 0xC0, 0xC0, 0xC0, 0xC0, // F
};

namespace {

std::size_t memoryIndex(std::int32_t address)
{
    return static_cast<std::uint32_t>(address) % static_cast<std::uint32_t>(MemorySize);
}

// Only a regular file is opened: opening a FIFO would wait for a writer for good,
// and a directory or a device holds no program.
bool isReadableRegularFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && !error;
}

void reportUnopenableFile()
{
    toolkit::showMessageBox("Lumvexor issue detected",
                            "The selected file does not exist anymore or is not accessable.");
}

} // namespace

void clearMemory(MachineState& machine)
{
    machine.memory.fill(0);
    std::copy(SmallFont.begin(), SmallFont.end(), machine.memory.begin());
    std::copy(LargeFont.begin(), LargeFont.end(), machine.memory.begin() + LargeFontStart);
}

void resetMachine(MachineState& machine, FrameBuffer& frameBuffer)
{
    machine.PC = ProgramStart;
    machine.V.fill(0);
    machine.stack.fill(0);
    machine.SP = 0;
    machine.I = 0;
    machine.jumped = 0;
    // Holds a freshly reset machine for 200 steps before its first instruction.
    machine.delayTimer = 20.0;
    machine.soundTimer = 0;
    clearFrameBuffer(frameBuffer);
}

void loadRomImage(MachineState& machine, FrameBuffer& frameBuffer, HostValues& host,
                  const std::string& path)
{
    host.bootMode = 0;
    std::ifstream file;
    if (isReadableRegularFile(path)) {
        file.open(path, std::ios::binary);
    }
    if (!file.is_open()) {
        reportUnopenableFile();
        return;
    }
    setDisplayMode(frameBuffer, DisplayMode::LowRes);
    // The bytes go in as they stand, from 0x200 on; a longer file is cut off at the
    // end of memory and its rest is never read. Bytes not delivered stay zero.
    file.read(reinterpret_cast<char*>(machine.memory.data() + ProgramStart), MaxRomImageSize);
}

void loadBootProgram(MachineState& machine, FrameBuffer& frameBuffer, HostValues& host)
{
    host.bootMode = 1;
    setDisplayMode(frameBuffer, DisplayMode::LowRes);
    std::copy(BootProgram.begin(), BootProgram.end(), machine.memory.begin() + ProgramStart);
}

void loadRomImageSequence(MachineState& machine, FrameBuffer& frameBuffer, HostValues& host)
{
    clearMemory(machine);
    resetMachine(machine, frameBuffer);
    loadRomImage(machine, frameBuffer, host, host.romPath);
}

void loadBootProgramSequence(MachineState& machine, FrameBuffer& frameBuffer, HostValues& host)
{
    clearMemory(machine);
    resetMachine(machine, frameBuffer);
    loadBootProgram(machine, frameBuffer, host);
}

std::uint8_t readByte(const MachineState& machine, std::int32_t address)
{
    return machine.memory[memoryIndex(address)];
}

void writeByte(MachineState& machine, std::int32_t address, std::int32_t value)
{
    machine.memory[memoryIndex(address)] = static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace lumvexor
