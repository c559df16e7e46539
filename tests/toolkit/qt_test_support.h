#pragma once

// What the desktop toolkit's tests share: a fixture that starts the toolkit the way
// the emulator's start-up does, and helpers that act as the user would.

#include <QWidget>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace qt_test {

inline constexpr int ClientWidth = 512;
inline constexpr int ClientHeight = 280;
inline constexpr const char* Title = "Lumvexor - Quorvane 2011-2016";

// The emulator's menu tree, built through the toolkit's functions.
void buildMenuBar();

// Started as the emulator starts: services, screen, keyboard, the main window with its
// menu bar and drawing screen, 30 frames per second; the window is then the active one.
class QtToolkitTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Makes a window the active one, as a click on it would; false if it did not become so.
bool activate(QWidget& window);

// Runs act on the modal dialog once it is shown, from inside its event loop.
void onModalDialog(std::function<void(QWidget&)> act);

// A new empty folder under the system's temporary folder.
std::filesystem::path makeFreshFolder(const char* prefix);

} // namespace qt_test
