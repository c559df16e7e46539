#include "tests/core/test_machine.h"

#include <fstream>
#include <random>

namespace lumvexor::test {

TempDir::TempDir()
{
    std::random_device device;
    path_ = std::filesystem::temp_directory_path() /
            ("lumvexor-test-" + std::to_string(device()) + std::to_string(device()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
{
    const std::filesystem::path file = path_ / name;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file.string();
}

} // namespace lumvexor::test
