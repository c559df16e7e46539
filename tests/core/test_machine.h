#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/execution.h"
#include "core/frame_buffer.h"
#include "core/host_values.h"
#include "core/machine_state.h"
#include "tests/support/scratch_folder.h"
#include "toolkit/headless/headless.h"

namespace lumvexor::test {

// The three records the shell owns, over a freshly reset scripted toolkit.
struct TestMachine {
    MachineState machine;
    FrameBuffer frameBuffer;
    HostValues host;

    TestMachine() { headless::reset(); }

    // Start-up's load sequence.
    void startUp()
    {
        loadBootProgramSequence(machine, frameBuffer, host);
    }

    // A program written from 0x200 after a reset, with the reset pause already over.
    void loadProgram(std::initializer_list<std::uint16_t> instructions)
    {
        clearMemory(machine);
        resetMachine(machine, frameBuffer);
        setDisplayMode(frameBuffer, DisplayMode::LowRes);
        std::int32_t address = ProgramStart;
        for (std::uint16_t instruction : instructions) {
            writeByte(machine, address, instruction >> 8);
            writeByte(machine, address + 1, instruction & 0xFF);
            address += 2;
        }
        machine.delayTimer = 0.0;
    }

    void step(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            executeStep(machine, frameBuffer, host);
        }
    }

    int litPixels() const
    {
        int count = 0;
        for (std::int32_t x = 0; x < frameBuffer.columns; ++x) {
            for (std::int32_t y = 0; y < frameBuffer.rows; ++y) {
                count += pixelAt(frameBuffer, x, y) == PixelLit ? 1 : 0;
            }
        }
        return count;
    }
};

} // namespace lumvexor::test
