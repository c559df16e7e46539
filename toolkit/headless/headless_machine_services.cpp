// The services the machine core calls, scripted.
#include <array>
#include <random>

#include "toolkit/headless/headless.h"
#include "toolkit/toolkit.h"

namespace {

struct Script {
    std::array<bool, 256> held{};     // scan codes held by the script
    std::array<bool, 256> snapshot{}; // the state the last poll saw
    bool windowActive = true;
    std::mt19937 random{1};
    int lastRandomByte = -1;
    int keyboardPolls = 0;
    int toneRate = 44100;
    std::vector<headless::MessageBox> messageBoxes;
    std::vector<headless::ToneRequest> toneRequests;
};

Script& script()
{
    static Script instance;
    return instance;
}

} // namespace

namespace headless {

void reset()
{
    script() = Script{};
}

void holdScanCode(int scanCode, bool down)
{
    if (scanCode >= 0 && scanCode < 256) {
        script().held[static_cast<std::size_t>(scanCode)] = down;
    }
}

void releaseAllKeys()
{
    script().held.fill(false);
}

void setWindowActive(bool active)
{
    script().windowActive = active;
}

void seedRandom(std::uint32_t seed)
{
    script().random.seed(seed);
}

const std::vector<MessageBox>& messageBoxes()
{
    return script().messageBoxes;
}

const std::vector<ToneRequest>& toneRequests()
{
    return script().toneRequests;
}

int keyboardPolls()
{
    return script().keyboardPolls;
}

int lastRandomByte()
{
    return script().lastRandomByte;
}

} // namespace headless

namespace toolkit {

void showMessageBox(std::string_view caption, std::string_view text)
{
    script().messageBoxes.push_back({std::string(caption), std::string(text)});
}

int randomByte()
{
    // The top eight bits of one 32-bit draw: uniform over 0 .. 255 and the same
    // sequence for a seed on every standard library.
    script().lastRandomByte = static_cast<int>(script().random() >> 24);
    return script().lastRandomByte;
}

bool pollKeyboard()
{
    Script& s = script();
    ++s.keyboardPolls;
    if (!s.windowActive) {
        s.snapshot.fill(false);
        return false;
    }
    s.snapshot = s.held;
    return true;
}

bool isScanCodeDown(int scanCode)
{
    return scanCode >= 0 && scanCode < 256 && script().snapshot[static_cast<std::size_t>(scanCode)];
}

void setToneRate(int samplesPerSecond)
{
    script().toneRate = samplesPerSecond;
}

void playTone(int volume)
{
    script().toneRequests.push_back({script().toneRate, volume});
}

} // namespace toolkit
