// Fuzz target: the execution step, from an arbitrary memory image and a machine
// state that a program can reach, for up to 2000 steps, each one checked.
//
// The input is a memory image followed by a trailer of TrailerSize bytes that sets
// the rest of the state. An input no longer than the trailer is all memory image,
// with a trailer of zeros: so any ROM file is an input, run from 0x200 at once, in
// LowRes, for 2000 steps.
//
// Trailer, byte by byte (integers little-endian):
//   0      flags: bit 0 the image is the whole memory from 0x000 (else it is placed
//          at 0x200 over what clearMemory leaves); bit 1 HighRes; bits 2-3 PC
//          (0: 0x200, 1: the raw value modulo 0x8000, 2: 0x7FFFFFFF less the raw
//          value's low 6 bits, 3: the raw value); bits 4-5 romPath (0: empty, 1: a
//          file holding the image's first bytes, 2: a missing file, 3: a folder);
//          bit 6 the main window in the background; bit 7 bootMode 1
//   1      bit 0: speed 75 instead of 20; bit 1: then the start-up load puts the
//          built-in program at 0x200 (bootMode 1, LowRes)
//   2-17   V0 .. VF
//   18-21  I
//   22-25  PC, raw
//   26     SP, modulo 34
//   27-158 the 33 stack entries
//   159    N, the delay timer's last FX15 value; 160-161 how many pause steps
//          (modulo the pause's length plus one) have lowered it since
//   162    the sound timer
//   163-165 which of the keypad map's 18 keys are held, one bit each
//   166    one more scan code held, any, 0 for none
//   167-170 the random seed
//   171-172 steps: 2000 less this modulo 2000
//   173    how many of the image's first bytes the romPath file holds
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/keypad.h"
#include "fuzz/machine_checks.h"
#include "fuzz/scratch_folder.h"
#include "toolkit/headless/headless.h"

namespace {

using namespace lumvexor;
using lumvexor::fuzz::Machine;

constexpr std::size_t TrailerSize = 174;
constexpr int MaxSteps = 2000;

class Trailer {
public:
    explicit Trailer(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint8_t byte(std::size_t at) const { return at < bytes_.size() ? bytes_[at] : 0; }
    std::uint32_t word(std::size_t at, int size = 4) const
    {
        std::uint32_t value = 0;
        for (int k = size - 1; k >= 0; --k) {
            value = value << 8 | byte(at + static_cast<std::size_t>(k));
        }
        return value;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

// The values a delay timer set to n by FX15 (or 20 by a reset) takes while the
// pause runs: n with -0.1 added k times, for k up to the last addition.
double pausedDelayTimer(std::uint8_t n, std::uint32_t stepsTaken)
{
    std::uint32_t length = 0;
    for (double value = n; value > 0.0; value += -0.1) {
        ++length;
    }
    double value = n;
    for (std::uint32_t k = stepsTaken % (length + 1); k > 0; --k) {
        value += -0.1;
    }
    return value;
}

std::int32_t startPC(std::uint8_t form, std::uint32_t raw)
{
    switch (form) {
    case 0: return ProgramStart;
    case 1: return static_cast<std::int32_t>(raw % MemorySize);
    case 2: return static_cast<std::int32_t>(0x7FFFFFFFu - (raw & 0x3F));
    default: return static_cast<std::int32_t>(raw);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    const bool hasTrailer = size > TrailerSize;
    const std::span<const std::uint8_t> image = hasTrailer ? input.first(size - TrailerSize) : input;
    const Trailer trailer(hasTrailer ? input.last(TrailerSize) : std::span<const std::uint8_t>{});

    headless::reset();
    auto owner = std::make_unique<Machine>();
    Machine& m = *owner;
    MachineState& s = m.machine;

    const std::uint8_t flags = trailer.byte(0);
    if ((flags & 1) != 0) {
        const std::size_t n = std::min<std::size_t>(image.size(), MemorySize);
        std::copy_n(image.begin(), n, s.memory.begin());
    } else {
        clearMemory(s);
        const std::size_t n = std::min<std::size_t>(image.size(), MaxRomImageSize);
        std::copy_n(image.begin(), n, s.memory.begin() + ProgramStart);
    }
    setDisplayMode(m.frameBuffer, (flags & 2) != 0 ? DisplayMode::HighRes : DisplayMode::LowRes);
    if ((trailer.byte(1) & 2) != 0) {
        loadBootProgram(s, m.frameBuffer, m.host);
    }

    for (std::size_t k = 0; k < 16; ++k) {
        s.V[k] = trailer.byte(2 + k);
    }
    s.I = static_cast<std::int32_t>(trailer.word(18));
    s.PC = startPC((flags >> 2) & 3, trailer.word(22));
    s.SP = trailer.byte(26) % (StackDepth + 1);
    for (std::size_t k = 0; k < StackDepth; ++k) {
        s.stack[k] = static_cast<std::int32_t>(trailer.word(27 + 4 * k));
    }
    s.delayTimer = pausedDelayTimer(trailer.byte(159), trailer.word(160, 2));
    s.soundTimer = trailer.byte(162);
    s.jumped = 0;

    fuzz::Surroundings surroundings;
    surroundings.startSpeed = (trailer.byte(1) & 1) != 0 ? HighResSpeed : NormalSpeed;
    m.host.speed = surroundings.startSpeed;
    m.host.bootMode = (trailer.byte(1) & 2) != 0 ? 1 : (flags >> 7) & 1;
    switch ((flags >> 4) & 3) {
    case 0: break; // romPath empty: 00FD fails to load
    case 1: {
        const std::span<const std::uint8_t> rom =
            image.first(std::min<std::size_t>(image.size(), trailer.byte(173)));
        m.host.romPath = fuzz::writeScratchFile("rom.ch8", rom);
        surroundings.romImage.emplace(rom.begin(), rom.end());
        break;
    }
    case 2: m.host.romPath = (fuzz::scratchFolder() / "missing.ch8").string(); break;
    default: m.host.romPath = fuzz::scratchFolder().string(); break;
    }

    const std::uint32_t held = trailer.word(163, 3);
    for (std::size_t k = 0; k < KeypadMap.size(); ++k) {
        if ((held >> k & 1) != 0) {
            headless::holdScanCode(KeypadMap[k].scanCode, true);
        }
    }
    if (trailer.byte(166) != 0) {
        headless::holdScanCode(trailer.byte(166), true);
    }
    headless::setWindowActive((flags & 0x40) == 0);
    headless::seedRandom(trailer.word(167));

    fuzz::checkBetweenSteps(m);
    const int steps = MaxSteps - static_cast<int>(trailer.word(171, 2) % MaxSteps);
    for (int k = 0; k < steps; ++k) {
        fuzz::stepAndCheck(m, surroundings);
    }
    return 0;
}
