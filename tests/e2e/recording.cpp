#include "tests/e2e/recording.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace e2e {

namespace {

std::uint32_t little32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t little16(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

double median(std::vector<double> values)
{
    if (values.empty()) {
        return 0;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

} // namespace

std::optional<Recording> readRecording(const std::filesystem::path& file, std::string& why)
{
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(&bytes[8], "WAVE", 4) != 0) {
        why = "no RIFF/WAVE file at " + file.string() + " (" + std::to_string(bytes.size()) + " bytes)";
        return std::nullopt;
    }
    int format = 0;
    int channels = 0;
    int bits = 0;
    Recording recording;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id(reinterpret_cast<const char*>(&bytes[at]), 4);
        const std::uint32_t size = little32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (id == "fmt " && body + 16 <= bytes.size()) {
            format = little16(bytes, body);
            channels = little16(bytes, body + 2);
            recording.rate = static_cast<int>(little32(bytes, body + 4));
            bits = little16(bytes, body + 14);
            if (format == 0xFFFE && body + 26 <= bytes.size()) {
                format = little16(bytes, body + 24); // the sub-format's first two bytes
            }
        } else if (id == "data") {
            std::size_t length = size;
            recording.headerComplete = size != 0 && size != 0xFFFFFFFF && body + size <= bytes.size();
            if (!recording.headerComplete) {
                length = bytes.size() - body;
            }
            if (channels < 1 || (format == 1 && bits != 16) || (format == 3 && bits != 32) ||
                (format != 1 && format != 3)) {
                why = "unexpected sample format " + std::to_string(format) + ", " + std::to_string(bits) +
                      " bits, " + std::to_string(channels) + " channels";
                return std::nullopt;
            }
            const std::size_t frame = static_cast<std::size_t>(channels * bits / 8);
            for (std::size_t p = body; p + frame <= body + length; p += frame) {
                if (format == 1) {
                    recording.samples.push_back(static_cast<std::int16_t>(little16(bytes, p)) / 32768.0);
                } else {
                    float value = 0;
                    std::memcpy(&value, &bytes[p], 4);
                    recording.samples.push_back(value);
                }
            }
            return recording;
        }
        at = body + size + (size & 1);
    }
    why = "no data chunk in " + file.string();
    return std::nullopt;
}

std::vector<Burst> bursts(const Recording& recording, double threshold, double gap)
{
    std::vector<Burst> result;
    const std::size_t gapSamples = static_cast<std::size_t>(gap * recording.rate);
    std::size_t start = 0;
    std::size_t last = 0;
    bool inBurst = false;
    for (std::size_t i = 0; i < recording.samples.size(); ++i) {
        if (std::abs(recording.samples[i]) <= threshold) {
            continue;
        }
        if (inBurst && i - last > gapSamples) {
            result.push_back({static_cast<double>(start) / recording.rate, static_cast<double>(last) / recording.rate});
            inBurst = false;
        }
        if (!inBurst) {
            start = i;
            inBurst = true;
        }
        last = i;
    }
    if (inBurst) {
        result.push_back({static_cast<double>(start) / recording.rate, static_cast<double>(last) / recording.rate});
    }
    return result;
}

FallingTone analyseFallingTone(const Recording& recording, const Burst& burst)
{
    FallingTone tone;
    tone.onset = burst.start;
    tone.end = burst.end;
    const std::size_t first = static_cast<std::size_t>(burst.start * recording.rate);
    const std::size_t last = std::min(recording.samples.size() - 1, static_cast<std::size_t>(burst.end * recording.rate));

    // Rising zero crossings, placed between samples; armed only after the wave has
    // been clearly below zero, so that noise near zero adds none.
    std::vector<double> crossings;
    bool armed = false;
    for (std::size_t i = first + 1; i <= last; ++i) {
        const double a = recording.samples[i - 1];
        const double b = recording.samples[i];
        tone.peak = std::max(tone.peak, std::abs(b));
        if (b < -0.02) {
            armed = true;
        }
        if (armed && a < 0 && b >= 0) {
            crossings.push_back(static_cast<double>(i - 1) + (-a) / (b - a));
            armed = false;
        }
    }
    if (crossings.size() < 8) {
        return tone;
    }
    // The pitch of every period, smoothed over five periods against the restarts.
    std::vector<double> hertz;
    for (std::size_t k = 0; k + 1 < crossings.size(); ++k) {
        hertz.push_back(recording.rate / (crossings[k + 1] - crossings[k]));
    }
    std::vector<double> smooth(hertz.size());
    for (std::size_t k = 0; k < hertz.size(); ++k) {
        const std::size_t from = k < 2 ? 0 : k - 2;
        const std::size_t to = std::min(hertz.size(), k + 3);
        smooth[k] = median(std::vector<double>(hertz.begin() + static_cast<std::ptrdiff_t>(from),
                                               hertz.begin() + static_cast<std::ptrdiff_t>(to)));
    }
    // Runs of one pitch; runs of fewer than five periods are the moments of change.
    struct Run {
        std::size_t from;
        std::size_t to; // exclusive, in periods
        double sum;
    };
    std::vector<Run> runs;
    for (std::size_t k = 0; k < smooth.size(); ++k) {
        if (!runs.empty()) {
            Run& run = runs.back();
            if (std::abs(smooth[k] - run.sum / static_cast<double>(run.to - run.from)) <= 2.5) {
                run.sum += smooth[k];
                run.to = k + 1;
                continue;
            }
        }
        runs.push_back({k, k + 1, smooth[k]});
    }
    for (const Run& run : runs) {
        const double pitch = run.sum / static_cast<double>(run.to - run.from);
        const double start = (crossings[run.from] / recording.rate);
        const double end = (crossings[run.to] / recording.rate);
        if (run.to - run.from < 5) {
            continue;
        }
        if (!tone.steps.empty() && std::abs(tone.steps.back().hertz - pitch) <= 1.5) {
            tone.steps.back().end = end;
            continue;
        }
        tone.steps.push_back({start, end, pitch});
    }
    if (tone.steps.empty()) {
        return tone;
    }
    tone.firstHertz = tone.steps.front().hertz;
    tone.lastHertz = tone.steps.back().hertz;
    tone.fallSeconds = tone.steps.back().start - tone.onset;
    tone.ringOutSeconds = tone.end - tone.steps.back().start;
    std::vector<double> falls;
    tone.neverRises = true;
    for (std::size_t i = 0; i + 1 < tone.steps.size(); ++i) {
        falls.push_back(tone.steps[i].hertz - tone.steps[i + 1].hertz);
        tone.neverRises = tone.neverRises && tone.steps[i + 1].hertz <= tone.steps[i].hertz + 1.0;
    }
    tone.stepHertz = median(falls);
    return tone;
}

std::string describe(const FallingTone& tone)
{
    std::ostringstream out;
    out.setf(std::ios::fixed);
    out.precision(3);
    out << "onset " << tone.onset << " s, end " << tone.end << " s, falling part " << tone.fallSeconds
        << " s, ring-out " << tone.ringOutSeconds << " s, peak " << tone.peak << " of full scale, "
        << tone.steps.size() << " steps from " << tone.firstHertz << " Hz to " << tone.lastHertz
        << " Hz, median step " << tone.stepHertz << " Hz\n  steps:";
    out.precision(1);
    for (const Step& step : tone.steps) {
        out << ' ' << step.hertz << '@' << step.start;
    }
    return out.str();
}

} // namespace e2e
