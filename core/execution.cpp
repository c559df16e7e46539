#include "core/execution.h"

#include <algorithm>
#include <charconv>

#include "core/keypad.h"
#include "core/timers.h"
#include "toolkit/toolkit.h"

namespace lumvexor {

namespace {

constexpr std::string_view HexDigits = "0123456789ABCDEF";
constexpr std::int32_t FlagRegister = 0xF;

// The text of every byte, two upper-case hexadecimal characters: an instruction's
// text is two look-ups, built once at compile time.
using ByteText = std::array<char, 2>;
constexpr std::array<ByteText, 256> ByteTexts = [] {
    std::array<ByteText, 256> texts{};
    for (std::size_t byte = 0; byte < texts.size(); ++byte) {
        texts[byte] = {HexDigits[byte >> 4], HexDigits[byte & 0xF]};
    }
    return texts;
}();

// The text of every byte as a sprite row, eight "0" and "1" characters.
constexpr std::array<BinaryRowText, 256> BinaryRowTexts = [] {
    std::array<BinaryRowText, 256> texts{};
    for (std::size_t byte = 0; byte < texts.size(); ++byte) {
        for (std::size_t bit = 0; bit < 8; ++bit) {
            texts[byte][bit] = (byte & (0x80u >> bit)) != 0 ? '1' : '0';
        }
    }
    return texts;
}();

// Operand fields, read back from the characters of the instruction.
std::int32_t fieldX(const OpcodeText& op) { return parseHex({&op[1], 1}); }
std::int32_t fieldY(const OpcodeText& op) { return parseHex({&op[2], 1}); }
std::int32_t fieldN(const OpcodeText& op) { return parseHex({&op[3], 1}); }
std::int32_t fieldNN(const OpcodeText& op) { return parseHex({&op[2], 2}); }
std::int32_t fieldNNN(const OpcodeText& op) { return parseHex({&op[1], 3}); }

void skipNext(MachineState& machine)
{
    machine.PC = addressPlus(machine.PC, 2);
}

void jumpTo(MachineState& machine, std::int32_t target)
{
    machine.PC = target;
    machine.jumped = 1;
}

// The stack holds the address of the call itself; the return's normal advance
// moves past it. A call on a full stack or a return on an empty one is not
// performed: the step goes on as for an instruction that matches no row.
void callSubroutine(MachineState& machine, std::int32_t target)
{
    if (machine.SP < 0 || machine.SP >= StackDepth) {
        return;
    }
    machine.stack[machine.SP] = machine.PC;
    ++machine.SP;
    jumpTo(machine, target);
}

void returnFromSubroutine(MachineState& machine)
{
    if (machine.SP <= 0 || machine.SP > StackDepth) {
        return;
    }
    --machine.SP;
    machine.PC = machine.stack[machine.SP];
}

void switchDisplayMode(FrameBuffer& frameBuffer, HostValues& host, DisplayMode mode)
{
    host.speed = mode == DisplayMode::HighRes ? HighResSpeed : NormalSpeed;
    setDisplayMode(frameBuffer, mode);
}

void restartProgram(MachineState& machine, FrameBuffer& frameBuffer, HostValues& host)
{
    loadRomImageSequence(machine, frameBuffer, host);
    machine.jumped = 1; // PC stays at the program start the reset gave it
}

// The rows that do much or run seldom (0NNN, DXYN, EX.., FX..) are kept out of the
// step with noinline, so that the step itself stays small and cheap for the common
// rows.

// 0010 .. 00FF
[[gnu::noinline]] void executeSystemRow(const OpcodeText& op, MachineState& machine,
                                        FrameBuffer& frameBuffer, HostValues& host)
{
    if (op[1] != '0') {
        return;
    }
    switch (op[2]) {
    case '1':
        if (op[3] == '0') { // 0010
            switchDisplayMode(frameBuffer, host, DisplayMode::LowRes);
            toolkit::showMessageBox("VuzeZizezer", "WHO deactivated megachip?!");
        } else if (op[3] == '1') { // 0011
            switchDisplayMode(frameBuffer, host, DisplayMode::HighRes);
            // The accent is U+00B4, not an apostrophe.
            toolkit::showMessageBox("VuzeZizezer", "WHO activated megachip?! I don\u00B4t even..");
        }
        return;
    case 'B': scrollUp(frameBuffer, fieldN(op)); return;   // 00BN
    case 'C': scrollDown(frameBuffer, fieldN(op)); return; // 00CN
    case 'E':
        if (op[3] == '0') { // 00E0
            clearFrameBuffer(frameBuffer);
        } else if (op[3] == 'E') { // 00EE
            returnFromSubroutine(machine);
        }
        return;
    case 'F':
        switch (op[3]) {
        case 'B': scrollRight(frameBuffer); return;                                // 00FB
        case 'C': scrollLeft(frameBuffer); return;                                 // 00FC
        case 'D': restartProgram(machine, frameBuffer, host); return;              // 00FD
        case 'E': switchDisplayMode(frameBuffer, host, DisplayMode::LowRes); return;  // 00FE
        case 'F': switchDisplayMode(frameBuffer, host, DisplayMode::HighRes); return; // 00FF
        default: return;
        }
    default: return;
    }
}

// 8XY0 .. 8XYE. Both operands are read before anything is written, and VF is
// written before V[X], so with X = F the result replaces the flag.
void executeArithmeticRow(const OpcodeText& op, MachineState& machine)
{
    auto& V = machine.V;
    const std::int32_t x = fieldX(op);
    const unsigned a = V[x];
    const unsigned b = V[fieldY(op)];
    const auto setResult = [&](unsigned flag, unsigned result) {
        V[FlagRegister] = static_cast<std::uint8_t>(flag);
        V[x] = static_cast<std::uint8_t>(result);
    };
    switch (op[3]) {
    case '0': V[x] = static_cast<std::uint8_t>(b); return;
    case '1': V[x] = static_cast<std::uint8_t>(a | b); return;
    case '2': V[x] = static_cast<std::uint8_t>(a & b); return;
    case '3': V[x] = static_cast<std::uint8_t>(a ^ b); return;
    case '4': setResult(a + b > 255 ? 1 : 0, a + b); return;
    case '5': setResult(a >= b ? 1 : 0, a - b); return;
    case '6': setResult(a & 1, a >> 1); return;
    case '7': setResult(b >= a ? 1 : 0, b - a); return;
    case 'E': setResult(a >> 7, a << 1); return;
    default: return;
    }
}

// One sprite row of text at row offset j and column offset `left`: each "1"
// toggles its pixel. V[X] and V[Y] are read afresh for every "1", so a coordinate
// in VF follows the flag as the draw changes it.
template <std::size_t Width>
void drawRowText(const std::array<char, Width>& text, std::int32_t left, std::int32_t j,
                 std::int32_t x, std::int32_t y, MachineState& machine, FrameBuffer& frameBuffer)
{
    auto& V = machine.V;
    for (std::size_t i = 0; i < Width; ++i) {
        if (text[i] == '1' &&
            xorPixel(frameBuffer, V[x] + left + static_cast<std::int32_t>(i), V[y] + j)) {
            V[FlagRegister] = 1;
        }
    }
}

// DXYN: N rows of 8 pixels from I, or with N = 0 a 16 x 16 sprite in either mode,
// whose rows are the texts of two bytes side by side.
[[gnu::noinline]] void drawSprite(const OpcodeText& op, MachineState& machine,
                                  FrameBuffer& frameBuffer)
{
    const std::int32_t x = fieldX(op);
    const std::int32_t y = fieldY(op);
    const std::int32_t n = fieldN(op);
    machine.V[FlagRegister] = 0;
    if (n == 0) {
        for (std::int32_t j = 0; j < 16; ++j) {
            const std::int32_t address = addressPlus(machine.I, 2 * j);
            const BinaryRowText left = binaryRow(readByte(machine, address));
            const BinaryRowText right = binaryRow(readByte(machine, addressPlus(address, 1)));
            drawRowText(left, 0, j, x, y, machine, frameBuffer);
            drawRowText(right, 8, j, x, y, machine, frameBuffer);
        }
        return;
    }
    for (std::int32_t j = 0; j < n; ++j) {
        const BinaryRowText row = binaryRow(readByte(machine, addressPlus(machine.I, j)));
        drawRowText(row, 0, j, x, y, machine, frameBuffer);
    }
}

// FX33: the decimal text of V[X], padded to three characters, one digit a byte.
void storeDecimalDigits(const OpcodeText& op, MachineState& machine)
{
    std::array<char, 3> digits{'0', '0', '0'};
    std::array<char, 3> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), machine.V[fieldX(op)]);
    std::copy_backward(text.data(), result.ptr, digits.end());
    for (std::int32_t k = 0; k < 3; ++k) {
        writeByte(machine, addressPlus(machine.I, k), digits[k] - '0');
    }
}

