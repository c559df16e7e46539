#pragma once

// What the runner writes once the steps are made: the picture, the memory and the
// registers.

#include <string>

#include "tools/run.h"

namespace headless_runner {

// `rows` lines of `columns` characters, '#' for a lit pixel and '.' for a dark one.
std::string screenText(const lumvexor::FrameBuffer& frameBuffer);

bool writeScreenText(const Machine& machine, const std::string& path, std::string& problem);
// The 512 x 280 picture the window would show now, drawn by the window's own
// presentation, as a PNG image.
bool writeScreenPicture(const Machine& machine, const std::string& path, std::string& problem);
// The registers once `steps` steps are made, as one line (see writeStateLine);
// "-" is standard output.
bool writeState(const Machine& machine, std::uint64_t steps, const std::string& path,
                std::string& problem);
// All 32768 bytes, address 0 first.
bool writeMemory(const Machine& machine, const std::string& path, std::string& problem);

} // namespace headless_runner
