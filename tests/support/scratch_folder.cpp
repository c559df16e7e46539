#include "tests/support/scratch_folder.h"

#include "tests/support/rom_bytes.h"

#include <fstream>
#include <random>
#include <sstream>

namespace lumvexor::test {

ScratchFolder::ScratchFolder()
{
    std::random_device device;
    path_ = std::filesystem::temp_directory_path() /
            ("lumvexor-test-" + std::to_string(device()) + std::to_string(device()));
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
{
    const std::string path = file(name);
    writeBytes(path, bytes);
    return path;
}

std::string ScratchFolder::read(const std::string& name) const
{
    return readWholeFile(file(name));
}

std::string readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace lumvexor::test
