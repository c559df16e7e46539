// The services the machine core calls, scripted.
#include <cstdio>

#include "toolkit/common/drawing.h"
#include "toolkit/headless/script.h"
#include "toolkit/toolkit.h"

namespace headless {

Script& script()
{
    static Script instance;
    return instance;
}

} // namespace headless

using headless::script;
using headless::Script;

namespace headless {

void reset()
{
    script() = Script{};
    toolkit::drawing::releaseAll();
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

long long keyboardPolls()
{
    return script().keyboardPolls;
}

int lastRandomByte()
{
    return script().lastRandomByte;
}

long randomDraws()
{
    return script().randomDraws;
}

void setMessageBoxEcho(bool on)
{
    script().echoMessageBoxes = on;
}

void setKeepRecords(bool keep)
{
    script().keepRecords = keep;
}

long long messageBoxCount()
{
    return script().messageBoxCount;
}

long long toneRequestCount()
{
    return script().toneRequestCount;
}

ToneRequest lastToneRequest()
{
    return script().lastToneRequest;
}

} // namespace headless

namespace toolkit {

void showMessageBox(std::string_view caption, std::string_view text)
{
    Script& s = script();
    ++s.messageBoxCount;
    if (s.keepRecords) {
        s.messageBoxes.push_back({std::string(caption), std::string(text)});
    }
    if (s.echoMessageBoxes) {
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                     static_cast<int>(text.size()), text.data());
    }
}

int randomByte()
{
    // The top eight bits of one 32-bit draw: uniform over 0 .. 255 and the same
    // sequence for a seed on every standard library.
    script().lastRandomByte = static_cast<int>(script().random() >> 24);
    ++script().randomDraws;
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
    Script& s = script();
    s.lastToneRequest = {s.toneRate, volume};
    ++s.toneRequestCount;
    if (s.keepRecords) {
        s.toneRequests.push_back(s.lastToneRequest);
    }
}

} // namespace toolkit
