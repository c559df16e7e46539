#pragma once

// Whether a window can be opened, judged from the environment before the window
// system is touched: Qt ends the process when its platform plugin cannot start, so
// the plain cases are caught first and the rest are turned into one clear line.

#include <string>

namespace toolkit::qt {

struct DisplayEnvironment {
    const char* platform = nullptr;       // QT_QPA_PLATFORM; null when unset
    const char* display = nullptr;        // DISPLAY
    const char* waylandDisplay = nullptr; // WAYLAND_DISPLAY
};

DisplayEnvironment displayEnvironment();

// Why no window can be opened, when no display is named for the window system that
// would be tried; empty where one may be.
std::string missingDisplay(const DisplayEnvironment& environment);
// The line for a window system that was named but did not start.
std::string failedDisplay(const DisplayEnvironment& environment);

} // namespace toolkit::qt
