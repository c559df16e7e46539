#include "toolkit/qt/display_check.h"

#include <cstdlib>
#include <string_view>

namespace toolkit::qt {

namespace {

bool isSet(const char* value)
{
    return value != nullptr && *value != '\0';
}

} // namespace

DisplayEnvironment displayEnvironment()
{
    return {std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY")};
}

std::string missingDisplay(const DisplayEnvironment& environment)
{
#if defined(_WIN32) || defined(__APPLE__)
    (void)environment; // the window system is always there
    return {};
#else
    // Unset, Qt tries the X server or the Wayland compositor, whichever is named.
    bool triesX = true;
    bool triesWayland = true;
    if (isSet(environment.platform)) {
        triesX = false;
        triesWayland = false;
        // A list of platforms tried in turn, "wayland;xcb", each with options after ':'.
        std::string_view rest = environment.platform;
        while (!rest.empty()) {
            const std::size_t end = rest.find(';');
            std::string_view entry = rest.substr(0, end);
            entry = entry.substr(0, entry.find(':'));
            if (entry == "xcb") {
                triesX = true;
            } else if (entry.starts_with("wayland")) {
                triesWayland = true;
            } else if (!entry.empty()) {
                return {}; // offscreen, minimal, vnc, eglfs...: no display server needed
            }
            rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        }
        if (!triesX && !triesWayland) { // a list of empty entries names nothing
            triesX = true;
            triesWayland = true;
        }
    }
    if ((triesX && isSet(environment.display)) || (triesWayland && isSet(environment.waylandDisplay))) {
        return {};
    }
    const char* reason = triesX && triesWayland ? "neither DISPLAY nor WAYLAND_DISPLAY is set"
                         : triesX               ? "DISPLAY is not set"
                                                : "WAYLAND_DISPLAY is not set";
    return std::string("Lumvexor: no display to open a window on (") + reason + ")";
#endif
}

std::string failedDisplay(const DisplayEnvironment& environment)
{
    std::string named;
    const auto name = [&named](const char* variable, const char* value) {
        if (isSet(value)) {
            named += named.empty() ? " (" : ", ";
            named += variable;
            named += '=';
            named += value;
        }
    };
    name("QT_QPA_PLATFORM", environment.platform);
    name("DISPLAY", environment.display);
    name("WAYLAND_DISPLAY", environment.waylandDisplay);
    if (!named.empty()) {
        named += ')';
    }
    return "Lumvexor: cannot open a window: the window system did not start" + named;
}

} // namespace toolkit::qt
