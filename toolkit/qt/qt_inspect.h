#pragma once

// A look inside the desktop toolkit, for its tests: the widgets it made, the frame it
// shows, the keys it holds and the OpenAL names of the tone.

#include <QImage>
#include <array>

class QMainWindow;
class QWidget;

namespace toolkit::qt_inspect {

// Null while no main window is open.
QMainWindow* mainWindow();
// The drawing area: the main window's central widget.
QWidget* screenWidget();
// The frame that the last flip presented; black, of the screen's size, before the first.
QImage frontImage();
// The keys held down now, by scan code, as the key events have told them.
std::array<bool, 256> heldKeys();
// Whether startSound found an audio device.
bool audioDevice();
// The OpenAL source and buffer of the tone; 0 while there is none.
unsigned toneSource();
unsigned toneBuffer();

} // namespace toolkit::qt_inspect
