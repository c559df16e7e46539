#pragma once

// Control of the scripted toolkit: what tests and the headless runner script
// (held keys, the random seed, whether the window is in front) and what they read
// back (message boxes and tone requests).

#include <cstdint>
#include <string>
#include <vector>

namespace headless {

struct MessageBox {
    std::string caption;
    std::string text;
};

struct ToneRequest {
    int rate;   // the playback rate in force when the tone was played
    int volume;
};

// Forgets every scripted value and every record: no key held, window in front,
// random source seeded with 1.
void reset();

void holdScanCode(int scanCode, bool down);
void releaseAllKeys();
// While false, polls fail as they do while the main window is in the background.
void setWindowActive(bool active);
void seedRandom(std::uint32_t seed);

const std::vector<MessageBox>& messageBoxes();
const std::vector<ToneRequest>& toneRequests();
int keyboardPolls();
// The last random byte handed out, or -1 before the first.
int lastRandomByte();

} // namespace headless
