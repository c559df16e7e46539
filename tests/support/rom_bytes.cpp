#include "tests/support/rom_bytes.h"

#include <fstream>

namespace lumvexor::test {

std::vector<std::uint8_t> romOf(std::initializer_list<std::uint16_t> instructions)
{
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t instruction : instructions) {
        bytes.push_back(static_cast<std::uint8_t>(instruction >> 8));
        bytes.push_back(static_cast<std::uint8_t>(instruction & 0xFF));
    }
    return bytes;
}

bool writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

} // namespace lumvexor::test
