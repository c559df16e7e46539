#pragma once

// The runtime services, declared once. The desktop executable links the Qt
// implementation; tests and the headless runner link the scripted one.

#include <string_view>

namespace toolkit {

// A modal message box with one OK button; returns once the user has dismissed it.
void showMessageBox(std::string_view caption, std::string_view text);

// A random byte, uniform over 0 .. 255.
int randomByte();

// Takes a snapshot of all keys; false while the main window is not the active one.
bool pollKeyboard();
// From the last snapshot; every key is up while the last poll failed.
bool isScanCodeDown(int scanCode);

// The tone: the playback rate takes effect at once, also on a playing tone; a play
// restarts the tone from its first sample and returns at once. Volume 0 .. 100.
void setToneRate(int samplesPerSecond);
void playTone(int volume);

} // namespace toolkit
