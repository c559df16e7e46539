// Writes the emulator's tone, tone.wav: 0.2 s of a 600 Hz sine at 0.8 of full scale,
// mono, 16-bit, 44100 samples per second; 120 whole periods, starting at phase 0
// rising and ending at a zero crossing. Usage: make_tone OUTPUT
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string_view>
#include <vector>

namespace {

constexpr std::uint32_t SampleRate = 44100;
constexpr std::uint32_t Frequency = 600;
constexpr std::uint32_t SampleCount = SampleRate / 5;
constexpr double Amplitude = 0.8 * 32767.0;
constexpr std::string_view Software = "Lumvexor 600 Hz"; // written with its terminating zero

void put(std::vector<std::uint8_t>& out, std::string_view text)
{
    out.insert(out.end(), text.begin(), text.end());
}

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_tone OUTPUT\n");
        return 2;
    }
    const std::uint32_t softwareSize = static_cast<std::uint32_t>(Software.size() + 1);
    const std::uint32_t listSize = 4 + 8 + softwareSize;
    const std::uint32_t dataSize = SampleCount * 2;

    std::vector<std::uint8_t> wav;
    put(wav, "RIFF");
    put(wav, 4 + (8 + 16) + (8 + listSize) + (8 + dataSize), 4);
    put(wav, "WAVE");
    put(wav, "fmt ");
    put(wav, 16, 4);
    put(wav, 1, 2);              // PCM
    put(wav, 1, 2);              // mono
    put(wav, SampleRate, 4);
    put(wav, SampleRate * 2, 4); // bytes per second
    put(wav, 2, 2);              // bytes per sample frame
    put(wav, 16, 2);             // bits per sample
    put(wav, "LIST");
    put(wav, listSize, 4);
    put(wav, "INFO");
    put(wav, "ISFT");
    put(wav, softwareSize, 4);
    put(wav, Software);
    wav.push_back(0);
    put(wav, "data");
    put(wav, dataSize, 4);
    for (std::uint32_t n = 0; n < SampleCount; ++n) {
        const double phase = 2.0 * std::numbers::pi * Frequency * n / SampleRate;
        const auto sample = static_cast<std::int16_t>(std::lround(Amplitude * std::sin(phase)));
        put(wav, static_cast<std::uint16_t>(sample), 2);
    }

    std::ofstream file(argv[1], std::ios::binary);
    file.write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
    return file ? 0 : 1;
}
