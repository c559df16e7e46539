#pragma once

// A folder of the test's own under the system's temporary folder, removed with
// everything in it when the test is done.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace lumvexor::test {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path of `name` in the folder.
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Writes the bytes as `name` and returns its path.
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    // The whole of `name`, empty when it cannot be read.
    std::string read(const std::string& name) const;

private:
    std::filesystem::path path_;
};

// The whole of a file, empty when it cannot be read.
std::string readWholeFile(const std::string& path);

} // namespace lumvexor::test