// EX9E, EXA1
[[gnu::noinline]] void executeKeyRow(const OpcodeText& op, MachineState& machine)
{
    const std::int32_t key = machine.V[fieldX(op)];
    if (op[2] == '9' && op[3] == 'E') {
        if (isKeypadKeyDown(key) == 1) {
            skipNext(machine);
        }
    } else if (op[2] == 'A' && op[3] == '1') {
        if (isKeypadKeyDown(key) == 0) {
            skipNext(machine);
        }
    }
}

// FX0A: while no key is down, the instruction executes again at the next step.
void waitForKey(const OpcodeText& op, MachineState& machine)
{
    const std::uint8_t key = scanKeypad();
    if (key >= NoKeypadKey) {
        machine.PC = addressPlus(machine.PC, -2);
    } else {
        machine.V[fieldX(op)] = key;
    }
}

// FX07 .. FX85
[[gnu::noinline]] void executeMiscRow(const OpcodeText& op, MachineState& machine)
{
    auto& V = machine.V;
    const std::int32_t x = fieldX(op);
    const auto row = [&op](char c3, char c4) { return op[2] == c3 && op[3] == c4; };
    if (row('0', '7')) {
        V[x] = delayTimerValue(machine);
    } else if (row('0', 'A')) {
        waitForKey(op, machine);
    } else if (row('1', '5')) {
        machine.delayTimer = V[x];
    } else if (row('1', '8')) {
        machine.soundTimer = V[x];
    } else if (row('1', 'E')) {
        machine.I = addressPlus(machine.I, V[x]);
        V[FlagRegister] = machine.I >= 4096 ? 1 : 0;
    } else if (row('2', '9')) {
        machine.I = V[x] * 5;
    } else if (row('3', '0')) {
        machine.I = V[x] * 10 + LargeFontStart;
    } else if (row('3', '3')) {
        storeDecimalDigits(op, machine);
    } else if (row('5', '5')) {
        for (std::int32_t i = 0; i <= x; ++i) {
            writeByte(machine, addressPlus(machine.I, i), V[i]);
        }
    } else if (row('6', '5')) {
        for (std::int32_t i = 0; i <= x; ++i) {
            V[i] = readByte(machine, addressPlus(machine.I, i));
        }
    } else if (row('7', '5')) {
        for (std::int32_t i = 0; i <= x; ++i) {
            writeByte(machine, RegisterStore + i, V[i]);
        }
    } else if (row('8', '5')) {
        for (std::int32_t i = 0; i <= x; ++i) {
            V[i] = readByte(machine, RegisterStore + i);
        }
    }
}

