#include "tests/support/hostile_files.h"

#include "tests/support/rom_bytes.h"

#include <sys/stat.h>

#include <stdexcept>

namespace lumvexor::test {

namespace {

std::string writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    if (!writeBytes(path, bytes)) {
        throw std::runtime_error("cannot write " + path.string());
    }
    return path.string();
}

} // namespace

std::vector<std::uint8_t> pattern(std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t k = 0; k < size; ++k) {
        bytes[k] = static_cast<std::uint8_t>(k * 7 + 1);
    }
    return bytes;
}

std::vector<HostileFile> makeHostileFiles(const std::filesystem::path& folder)
{
    namespace fs = std::filesystem;
    std::vector<HostileFile> files = {
        {"empty file", writeFile(folder / "empty", {}), true, 0},
        {"small file", writeFile(folder / "small.ch8", pattern(10)), true, 10},
        {"exactly 32256 bytes", writeFile(folder / "full", pattern(32256)), true, 32256},
        {"32257 bytes", writeFile(folder / "one-over", pattern(32257)), true, 32256},
        {"longer than memory", writeFile(folder / "long", pattern(40000)), true, 32256},
        {"missing name", (folder / "nothing").string(), false, 0},
        {"empty name", std::string(), false, 0},
        {"folder", folder.string(), false, 0},
        {"character device", "/dev/zero", false, 0},
        {"name with spaces, letters beyond ASCII and a newline",
         writeFile(folder / "Sp\xC3\xA4" "ce Inv\xC3\xA6" "ders\n2.ch8", pattern(300)), true, 300},
    };

    // 1 GiB of which only the first 64 bytes are data; the rest are holes.
    const fs::path huge = folder / "huge.ch8";
    writeFile(huge, pattern(64));
    fs::resize_file(huge, std::uintmax_t{1} << 30);
    files.push_back({"1 GiB sparse file", huge.string(), true, 64});

    const fs::path fifo = folder / "fifo";
    if (::mkfifo(fifo.c_str(), 0600) != 0) {
        throw std::runtime_error("cannot make the FIFO " + fifo.string());
    }
    files.push_back({"FIFO", fifo.string(), false, 0});

    const std::string target = writeFile(folder / "target.ch8", pattern(99));
    fs::create_symlink(target, folder / "link.ch8");
    files.push_back({"link to a file", (folder / "link.ch8").string(), true, 99});
    fs::create_symlink(folder / "gone", folder / "dangling");
    files.push_back({"dangling link", (folder / "dangling").string(), false, 0});
    fs::create_symlink(folder / "loop-b", folder / "loop-a");
    fs::create_symlink(folder / "loop-a", folder / "loop-b");
    files.push_back({"loop of links", (folder / "loop-a").string(), false, 0});
    return files;
}

} // namespace lumvexor::test
