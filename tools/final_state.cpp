#include "tools/final_state.h"

#include <memory>
#include <string_view>

namespace headless_runner {

std::string screenText(const lumvexor::FrameBuffer& frameBuffer)
{
    std::string text;
    text.reserve(static_cast<std::size_t>((frameBuffer.columns + 1) * frameBuffer.rows));
    for (std::int32_t y = 0; y < frameBuffer.rows; ++y) {
        for (std::int32_t x = 0; x < frameBuffer.columns; ++x) {
            text += lumvexor::pixelAt(frameBuffer, x, y) == lumvexor::PixelLit ? '#' : '.';
        }
        text += '\n';
    }
    return text;
}

bool writeScreenText(const Machine& machine, const std::string& path, std::string& problem)
{
    return writeWholeFile(path, screenText(machine.frameBuffer), problem);
}

bool writeMemory(const Machine& machine, const std::string& path, std::string& problem)
{
    const auto& memory = machine.machine.memory;
    return writeWholeFile(path, {reinterpret_cast<const char*>(memory.data()), memory.size()},
                          problem);
}

bool writeState(const Machine& machine, std::uint64_t steps, const std::string& path,
                std::string& problem)
{
    const auto output = std::make_unique<OutputFile>();
    if (!openOutputFile(*output, path, true, problem)) {
        return false;
    }
    char* out = writeStateLine(lineStart(*output), machine, steps);
    *out++ = '\n';
    commitLine(*output, out);
    return closeOutputFile(*output, problem);
}

} // namespace headless_runner
