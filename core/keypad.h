#pragma once

#include <array>
#include <cstdint>

namespace lumvexor {

inline constexpr std::uint8_t NoKeypadKey = 255;

struct KeyBinding {
    std::uint8_t key; // keypad key 0 .. 16
    int scanCode;     // PC keyboard scan code, set 1: a physical key position
};

// Keypad keys to keyboard keys, in the order the keypad is scanned: 0 to F, with
// both keys of D, then 16.
inline constexpr std::array<KeyBinding, 18> KeypadMap = {{
    {0x0, 47}, // V
    {0x1, 4},  // 3
    {0x2, 5},  // 4
    {0x3, 6},  // 5
    {0x4, 18}, // E
    {0x5, 19}, // R
    {0x6, 20}, // T
    {0x7, 32}, // D
    {0x8, 33}, // F
    {0x9, 34}, // G
    {0xA, 46}, // C
    {0xB, 48}, // B
    {0xC, 7},  // 6
    {0xD, 21}, // Y
    {0xD, 44}, // Z
    {0xE, 35}, // H
    {0xF, 49}, // N
    {16, 8},   // 7
}};

// Polls the keyboard once; the lowest keypad key down, 16 last, or NoKeypadKey.
std::uint8_t scanKeypad();
// Polls the keyboard once; 1 if keypad key n is down, 0 if it is up or n is no key.
std::uint8_t isKeypadKeyDown(std::int32_t n);

} // namespace lumvexor
