#include "toolkit/qt/wave.h"

#include <algorithm>
#include <string_view>

namespace toolkit::qt {

namespace {

// Numbers in a wave image are little-endian.
std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

int read16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8;
}

bool hasTag(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view tag)
{
    return std::equal(tag.begin(), tag.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char expected, std::uint8_t byte) { return static_cast<std::uint8_t>(expected) == byte; });
}

constexpr int PcmFormat = 1;

} // namespace

std::optional<WaveSound> readWave(std::span<const std::uint8_t> image)
{
    if (image.size() < 12 || !hasTag(image, 0, "RIFF") || !hasTag(image, 8, "WAVE")) {
        return std::nullopt;
    }
    std::optional<WaveSound> format;
    std::optional<std::span<const std::uint8_t>> data;
    std::size_t at = 12;
    while (at + 8 <= image.size()) {
        const std::size_t size = read32(image, at + 4);
        const std::size_t body = at + 8;
        const std::size_t length = std::min(size, image.size() - body);
        if (hasTag(image, at, "fmt ")) {
            if (length < 16 || read16(image, body) != PcmFormat) {
                return std::nullopt;
            }
            format = WaveSound{read16(image, body + 2), read16(image, body + 14),
                               static_cast<int>(std::min<std::uint32_t>(read32(image, body + 4), 0x7FFFFFFF)),
                               {}};
        } else if (hasTag(image, at, "data")) {
            data = image.subspan(body, length);
        }
        at = body + size + (size & 1); // chunks start on even offsets
    }
    if (!format || !data || (format->channels != 1 && format->channels != 2) ||
        (format->bitsPerSample != 8 && format->bitsPerSample != 16) || format->samplesPerSecond <= 0) {
        return std::nullopt;
    }
    const std::size_t frameSize = static_cast<std::size_t>(format->channels * format->bitsPerSample / 8);
    format->samples = data->first(data->size() - data->size() % frameSize);
    if (format->samples.empty()) {
        return std::nullopt;
    }
    return format;
}

} // namespace toolkit::qt
