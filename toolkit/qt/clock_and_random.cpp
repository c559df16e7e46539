// The millisecond clock and the random bytes.
#include <chrono>
#include <random>

#include "toolkit/toolkit.h"

namespace toolkit {

std::int64_t milliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int randomByte()
{
    static std::mt19937 source{std::random_device{}()};
    static std::uniform_int_distribution<int> byte(0, 255);
    return byte(source);
}

} // namespace toolkit
