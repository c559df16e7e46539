// Fuzz target: loading an arbitrary file as a ROM image, then running it.
//
// The input is the file. It is loaded by the load sequence over a machine left
// in disorder (memory, registers and picture all non-zero, HighRes, bootMode 1),
// the result is checked, and the program then runs for LoadedSteps checked steps.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "fuzz/machine_checks.h"
#include "fuzz/scratch_folder.h"
#include "toolkit/headless/headless.h"

namespace {

using namespace lumvexor;

// The reset's pause, then 400 instructions.
constexpr int LoadedSteps = 600;

void disorder(fuzz::Machine& m)
{
    MachineState& s = m.machine;
    s.memory.fill(0xA5);
    s.V.fill(0x5A);
    s.stack.fill(0x1234);
    s.I = 0x7FFFFFFF;
    s.PC = -2;
    s.SP = StackDepth;
    s.delayTimer = 3.0;
    s.soundTimer = 200;
    m.host.bootMode = 1;
    m.host.speed = HighResSpeed;
    setDisplayMode(m.frameBuffer, DisplayMode::HighRes);
    for (std::int32_t x = 0; x < m.frameBuffer.columns; x += 3) {
        xorPixel(m.frameBuffer, x, x / 2);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    headless::reset();
    auto owner = std::make_unique<fuzz::Machine>();
    fuzz::Machine& m = *owner;
    disorder(m);

    const std::vector<std::uint8_t> file(data, data + size);
    m.host.romPath = fuzz::writeScratchFile("image.ch8", file);

    loadRomImageSequence(m.machine, m.frameBuffer, m.host);

    fuzz::checkFreshLoad(m, file, DisplayMode::HighRes);
    if (!headless::messageBoxes().empty()) {
        fuzz::fail("loading a readable file showed \"%s\"",
                   headless::messageBoxes().front().caption.c_str());
    }

    fuzz::Surroundings surroundings;
    surroundings.startSpeed = m.host.speed;
    surroundings.romImage = file;
    fuzz::checkBetweenSteps(m);
    for (int k = 0; k < LoadedSteps; ++k) {
        fuzz::stepAndCheck(m, surroundings);
    }
    return 0;
}