void execute(const OpcodeText& op, MachineState& machine, FrameBuffer& frameBuffer,
             HostValues& host)
{
    auto& V = machine.V;
    switch (op[0]) {
    case '0': executeSystemRow(op, machine, frameBuffer, host); return;
    case '1': jumpTo(machine, fieldNNN(op)); return;                                 // 1NNN
    case '2': callSubroutine(machine, fieldNNN(op)); return;                         // 2NNN
    case '3': if (V[fieldX(op)] == fieldNN(op)) skipNext(machine); return;           // 3XNN
    case '4': if (V[fieldX(op)] != fieldNN(op)) skipNext(machine); return;           // 4XNN
    case '5': if (V[fieldX(op)] == V[fieldY(op)]) skipNext(machine); return;         // 5XY?
    case '6': V[fieldX(op)] = static_cast<std::uint8_t>(fieldNN(op)); return;        // 6XNN
    case '7': V[fieldX(op)] = static_cast<std::uint8_t>(V[fieldX(op)] + fieldNN(op)); return;
    case '8': executeArithmeticRow(op, machine); return;                             // 8XYN
    case '9': if (V[fieldX(op)] != V[fieldY(op)]) skipNext(machine); return;         // 9XY?
    case 'A': machine.I = fieldNNN(op); return;                                      // ANNN
    case 'B': jumpTo(machine, fieldNNN(op) + V[0]); return;                          // BNNN
    case 'C': V[fieldX(op)] = static_cast<std::uint8_t>(toolkit::randomByte() & fieldNN(op)); return;
    case 'D': drawSprite(op, machine, frameBuffer); return;                          // DXYN
    case 'E': executeKeyRow(op, machine); return;                                    // EX9E EXA1
    case 'F': executeMiscRow(op, machine); return;                                   // FX..
    default: return;
    }
}

} // namespace

OpcodeText opcodeText(std::uint8_t high, std::uint8_t low)
{
    const ByteText& first = ByteTexts[high];
    const ByteText& second = ByteTexts[low];
    return {first[0], first[1], second[0], second[1]};
}

BinaryRowText binaryRow(std::uint8_t byte)
{
    return BinaryRowTexts[byte];
}

void executeStep(MachineState& machine, FrameBuffer& frameBuffer, HostValues& host)
{
    if (stepDelayTimer(machine)) {
        return;
    }
    const OpcodeText op =
        opcodeText(readByte(machine, machine.PC), readByte(machine, addressPlus(machine.PC, 1)));
    execute(op, machine, frameBuffer, host);
    if (machine.jumped == 0) {
        machine.PC = addressPlus(machine.PC, 2);
    }
    machine.jumped = 0;
    stepSoundTimer(machine);
}

} // namespace lumvexor
