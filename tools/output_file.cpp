#include "tools/output_file.h"

#include <cerrno>
#include <cstring>

#include "tools/command_line.h"

namespace headless_runner {

namespace {

std::string cannotWrite(const std::string& path, int error)
{
    return "cannot write '" + path + "': " + std::strerror(error);
}

} // namespace

bool openOutputFile(OutputFile& output, const std::string& path, bool standardOutputAllowed,
                    std::string& problem)
{
    output.path = path;
    output.used = 0;
    output.failed = false;
    if (standardOutputAllowed && path == StandardOutputName) {
        output.file = stdout;
        output.ownsFile = false;
        output.path = "standard output";
        return true;
    }
    output.file = std::fopen(path.c_str(), "wb");
    output.ownsFile = output.file != nullptr;
    if (output.file == nullptr) {
        problem = cannotWrite(path, errno);
        return false;
    }
    return true;
}

void flushOutputFile(OutputFile& output)
{
    if (output.used > 0 && output.file != nullptr &&
        std::fwrite(output.buffer.data(), 1, output.used, output.file) != output.used) {
        output.failed = true;
    }
    output.used = 0;
}

bool closeOutputFile(OutputFile& output, std::string& problem)
{
    if (output.file == nullptr) {
        return true;
    }
    flushOutputFile(output);
    errno = 0;
    bool written = !output.failed && std::fflush(output.file) == 0 && std::ferror(output.file) == 0;
    int error = errno;
    if (output.ownsFile && std::fclose(output.file) != 0 && written) {
        written = false;
        error = errno;
    }
    output.file = nullptr;
    if (!written) {
        problem = cannotWrite(output.path, error != 0 ? error : EIO);
    }
    return written;
}

bool writeWholeFile(const std::string& path, std::string_view bytes, std::string& problem)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        problem = cannotWrite(path, errno);
        return false;
    }
    errno = 0;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int error = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) {
        problem = cannotWrite(path, error != 0 ? error : EIO);
    }
    return written;
}

} // namespace headless_runner
