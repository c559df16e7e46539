#include "fuzz/scratch_folder.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "fuzz/machine_checks.h"

namespace lumvexor::fuzz {

namespace {

class Folder {
public:
    Folder()
    {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::temp_directory_path(error);
        std::string pattern = ((error ? std::filesystem::path("/tmp") : base) /
                               "lumvexor-fuzz-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data()) == nullptr) {
            fail("cannot make a scratch folder from %s", pattern.c_str());
        }
        path_ = buffer.data();
    }
    ~Folder()
    {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace

const std::filesystem::path& scratchFolder()
{
    static const Folder folder;
    return folder.path();
}

std::string writeScratchFile(std::string_view name, std::span<const std::uint8_t> bytes)
{
    const std::string path = (scratchFolder() / name).string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        fail("cannot write %s", path.c_str());
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        fail("cannot write %zu bytes to %s", bytes.size(), path.c_str());
    }
    std::fclose(file);
    return path;
}

} // namespace lumvexor::fuzz
