#pragma once

// ROM images written as lists of instructions, and files written whole.

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <vector>

namespace lumvexor::test {

// Instructions as the bytes of a ROM image, high byte first.
std::vector<std::uint8_t> romOf(std::initializer_list<std::uint16_t> instructions);

// Writes the bytes as the whole file at `path`; false when they did not all reach it.
bool writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

} // namespace lumvexor::test
