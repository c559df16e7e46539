#pragma once

// The runtime services, declared once. The desktop executable links the Qt
// implementation (toolkit/qt); tests and the headless runner link the scripted one
// (toolkit/headless). No interface class: the linker picks the implementation.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace toolkit {

// --- Start and end --------------------------------------------------------------

// Starts the toolkit. Empty when it started; otherwise one line saying why no window
// can be opened (no display, say), and nothing else of the toolkit may be used.
std::string startServices();
// The exit path: releases sound, keyboard, screen and sprites, and the windows.
void shutDownServices();

// --- Machine core services ------------------------------------------------------

// A modal message box with one OK button; returns once the user has dismissed it.
void showMessageBox(std::string_view caption, std::string_view text);

// A random byte, uniform over 0 .. 255.
int randomByte();

// Keyboard. Started once, before the main window opens.
void startKeyboard();
// Takes a snapshot of all keys; false while the main window is not the active one.
bool pollKeyboard();
// From the last snapshot; every key is up while the last poll failed.
bool isScanCodeDown(int scanCode);

// Sound. Started once, before the main window opens; then the tone is loaded from a
// RIFF/WAVE image (format from its "fmt " chunk, samples from its "data" chunk).
// Without an audio device every call is silently without effect.
void startSound();
void loadTone(std::span<const std::uint8_t> wave);
// The playback rate in samples per second takes effect at once, also on a playing
// tone; a play restarts the tone from its first sample and returns at once.
// Volume 0 .. 100, 100 being full level; no spatial effect.
void setToneRate(int samplesPerSecond);
void playTone(int volume);

// --- Window, menu bar and events --------------------------------------------------

// Opens the one main window: the title, a drawing area of the given client size
// below the menu bar, requested at (x, y) and then centred on the screen (0 on an
// axis where it is larger than the screen); resizable, with minimise and maximise
// boxes. A close request does not destroy it. False when it could not be opened.
bool openMainWindow(std::string_view title, int clientWidth, int clientHeight, int x, int y);

// The menu bar of the main window: menus in order, each followed by its items.
// An ampersand in a title marks its mnemonic. Items have no shortcut, no check mark
// and are never disabled.
bool createMenuBar();
void addMenu(std::string_view title);
void addMenuItem(int id, std::string_view label);
void addMenuSeparator();
// Items added between these two go into a sub-menu of the current menu.
void beginSubMenu(std::string_view title);
void endSubMenu();

enum class Event { None, CloseRequest, Menu, Other };
// Takes one pending item without waiting: None when nothing is pending.
Event pollEvent();
// The item id of the last Menu event.
int menuItemId();

// --- Drawing screen and sprites ---------------------------------------------------

// The hidden buffer of width x height pixels, stretched over the window's whole
// client area, each axis by itself, without smoothing.
void startScreen();
void openScreen(int width, int height);
void setFrameRate(int framesPerSecond);
// Presents the hidden buffer, then waits until the frame period has passed since the
// previous flip (sleeping).
void flip();
void clearScreen(std::uint32_t rgb);

using Sprite = int;
Sprite createSprite(int width, int height);
void fillSprite(Sprite sprite, std::uint32_t rgb);
// From an uncompressed 24-bit BMP image held in memory.
Sprite createSpriteFromBmp(std::span<const std::uint8_t> bmp);
// Opaque, unscaled, top-left corner at (x, y), clipped to the screen.
void drawSprite(Sprite sprite, int x, int y);

// --- Clock, files and the system ----------------------------------------------------

// Milliseconds from a 64-bit monotonic clock; its zero is not the start of the program.
std::int64_t milliseconds();

// The current directory, ending in the platform's separator.
std::string currentDirectory();
// A modal file-open requester opened on startFolder with one filter that shows every
// file; no read-only box; the current directory is left as it is; a typed name that
// does not exist is accepted where its folder exists. The chosen path, or empty when
// cancelled.
std::string openFileRequester(std::string_view title, std::string_view startFolder,
                              std::string_view filterName);
// Opens a web address with the system's handler; waits for the process started for
// it only where the system reports one. Failures are not reported.
void openWebAddress(std::string_view address);

} // namespace toolkit
