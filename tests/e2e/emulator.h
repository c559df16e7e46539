#pragma once

// The emulator as a person meets it: started fresh in a folder of its own, found on
// the screen by its title, commanded through its menus, dialogs and keys.

#include <gtest/gtest.h>

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/desktop.h"
#include "tests/support/rom_bytes.h"

namespace e2e {

inline constexpr const char* MainWindowTitle = "Lumvexor - Quorvane 2011-2016";
inline constexpr const char* RequesterTitle = "Lumvexor, please select a rom to emulate...";

// A title as an anchored regular expression.
std::string exactTitle(const std::string& title);

class Emulator {
public:
    // Starts the emulator with its current directory at cwd; what it plays is
    // recorded to recording(); its output goes to a log in folder. Each NAME=VALUE
    // of `changes` sets a variable of its environment, each bare NAME removes one.
    Emulator(const std::filesystem::path& folder, const std::filesystem::path& cwd,
             const std::vector<std::string>& changes = {});

    // The main window, found by its title among the process's windows; false when
    // it did not appear in time.
    bool waitForMainWindow(Seconds timeout = Seconds(10));
    Window window() const { return window_; }
    Process& process() { return process_; }
    const std::filesystem::path& recording() const { return recording_; }

    std::optional<Geometry> geometry() const { return windowGeometry(window_); }
    // The client area: the menu bar above the drawing area.
    QImage screenshot(const std::string& name);
    // Screenshots until accept() takes one, at most timeout long; the last one taken.
    template <typename Accept>
    QImage screenshotUntil(const std::string& name, Seconds timeout, Accept accept);

    bool activate() { return e2e::activate(window_); }

    // The menu titles in the menu bar, as the mouse finds them: the centres of the
    // three words, in screen coordinates.
    std::vector<std::pair<int, int>> menuTitles();
    // Clicks a menu title, then the line-th text line of the menu that opens
    // (0 = first; -1 = last). False when no menu opened.
    bool clickMenuItem(int title, int line);

    // Menu commands by keyboard, as a person uses them: Alt and the title's letter,
    // then the arrow keys from the first item, then Enter.
    void menuByKeys(const std::string& altKey, const std::vector<std::string>& moves);
    void openRomByKeys() { menuByKeys("alt+f", {}); }
    void exitByKeys() { menuByKeys("alt+f", {"Down"}); }
    void startGame() { menuByKeys("alt+g", {}); }
    void resetGame() { menuByKeys("alt+g", {"Down"}); }
    // steps = position of the item in "Game speed", 0 for "-4" .. 12 for "+8".
    void chooseSpeed(int position);

    // Ends the process if it still runs.
    void stop() { process_.stop(); }

private:
    std::filesystem::path folder_;
    std::filesystem::path recording_;
    Process process_;
    Window window_ = 0;
    int shots_ = 0;
};

// The folder of the scenario that runs now, for screenshots the helpers take.
const std::filesystem::path& scenarioFolder();

// The file-open requester: waits for it, types the name into its file-name box
// and presses Enter; true once it has closed.
bool waitForRequester(Seconds timeout = Seconds(5));
bool chooseInRequester(const std::string& name);
bool cancelRequester();

// A message box with the given caption: its text as the box copies it to the
// clipboard (Ctrl+C), or nullopt when no such box appeared.
std::optional<std::string> messageBoxText(const std::string& caption, Seconds timeout = Seconds(5));
// Dismisses it with Enter; true once it is gone.
bool dismissMessageBox(const std::string& caption);

struct Cells;
// Screenshots until the drawing area shows exactly these machine pixels as white
// squares on black (8 x 8 for 64 x 32 pixels, 4 x 4 for 128 x 64): empty then;
// otherwise what the last screenshot showed instead.
std::string waitForPicture(Emulator& emulator, const std::string& name, const Cells& expected,
                           Seconds timeout = Seconds(3));

// Small ROM images, written as a list of 16-bit instructions, and their files.
using lumvexor::test::romOf;
using lumvexor::test::writeBytes;
// The public test ROM showing the IBM logo.
std::filesystem::path ibmLogoRom();

// One scenario: a fresh folder under the build's e2e-artifacts, kept when the
// scenario fails (screenshots, recording, logs) and removed when it passes.
class Scenario : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const std::filesystem::path& folder() const { return folder_; }
    // The emulator's current directory.
    const std::filesystem::path& cwd() const { return cwd_; }
    Emulator& startEmulator(const std::vector<std::string>& environmentChanges = {});

private:
    std::filesystem::path folder_;
    std::filesystem::path cwd_;
    std::vector<std::unique_ptr<Emulator>> emulators_;
};

template <typename Accept>
QImage Emulator::screenshotUntil(const std::string& name, Seconds timeout, Accept accept)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    QImage shot;
    do {
        shot = screenshot(name);
        if (!shot.isNull() && accept(shot)) {
            return shot;
        }
        sleepFor(Seconds(0.1));
    } while (std::chrono::steady_clock::now() < deadline);
    return shot;
}

} // namespace e2e
