#pragma once

// The desktop the end-to-end tests run on: one virtual X server with a small window
// manager for the whole run, the programs started on it, and the ways a person acts
// on it (keys, mouse, window commands) and sees it (screenshots, window titles).

#include <sys/types.h>

#include <QImage>

#include <array>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using Seconds = std::chrono::duration<double>;
using Window = unsigned long; // an X window id

struct CommandResult {
    int exitCode = -1; // -1: it did not end in time, or could not be started
    std::string output;
};

// Runs a program to its end, at most timeout long, on the session's display;
// its standard output is returned, its standard error goes to the session log.
CommandResult run(const std::vector<std::string>& argv, Seconds timeout = Seconds(10));

// A program started in the background.
class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process();

    // Standard output and standard error go to logFile; env entries are NAME=VALUE
    // and replace the test's own environment.
    static Process start(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                         const std::filesystem::path& cwd, const std::filesystem::path& logFile);

    pid_t pid() const { return pid_; }
    bool running();
    // True when the process ended within timeout.
    bool waitForExit(Seconds timeout);
    // The raw wait status once it ended.
    std::optional<int> status() const { return status_; }
    // Ends it (terminate, then kill) if it still runs.
    void stop();

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// The X server and window manager of the run.
class Desktop {
public:
    static constexpr int Width = 1280;
    static constexpr int Height = 1024;

    // Starts them once; throws with the reason when something essential is missing.
    static void start(const std::filesystem::path& logFolder);
    static void stop();
    static const std::string& display();
    // The environment for a program on this desktop: the test's own, with DISPLAY
    // set and session variables that would steer Qt elsewhere removed.
    static std::vector<std::string> environment();
};

struct Geometry {
    int x = 0; // absolute position of the client area's top-left corner
    int y = 0;
    int width = 0;
    int height = 0;
};

// Windows by title (an extended regular expression), visible ones only.
std::vector<Window> findWindows(const std::string& titlePattern);
std::vector<Window> windowsOfProcess(pid_t pid);
std::optional<Window> waitForWindow(const std::string& titlePattern, Seconds timeout);
bool waitForNoWindow(const std::string& titlePattern, Seconds timeout);
std::string windowTitle(Window window);
std::optional<Geometry> windowGeometry(Window window);
// The window manager's frame around a client: left, right, top, bottom.
std::optional<std::array<int, 4>> frameExtents(Window window);

Window activeWindow();
// Asks the window manager to bring the window to the front; true once it is active.
bool activate(Window window, Seconds timeout = Seconds(3));

// Keys by X key name ("alt+f", "Return", "v"), typed to whatever has the focus.
void pressKeys(const std::string& keys);
void keyDown(const std::string& key);
void keyUp(const std::string& key);
// A key held for a while, as a person presses it.
void tapKey(const std::string& key, Seconds hold = Seconds(0.1));
void typeText(const std::string& text);
void moveMouse(int x, int y);
void click(int x, int y);
void resizeWindow(Window window, int width, int height);

// Screenshots, kept as PNG files at path and read back.
QImage screenshotOfWindow(Window window, const std::filesystem::path& path);
QImage screenshotOfScreen(const std::filesystem::path& path);

// Text on the clipboard (what a person would paste), empty when there is none.
std::string clipboardText();

void sleepFor(Seconds duration);

} // namespace e2e
