// Start-up, window, menu bar, events, screen, clock and dialogs, scripted.
#include <filesystem>

#include "toolkit/common/drawing.h"
#include "toolkit/headless/script.h"
#include "toolkit/toolkit.h"

using headless::script;

namespace {

void record(std::string call)
{
    script().calls.push_back(std::move(call));
}

} // namespace

namespace headless {

void setStartFailure(const std::string& failure)
{
    script().startFailure = failure;
}

void setWindowOpens(bool opens)
{
    script().windowOpens = opens;
}

const std::vector<std::string>& calls()
{
    return script().calls;
}

void queueEvent(toolkit::Event event)
{
    script().events.push_back(event);
}

void queueMenuEvent(int id)
{
    script().events.push_back(toolkit::Event::Menu);
    script().menuIds.push_back(id);
}

bool eventsPending()
{
    return !script().events.empty();
}

void setClock(std::int64_t milliseconds)
{
    script().clock = milliseconds;
}

void queueFileAnswer(const std::string& path)
{
    script().fileAnswers.push_back(path);
}

const std::vector<FileRequest>& fileRequests()
{
    return script().fileRequests;
}

const std::vector<std::string>& webAddresses()
{
    return script().webAddresses;
}

int flips()
{
    return script().flips;
}

const toolkit::raster::Image& presented()
{
    return script().presented;
}

} // namespace headless

namespace toolkit {

std::string startServices()
{
    record("startServices");
    return script().startFailure;
}

void shutDownServices()
{
    record("shutDownServices");
    script().windowOpen = false;
    drawing::releaseAll();
}

void startKeyboard()
{
    record("startKeyboard");
}

void startSound()
{
    record("startSound");
}

void loadTone(std::span<const std::uint8_t> wave)
{
    record("loadTone " + std::to_string(wave.size()));
}

bool openMainWindow(std::string_view title, int clientWidth, int clientHeight, int x, int y)
{
    record("openMainWindow " + std::string(title) + " " + std::to_string(clientWidth) + "x" +
           std::to_string(clientHeight) + " at " + std::to_string(x) + "," + std::to_string(y));
    script().windowOpen = script().windowOpens;
    return script().windowOpen;
}

bool createMenuBar()
{
    record("createMenuBar");
    return script().windowOpen;
}

void addMenu(std::string_view title)
{
    record("addMenu " + std::string(title));
}

void addMenuItem(int id, std::string_view label)
{
    record("addMenuItem " + std::to_string(id) + " " + std::string(label));
}

void addMenuSeparator()
{
    record("addMenuSeparator");
}

void beginSubMenu(std::string_view title)
{
    record("beginSubMenu " + std::string(title));
}

void endSubMenu()
{
    record("endSubMenu");
}

Event pollEvent()
{
    if (script().events.empty()) {
        return Event::None;
    }
    const Event event = script().events.front();
    script().events.pop_front();
    if (event == Event::Menu && !script().menuIds.empty()) {
        script().menuItemId = script().menuIds.front();
        script().menuIds.pop_front();
    }
    return event;
}

int menuItemId()
{
    return script().menuItemId;
}

void startScreen()
{
    record("startScreen");
}

void openScreen(int width, int height)
{
    record("openScreen " + std::to_string(width) + "x" + std::to_string(height));
    drawing::resizeHiddenBuffer(width, height);
}

void setFrameRate(int framesPerSecond)
{
    record("setFrameRate " + std::to_string(framesPerSecond));
}

void flip()
{
    ++script().flips;
    script().presented = drawing::hiddenBuffer();
}

std::int64_t milliseconds()
{
    return script().clock;
}

std::string currentDirectory()
{
    std::string directory = std::filesystem::current_path().string();
    if (directory.empty() || directory.back() != std::filesystem::path::preferred_separator) {
        directory += std::filesystem::path::preferred_separator;
    }
    return directory;
}

std::string openFileRequester(std::string_view title, std::string_view startFolder,
                              std::string_view filterName)
{
    record("openFileRequester " + std::string(title));
    script().fileRequests.push_back({std::string(title), std::string(startFolder), std::string(filterName)});
    if (script().fileAnswers.empty()) {
        return {};
    }
    std::string answer = script().fileAnswers.front();
    script().fileAnswers.pop_front();
    return answer;
}

void openWebAddress(std::string_view address)
{
    record("openWebAddress " + std::string(address));
    script().webAddresses.emplace_back(address);
}

} // namespace toolkit
