#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/frame_buffer.h"
#include "core/host_values.h"
#include "core/machine_state.h"

namespace lumvexor {

// An instruction as text: four upper-case hexadecimal characters c1 c2 c3 c4, the
// byte at PC and the byte after it. Kept in a fixed array: a step allocates nothing.
using OpcodeText = std::array<char, 4>;
// A sprite row as text of "0" and "1" characters, the most significant bit first.
using BinaryRowText = std::array<char, 8>;

OpcodeText opcodeText(std::uint8_t high, std::uint8_t low);
BinaryRowText binaryRow(std::uint8_t byte);

// The value of one to three hexadecimal characters, upper- or lower-case.
constexpr std::int32_t parseHex(std::string_view text)
{
    std::uint32_t result = 0;
    for (char character : text) {
        const int code = (character >= 'a' && character <= 'z') ? character - 32 : character;
        result = result * 16 + static_cast<std::uint32_t>(code <= 60 ? code - 48 : code - 55);
    }
    return static_cast<std::int32_t>(result);
}

// One step of the machine: either the delay timer takes it, or the instruction at
// PC is fetched, decoded from its text, executed, and PC advances.
void executeStep(MachineState& machine, FrameBuffer& frameBuffer, HostValues& host);

} // namespace lumvexor
