#pragma once

// The files a user may pick as a ROM image, from the plain to the hostile, made in
// a folder for the tests of every layer that loads them.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace lumvexor::test {

// Bytes 1, 8, 15, ... (k * 7 + 1): a ROM image whose bytes show where they came from.
std::vector<std::uint8_t> pattern(std::size_t size);

struct HostileFile {
    std::string kind; // what it is, for messages
    std::string path;
    bool opens;              // false: the load reports that it cannot be opened
    std::size_t loadedBytes; // the bytes of pattern() found from 0x200; zeros follow
};

// Makes every kind in `folder`, an existing folder of the caller's own: files of
// 0, 10, 32256, 32257 and 40000 bytes, a 1 GiB sparse file, a missing name, an empty
// name, a folder, a FIFO, a character device, links (to a file, dangling, in a loop)
// and a name with spaces, letters beyond ASCII and a newline.
std::vector<HostileFile> makeHostileFiles(const std::filesystem::path& folder);

} // namespace lumvexor::test
