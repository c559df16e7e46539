#pragma once

// A file that the runner writes line by line, through one large buffer, and that
// reports at the end whether everything reached it.

#include <array>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace headless_runner {

struct OutputFile {
    // Room for one line beyond the point where the buffer is handed to the file.
    static constexpr std::size_t FlushAt = 1 << 16;
    static constexpr std::size_t MaxLine = 256;

    std::string path;
    std::FILE* file = nullptr;
    bool ownsFile = false;
    bool failed = false;
    std::size_t used = 0;
    std::array<char, FlushAt + MaxLine> buffer;
};

// Opens `path` for writing, or takes standard output when `path` is "-" and
// `standardOutputAllowed` is set. False, with the reason in `problem`, when it cannot.
bool openOutputFile(OutputFile& output, const std::string& path, bool standardOutputAllowed,
                    std::string& problem);

// Where the next line goes: at most OutputFile::MaxLine characters may be written
// there, then handed over with commitLine.
inline char* lineStart(OutputFile& output)
{
    return output.buffer.data() + output.used;
}
void flushOutputFile(OutputFile& output);
inline void commitLine(OutputFile& output, const char* end)
{
    output.used = static_cast<std::size_t>(end - output.buffer.data());
    if (output.used >= OutputFile::FlushAt) {
        flushOutputFile(output);
    }
}

// Flushes and closes; false, with the reason in `problem`, when anything was lost.
bool closeOutputFile(OutputFile& output, std::string& problem);

// A whole file at once; false with the reason in `problem` when it cannot be written.
bool writeWholeFile(const std::string& path, std::string_view bytes, std::string& problem);

} // namespace headless_runner
