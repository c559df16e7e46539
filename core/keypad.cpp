#include "core/keypad.h"

#include "toolkit/toolkit.h"

namespace lumvexor {

std::uint8_t scanKeypad()
{
    toolkit::pollKeyboard();
    for (const KeyBinding& binding : KeypadMap) {
        if (toolkit::isScanCodeDown(binding.scanCode)) {
            return binding.key;
        }
    }
    return NoKeypadKey;
}

std::uint8_t isKeypadKeyDown(std::int32_t n)
{
    toolkit::pollKeyboard();
    for (const KeyBinding& binding : KeypadMap) {
        if (binding.key == n && toolkit::isScanCodeDown(binding.scanCode)) {
            return 1;
        }
    }
    return 0;
}

} // namespace lumvexor
