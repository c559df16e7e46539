#pragma once

// Control of the scripted toolkit: what tests and the headless runner script (held
// keys, the random seed, the clock, pending events, dialog answers, whether the
// window is in front) and what they read back (message boxes, tone requests, the
// toolkit calls in order, presented frames).

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/common/raster.h"
#include "toolkit/toolkit.h"

namespace headless {

struct MessageBox {
    std::string caption;
    std::string text;
};

struct ToneRequest {
    int rate;   // the playback rate in force when the tone was played
    int volume;
};

struct FileRequest {
    std::string title;
    std::string startFolder;
    std::string filterName;
};

// Forgets every scripted value and every record: no key held, window in front and
// able to open, random source seeded with 1, clock at 0, nothing pending.
void reset();

// Keyboard.
void holdScanCode(int scanCode, bool down);
void releaseAllKeys();
// While false, polls fail as they do while the main window is in the background.
void setWindowActive(bool active);
long long keyboardPolls();

// Random source.
void seedRandom(std::uint32_t seed);
// The last random byte handed out, or -1 before the first; and how many were.
int lastRandomByte();
long randomDraws();

// Message boxes return at once. While echo is on, each is also written to standard
// error as "<caption>: <text>" when it is shown.
const std::vector<MessageBox>& messageBoxes();
void setMessageBoxEcho(bool on);

const std::vector<ToneRequest>& toneRequests();

// While records are not kept, message boxes and tone requests are only counted and
// the last tone request remembered, so a run of any length holds the same memory;
// messageBoxes() and toneRequests() then stay as they were. Kept by default.
void setKeepRecords(bool keep);
long long messageBoxCount();
long long toneRequestCount();
// The last tone request, or {44100, 0} before the first.
ToneRequest lastToneRequest();

// Start-up. A non-empty failure makes startServices report it; openMainWindow
// reports false while the window cannot open.
void setStartFailure(const std::string& failure);
void setWindowOpens(bool opens);

// The toolkit calls that are not on the hot path (start-up, window, menu, sprites,
// frame rate, dialogs), each as one line of text, in order: "addMenuItem 1 Open ROM
// image...", "setFrameRate 30" and so on.
const std::vector<std::string>& calls();

// Events, handed out one at a time in the order queued.
void queueEvent(toolkit::Event event);
void queueMenuEvent(int id);
bool eventsPending();

// The clock stands where it is set.
void setClock(std::int64_t milliseconds);

// File requester: each request takes the next answer, or cancels when none is left.
void queueFileAnswer(const std::string& path);
const std::vector<FileRequest>& fileRequests();
const std::vector<std::string>& webAddresses();

// Frames: how many flips, and the hidden buffer as the last flip presented it.
int flips();
const toolkit::raster::Image& presented();

} // namespace headless
