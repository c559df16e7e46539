#include "tools/run.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>

#include "core/execution.h"
#include "core/keypad.h"
#include "toolkit/headless/headless.h"

namespace headless_runner {

namespace {

using lumvexor::MachineState;

// A held keypad key is held through its first keyboard binding.
int scanCodeOf(std::uint8_t key)
{
    const auto binding =
        std::find_if(lumvexor::KeypadMap.begin(), lumvexor::KeypadMap.end(),
                     [key](const lumvexor::KeyBinding& b) { return b.key == key; });
    return binding->scanCode;
}

bool holdCovers(const KeyHold& hold, std::uint64_t step)
{
    return hold.from <= step && step <= hold.to;
}

// Presses and releases the keys as they stand at `step`, then finds the next step
// at which that changes.
void applyHolds(HoldSchedule& schedule, std::uint64_t step)
{
    for (const KeyHold& hold : schedule.holds) {
        const bool down =
            std::any_of(schedule.holds.begin(), schedule.holds.end(), [&](const KeyHold& other) {
                return other.key == hold.key && holdCovers(other, step);
            });
        headless::holdScanCode(scanCodeOf(hold.key), down);
    }
    std::uint64_t next = std::numeric_limits<std::uint64_t>::max();
    for (const KeyHold& hold : schedule.holds) {
        if (hold.from > step) {
            next = std::min(next, hold.from);
        }
        if (hold.to >= step && hold.to < std::numeric_limits<std::uint64_t>::max()) {
            next = std::min(next, hold.to + 1);
        }
    }
    schedule.nextChange = next == std::numeric_limits<std::uint64_t>::max() ? 0 : next;
}

constexpr char HexDigits[] = "0123456789ABCDEF";

char* writeHexByte(char* out, std::uint8_t byte)
{
    out[0] = HexDigits[byte >> 4];
    out[1] = HexDigits[byte & 0xF];
    return out + 2;
}

// printf("%04X") of the value taken as unsigned 32-bit: at least four digits.
char* writeAddress(char* out, std::int32_t address)
{
    const auto value = static_cast<std::uint32_t>(address);
    int digits = 4;
    while (digits < 8 && (value >> (4 * digits)) != 0) {
        ++digits;
    }
    for (int k = digits - 1; k >= 0; --k) {
        *out++ = HexDigits[(value >> (4 * k)) & 0xF];
    }
    return out;
}

template <typename Integer>
char* writeDecimal(char* out, Integer value)
{
    return std::to_chars(out, out + 24, value).ptr;
}

// printf("%.17g") of the delay timer. While instructions execute it keeps one value
// for long stretches, so the text of the last value is kept.
struct DelayTimerText {
    std::uint64_t bits = 0;
    bool known = false;
    int length = 0;
    char text[32] = {};
};

char* writeDelayTimer(char* out, double delayTimer, DelayTimerText& cache)
{
    const auto bits = std::bit_cast<std::uint64_t>(delayTimer);
    if (!cache.known || cache.bits != bits) {
        cache.length = std::snprintf(cache.text, sizeof cache.text, "%.17g", delayTimer);
        cache.bits = bits;
        cache.known = true;
    }
    std::memcpy(out, cache.text, static_cast<std::size_t>(cache.length));
    return out + cache.length;
}

// <step> <PC> <OpcodeText> <V> <I> <SP> <delayTimer> <soundTimer>, as before the step.
lumvexor::OpcodeText opcodeAtPC(const MachineState& machine)
{
    return lumvexor::opcodeText(lumvexor::readByte(machine, machine.PC),
                                lumvexor::readByte(machine, lumvexor::addressPlus(machine.PC, 1)));
}

char* writeTraceState(char* out, std::uint64_t step, const MachineState& machine,
                      const lumvexor::OpcodeText& op, DelayTimerText& delayText)
{
    out = writeDecimal(out, step);
    *out++ = ' ';
    out = writeAddress(out, machine.PC);
    *out++ = ' ';
    out = std::copy(op.begin(), op.end(), out);
    *out++ = ' ';
    for (std::uint8_t value : machine.V) {
        out = writeHexByte(out, value);
    }
    *out++ = ' ';
    out = writeAddress(out, machine.I);
    *out++ = ' ';
    out = writeDecimal(out, machine.SP);
    *out++ = ' ';
    out = writeDelayTimer(out, machine.delayTimer, delayText);
    *out++ = ' ';
    return writeDecimal(out, machine.soundTimer);
}

// The tone request of this step, if it made one, as "<step> <rate>". A step makes
// at most one: the sound timer counts down once.
void recordTone(OutputFile& tones, std::uint64_t step, long long& reported)
{
    const long long requests = headless::toneRequestCount();
    if (requests == reported) {
        return;
    }
    reported = requests;
    char* out = lineStart(tones);
    out = writeDecimal(out, step);
    *out++ = ' ';
    out = writeDecimal(out, headless::lastToneRequest().rate);
    *out++ = '\n';
    commitLine(tones, out);
}

void runRecorded(Machine& m, std::uint64_t steps, HoldSchedule& holds, Recorders recorders)
{
    MachineState& machine = m.machine;
    DelayTimerText delayText;
    long long tonesReported = headless::toneRequestCount();
    for (std::uint64_t done = 0; done < steps; ++done) {
        const std::uint64_t step = done + 1;
        if (step == holds.nextChange) {
            applyHolds(holds, step);
        }
        // A step executes an instruction exactly when the delay timer is not above zero.
        if (recorders.trace != nullptr && machine.delayTimer <= 0.0) {
            const lumvexor::OpcodeText op = opcodeAtPC(machine);
            char* out = writeTraceState(lineStart(*recorders.trace), step, machine, op, delayText);
            const long drawsBefore = headless::randomDraws();
            lumvexor::executeStep(machine, m.frameBuffer, m.host);
            if (op[0] == 'C' && headless::randomDraws() != drawsBefore) {
                *out++ = ' ';
                *out++ = 'R';
                out = writeHexByte(out, static_cast<std::uint8_t>(headless::lastRandomByte()));
            }
            *out++ = '\n';
            commitLine(*recorders.trace, out);
        } else {
            lumvexor::executeStep(machine, m.frameBuffer, m.host);
        }
        if (recorders.tones != nullptr) {
            recordTone(*recorders.tones, step, tonesReported);
        }
    }
}

} // namespace

char* writeStateLine(char* out, const Machine& m, std::uint64_t number)
{
    DelayTimerText delayText;
    return writeTraceState(out, number, m.machine, opcodeAtPC(m.machine), delayText);
}

HoldSchedule makeHoldSchedule(const std::vector<KeyHold>& holds)
{
    HoldSchedule schedule{holds, 0};
    if (!holds.empty()) {
        schedule.nextChange = 1;
    }
    return schedule;
}

void runSteps(Machine& m, std::uint64_t steps, HoldSchedule& holds, Recorders recorders)
{
    if (recorders.trace != nullptr || recorders.tones != nullptr) {
        runRecorded(m, steps, holds, recorders);
        return;
    }
    for (std::uint64_t done = 0; done < steps; ++done) {
        if (done + 1 == holds.nextChange) {
            applyHolds(holds, done + 1);
        }
        lumvexor::executeStep(m.machine, m.frameBuffer, m.host);
    }
}

} // namespace headless_runner
