#include <filesystem>
#include <string>

#include "shell/shell.h"
#include "toolkit/toolkit.h"

namespace lumvexor {

namespace {

// Menu item ids, as the menu events report them.
enum MenuItem {
    OpenRomImage = 1,
    StartGame = 2,
    ResetGame = 3,
    Exit = 17,
    Website = 18,
    About = 19,
};

struct SpeedItem {
    int id;
    const char* label;
    std::int32_t speed; // steps per slice
};

// The "Game speed" sub-menu, in display order.
constexpr SpeedItem GameSpeeds[] = {
    {16, "-4", 5},   {15, "-3", 10},  {14, "-2", 14},  {13, "-1", 17},  {12, "normal", 20},
    {4, "+1", 30},   {5, "+2", 45},   {6, "+3", 60},   {7, "+4", 75},   {8, "+5", 90},
    {9, "+6", 105},  {10, "+7", 120}, {11, "+8", 140},
};

// The maker's web site.
constexpr const char* WebsiteHost = "https://www.quorvane.net";
constexpr const char* WebsitePath = "/downloads/emulation/chip-8-emulator";

void openRomImage(Shell& shell)
{
    // The folder "games" under the current directory, with the platform's separator.
    const std::string startFolder =
        toolkit::currentDirectory() + "games" + std::string(1, std::filesystem::path::preferred_separator);
    shell.host.romPath =
        toolkit::openFileRequester("Lumvexor, please select a rom to emulate...", startFolder, "Chip8 ROM");
    if (shell.host.romPath.empty()) {
        return; // cancelled: the running program goes on
    }
    loadRomImageSequence(shell.machine, shell.frameBuffer, shell.host);
    shell.host.speed = NormalSpeed;
}

bool reportNoGame(const Shell& shell)
{
    if (!shell.host.romPath.empty()) {
        return false;
    }
    toolkit::showMessageBox("Lumvexor", "No game was loaded!");
    return true;
}

} // namespace

void buildMenuBar()
{
    toolkit::addMenu("&File");
    toolkit::addMenuItem(OpenRomImage, "Open ROM image...");
    toolkit::addMenuSeparator();
    toolkit::addMenuItem(Exit, "Exit");

    toolkit::addMenu("&Game");
    toolkit::addMenuItem(StartGame, "Start game");
    toolkit::addMenuItem(ResetGame, "Reset game");
    toolkit::addMenuSeparator();
    toolkit::beginSubMenu("Game speed");
    for (const SpeedItem& item : GameSpeeds) {
        toolkit::addMenuItem(item.id, item.label);
    }
    toolkit::endSubMenu();

    toolkit::addMenu("&Help");
    toolkit::addMenuItem(Website, "Website...");
    toolkit::addMenuItem(About, "About...");
}

Outcome carryOutCommand(Shell& shell, int itemId)
{
    switch (itemId) {
    case OpenRomImage:
        openRomImage(shell);
        return Outcome::Continue;
    case StartGame:
        reportNoGame(shell); // otherwise the loaded program is already running
        return Outcome::Continue;
    case ResetGame:
        if (!reportNoGame(shell)) {
            loadRomImageSequence(shell.machine, shell.frameBuffer, shell.host);
        }
        return Outcome::Continue;
    case Exit:
        return Outcome::Exit;
    case Website:
        toolkit::openWebAddress(std::string(WebsiteHost) + WebsitePath);
        return Outcome::Continue;
    case About:
        toolkit::showMessageBox("About Lumvexor", "Quorvane 2011-2016\nwww.quorvane.net");
        return Outcome::Continue;
    default:
        for (const SpeedItem& item : GameSpeeds) {
            if (item.id == itemId) {
                shell.host.speed = item.speed;
            }
        }
        return Outcome::Continue;
    }
}

} // namespace lumvexor
