#pragma once

// Listening to what the emulator played: the WAV file that the audio library wrote,
// its bursts of sound, and the pitch, level and timing of a falling tone.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct Recording {
    int rate = 0;                 // samples per second
    std::vector<double> samples;  // the first channel, full scale 1.0
    bool headerComplete = false;  // the writer filled in the data size when it closed
};

// Reads 16-bit or 32-bit float PCM, plain or extensible; a data chunk whose size was
// never filled in is taken to run to the end of the file.
std::optional<Recording> readRecording(const std::filesystem::path& file, std::string& why);

struct Burst {
    double start = 0; // seconds from the start of the recording
    double end = 0;
};
// Stretches of sound above threshold (of full scale), apart from each other by
// silences of at least gap seconds.
std::vector<Burst> bursts(const Recording& recording, double threshold = 0.01, double gap = 0.1);

// Runs of one pitch: the tone is restarted at a new rate at every frame.
struct Step {
    double start = 0; // seconds
    double end = 0;
    double hertz = 0;
};

struct FallingTone {
    double onset = 0;     // seconds into the recording
    double end = 0;
    double peak = 0;      // largest magnitude, of full scale
    std::vector<Step> steps;
    // The falling part: from the onset to the last step, which rings out.
    double fallSeconds = 0;
    double ringOutSeconds = 0;
    double firstHertz = 0;
    double lastHertz = 0;
    // The median fall in pitch from one step to the next.
    double stepHertz = 0;
    // True when no step lies higher than the one before it (by more than 1 Hz).
    bool neverRises = false;
};
FallingTone analyseFallingTone(const Recording& recording, const Burst& burst);

std::string describe(const FallingTone& tone);

} // namespace e2e
