// The execution step on the workloads that matter for the headless runner: ordinary
// programs (arithmetic, random bytes, skips, small sprites), 16 x 16 sprites, key
// polls, and the built-in program. Each workload loops for good and never starts
// the sound timer, so the scripted toolkit records nothing while it runs.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "core/execution.h"
#include "core/keypad.h"
#include "core/machine_state.h"
#include "toolkit/headless/headless.h"

namespace {

using namespace lumvexor;

struct Machine {
    MachineState machine;
    FrameBuffer frameBuffer;
    HostValues host;
};

// A loaded program whose reset pause is over, over a fresh scripted toolkit.
std::unique_ptr<Machine> machineRunning(std::initializer_list<std::uint16_t> program,
                                        const std::vector<std::uint8_t>& dataAt0x300 = {})
{
    headless::reset();
    auto m = std::make_unique<Machine>();
    clearMemory(m->machine);
    resetMachine(m->machine, m->frameBuffer);
    setDisplayMode(m->frameBuffer, DisplayMode::LowRes);
    std::int32_t address = ProgramStart;
    for (std::uint16_t instruction : program) {
        writeByte(m->machine, address++, instruction >> 8);
        writeByte(m->machine, address++, instruction & 0xFF);
    }
    address = 0x300;
    for (std::uint8_t byte : dataAt0x300) {
        writeByte(m->machine, address++, byte);
    }
    m->machine.delayTimer = 0.0;
    m->host.speed = NormalSpeed;
    return m;
}

void runSteps(benchmark::State& state, Machine& m)
{
    for (auto _ : state) {
        executeStep(m.machine, m.frameBuffer, m.host);
    }
    state.SetItemsProcessed(state.iterations());
}

// One 5-row draw in eleven instructions, beside arithmetic, random bytes and skips.
void mixedProgram(benchmark::State& state)
{
    const auto m = machineRunning({
        0x7101, // 200: V1 += 1
        0x8014, // 202: V0 += V1, carry in VF
        0x8215, // 204: V2 -= V1, borrow in VF
        0xC30F, // 206: V3 = random & 0F
        0x3300, // 208: skip if V3 = 0
        0x8432, // 20A: V4 &= V3
        0x4400, // 20C: skip if V4 != 0
        0x8536, // 20E: V5 >>= 1
        0xF329, // 210: I = small glyph of V3
        0xD675, // 212: draw 5 rows at (V6, V7)
        0x7603, // 214: V6 += 3
        0x9670, // 216: skip if V6 != V7
        0x7702, // 218: V7 += 2
        0x1200, // 21A: again
    });
    runSteps(state, *m);
}
BENCHMARK(mixedProgram);

// Two 16 x 16 draws in every five instructions.
void largeSprites(benchmark::State& state)
{
    std::vector<std::uint8_t> sprite;
    for (int row = 0; row < 16; ++row) {
        sprite.push_back(row % 2 == 0 ? 0xF0 : 0x3C);
        sprite.push_back(row % 3 == 0 ? 0xFF : 0x81);
    }
    const auto m = machineRunning(
        {
            0xA300, // 200: I = the sprite
            0xD010, // 202: draw 16 x 16 at (V0, V1)
            0x7005, // 204: V0 += 5
            0xD120, // 206: draw 16 x 16 at (V1, V2)
            0x7103, // 208: V1 += 3
            0x1202, // 20A: again
        },
        sprite);
    runSteps(state, *m);
}
BENCHMARK(largeSprites);

// A held key read by EX9E, EXA1 and FX0A: each polls the keyboard.
void keyPolls(benchmark::State& state)
{
    const auto m = machineRunning({
        0x6007, // 200: V0 = 7
        0xE09E, // 202: skip if key 7 is down
        0x7101, // 204: (skipped)
        0xE1A1, // 206: skip if key V1 is up
        0x7201, // 208: V2 += 1
        0xF30A, // 20A: wait for a key: key 7 is there
        0x1202, // 20C: again
    });
    headless::holdScanCode(KeypadMap[7].scanCode, true);
    runSteps(state, *m);
}
BENCHMARK(keyPolls);

// The walkers of the built-in program: self-rewritten code, calls, random bytes and
// one-pixel draws.
void builtInProgram(benchmark::State& state)
{
    headless::reset();
    auto m = std::make_unique<Machine>();
    clearMemory(m->machine);
    resetMachine(m->machine, m->frameBuffer);
    loadBootProgram(m->machine, m->frameBuffer, m->host);
    m->host.speed = NormalSpeed;
    runSteps(state, *m);
}
BENCHMARK(builtInProgram);

} // namespace

BENCHMARK_MAIN();
