#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace lumvexor::fuzz {

// A folder of this process's own under the temporary folder (TMPDIR, else /tmp),
// made on first use and removed when the process ends normally.
const std::filesystem::path& scratchFolder();

// Writes the bytes to the file of that name in the scratch folder, replacing it;
// returns its path.
std::string writeScratchFile(std::string_view name, std::span<const std::uint8_t> bytes);

} // namespace lumvexor::fuzz
