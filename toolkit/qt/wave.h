#pragma once

// A RIFF/WAVE image read into its sample format and its samples.

#include <cstdint>
#include <optional>
#include <span>

namespace toolkit::qt {

struct WaveSound {
    int channels = 0;      // 1 or 2
    int bitsPerSample = 0; // 8 or 16
    int samplesPerSecond = 0;
    std::span<const std::uint8_t> samples; // whole sample frames, inside the image
};

// The format from the "fmt " chunk and the samples from the "data" chunk, any other
// chunk skipped; a data chunk that runs past the image's end is cut there. Nothing
// when the image is no uncompressed PCM wave of 8 or 16 bits in one or two channels.
std::optional<WaveSound> readWave(std::span<const std::uint8_t> image);

} // namespace toolkit::qt
