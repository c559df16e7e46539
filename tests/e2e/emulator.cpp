#include "tests/e2e/emulator.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>

#include "tests/e2e/picture.h"

#ifndef LUMVEXOR_E2E_EMULATOR
#error "LUMVEXOR_E2E_EMULATOR must name the emulator executable"
#endif
#ifndef LUMVEXOR_E2E_ARTIFACTS
#error "LUMVEXOR_E2E_ARTIFACTS must name the folder for the scenarios' files"
#endif
#ifndef LUMVEXOR_E2E_LEAK_SUPPRESSIONS
#error "LUMVEXOR_E2E_LEAK_SUPPRESSIONS must name the leak suppressions for sanitizer builds"
#endif
#ifndef LUMVEXOR_E2E_ROMS
#error "LUMVEXOR_E2E_ROMS must name the folder of the public test ROMs"
#endif

namespace e2e {

namespace {

// The colour that most pixels of the image have.
QRgb commonColour(const QImage& image, QRect area)
{
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    return std::max_element(counts.begin(), counts.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

bool differs(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) > 90;
}

// Runs of indices whose flag is set, joining runs separated by at most gap unset ones.
std::vector<std::pair<int, int>> runs(const std::vector<bool>& flags, int gap)
{
    std::vector<std::pair<int, int>> result;
    int start = -1;
    int last = -1;
    for (int i = 0; i < static_cast<int>(flags.size()); ++i) {
        if (!flags[i]) {
            continue;
        }
        if (start >= 0 && i - last - 1 > gap) {
            result.emplace_back(start, last);
            start = -1;
        }
        if (start < 0) {
            start = i;
        }
        last = i;
    }
    if (start >= 0) {
        result.emplace_back(start, last);
    }
    return result;
}

// Lines of text in a menu's picture (rows with ink), as their vertical centres;
// separators, one or two rows high, are not lines of text.
std::vector<int> textLines(const QImage& menu)
{
    const int margin = 4;
    if (menu.width() <= 2 * margin || menu.height() <= 2 * margin) {
        return {};
    }
    const QRgb background = commonColour(menu, QRect(margin, margin, menu.width() - 2 * margin,
                                                     menu.height() - 2 * margin));
    std::vector<bool> inked(static_cast<std::size_t>(menu.height()), false);
    for (int y = margin; y < menu.height() - margin; ++y) {
        for (int x = margin; x < menu.width() - margin; ++x) {
            if (differs(menu.pixel(x, y), background)) {
                inked[static_cast<std::size_t>(y)] = true;
                break;
            }
        }
    }
    std::vector<int> centres;
    for (const auto& [top, bottom] : runs(inked, 1)) {
        if (bottom - top + 1 >= 5) {
            centres.push_back((top + bottom) / 2);
        }
    }
    return centres;
}

std::filesystem::path currentFolder;

// A screenshot of the whole screen, kept for reading when a helper gives up.
void keepScreen(const std::string& name)
{
    static int count = 0;
    if (!currentFolder.empty()) {
        screenshotOfScreen(currentFolder / ("screen-" + std::to_string(++count) + "-" + name + ".png"));
    }
}

} // namespace

const std::filesystem::path& scenarioFolder()
{
    return currentFolder;
}

std::string exactTitle(const std::string& title)
{
    static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
    std::string pattern = "^";
    pattern += std::regex_replace(title, special, R"(\$&)");
    pattern += "$";
    return pattern;
}

// --- The emulator ------------------------------------------------------------------

namespace {

// NAME=VALUE sets the variable NAME of env; a bare NAME removes it.
void changeVariable(std::vector<std::string>& env, const std::string& change)
{
    const std::string prefix = change.substr(0, change.find('=')) + "=";
    env.erase(std::remove_if(env.begin(), env.end(),
                             [&prefix](const std::string& e) { return e.rfind(prefix, 0) == 0; }),
              env.end());
    if (change.size() >= prefix.size()) {
        env.push_back(change);
    }
}

} // namespace

Emulator::Emulator(const std::filesystem::path& folder, const std::filesystem::path& cwd,
                   const std::vector<std::string>& changes)
    : folder_(folder), recording_(folder / "sound.wav")
{
    // OpenAL Soft writes what it would play to a mono WAV file, in real time.
    const std::filesystem::path config = folder / "openal.conf";
    std::ofstream(config) << "[general]\ndrivers=wave\nchannels=mono\nfrequency=44100\n"
                             "sample-type=int16\nperiod_size=256\n"
                             "[wave]\nfile="
                          << recording_.string() << "\n";
    std::vector<std::string> env = Desktop::environment();
    env.push_back("ALSOFT_CONF=" + config.string());
    // In a sanitizer build, leaks of the system's libraries are not the emulator's.
    const char* lsan = std::getenv("LSAN_OPTIONS");
    changeVariable(env, std::string("LSAN_OPTIONS=") + (lsan ? std::string(lsan) + ":" : std::string()) +
                            "suppressions=" LUMVEXOR_E2E_LEAK_SUPPRESSIONS ":print_suppressions=0");
    for (const std::string& change : changes) {
        changeVariable(env, change);
    }
    process_ = Process::start({LUMVEXOR_E2E_EMULATOR}, env, cwd, folder / "emulator.log");
}

bool Emulator::waitForMainWindow(Seconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline && process_.running()) {
        for (Window candidate : windowsOfProcess(process_.pid())) {
            if (windowTitle(candidate) == MainWindowTitle) {
                window_ = candidate;
                sleepFor(Seconds(0.2)); // mapped; let the first frames arrive
                return true;
            }
        }
        sleepFor(Seconds(0.05));
    }
    return false;
}

QImage Emulator::screenshot(const std::string& name)
{
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%03d-", ++shots_);
    return screenshotOfWindow(window_, folder_ / (prefix + name + ".png"));
}

std::vector<std::pair<int, int>> Emulator::menuTitles()
{
    const QImage shot = screenshot("menu-bar");
    const auto where = geometry();
    const int barHeight = shot.height() - DrawingHeight;
    if (shot.isNull() || !where || barHeight < 8) {
        return {};
    }
    const QRgb background = commonColour(shot, QRect(0, 0, shot.width(), barHeight));
    std::vector<bool> inked(static_cast<std::size_t>(shot.width()), false);
    for (int x = 0; x < shot.width(); ++x) {
        for (int y = 2; y < barHeight - 2; ++y) {
            if (differs(shot.pixel(x, y), background)) {
                inked[static_cast<std::size_t>(x)] = true;
                break;
            }
        }
    }
    std::vector<std::pair<int, int>> titles;
    for (const auto& [left, right] : runs(inked, 5)) {
        titles.emplace_back(where->x + (left + right) / 2, where->y + barHeight / 2);
    }
    return titles;
}

bool Emulator::clickMenuItem(int title, int line)
{
    const auto titles = menuTitles();
    if (title >= static_cast<int>(titles.size())) {
        return false;
    }
    const std::vector<Window> before = windowsOfProcess(process_.pid());
    click(titles[static_cast<std::size_t>(title)].first, titles[static_cast<std::size_t>(title)].second);
    const auto deadline = std::chrono::steady_clock::now() + Seconds(3);
    while (std::chrono::steady_clock::now() < deadline) {
        for (Window candidate : windowsOfProcess(process_.pid())) {
            if (std::find(before.begin(), before.end(), candidate) != before.end()) {
                continue;
            }
            const auto menu = windowGeometry(candidate);
            if (!menu || menu->height < 20) {
                continue;
            }
            sleepFor(Seconds(0.2)); // drawn
            char prefix[16];
            std::snprintf(prefix, sizeof prefix, "%03d-", ++shots_);
            const QImage picture = screenshotOfWindow(candidate, folder_ / (std::string(prefix) + "menu.png"));
            const std::vector<int> lines = textLines(picture);
            if (lines.empty()) {
                continue;
            }
            const int index = line < 0 ? static_cast<int>(lines.size()) + line : line;
            if (index < 0 || index >= static_cast<int>(lines.size())) {
                return false;
            }
            click(menu->x + menu->width / 3, menu->y + lines[static_cast<std::size_t>(index)]);
            return true;
        }
        sleepFor(Seconds(0.05));
    }
    return false;
}

void Emulator::menuByKeys(const std::string& altKey, const std::vector<std::string>& moves)
{
    activate();
    pressKeys(altKey);
    sleepFor(Seconds(0.3));
    for (const std::string& move : moves) {
        pressKeys(move);
        sleepFor(Seconds(0.15));
    }
    pressKeys("Return");
    sleepFor(Seconds(0.1));
}

void Emulator::chooseSpeed(int position)
{
    std::vector<std::string> moves = {"Down", "Down", "Right"};
    for (int i = 0; i < position; ++i) {
        moves.emplace_back("Down");
    }
    menuByKeys("alt+g", moves);
}

// --- Dialogs -----------------------------------------------------------------------

bool waitForRequester(Seconds timeout)
{
    const auto requester = waitForWindow(exactTitle(RequesterTitle), timeout);
    if (!requester) {
        keepScreen("no-requester");
        return false;
    }
    activate(*requester);
    sleepFor(Seconds(0.3)); // the folder listed, the file-name box has the focus
    return true;
}

bool chooseInRequester(const std::string& name)
{
    if (!waitForRequester()) {
        return false;
    }
    typeText(name);
    sleepFor(Seconds(0.3));
    keepScreen("name-typed");
    pressKeys("Return");
    if (waitForNoWindow(exactTitle(RequesterTitle), Seconds(3))) {
        return true;
    }
    keepScreen("requester-still-open");
    return false;
}

bool cancelRequester()
{
    if (!waitForRequester()) {
        return false;
    }
    pressKeys("Escape");
    return waitForNoWindow(exactTitle(RequesterTitle), Seconds(3));
}

std::optional<std::string> messageBoxText(const std::string& caption, Seconds timeout)
{
    const auto box = waitForWindow(exactTitle(caption), timeout);
    if (!box) {
        return std::nullopt;
    }
    activate(*box);
    pressKeys("ctrl+c");
    sleepFor(Seconds(0.2));
    return clipboardText();
}

bool dismissMessageBox(const std::string& caption)
{
    const auto box = waitForWindow(exactTitle(caption), Seconds(2));
    if (!box) {
        return false;
    }
    activate(*box);
    pressKeys("Return");
    return waitForNoWindow(exactTitle(caption), Seconds(3));
}

std::string waitForPicture(Emulator& emulator, const std::string& name, const Cells& expected,
                           Seconds timeout)
{
    const int square = DrawingWidth / expected.columns;
    std::string why = "no screenshot of the window could be taken";
    bool matched = false;
    emulator.screenshotUntil(name, timeout, [&](const QImage& shot) {
        const auto seen = readSquares(drawingArea(shot), square, why);
        matched = seen && *seen == expected;
        if (seen && !matched) {
            why = "the screen shows\n" + describe(*seen) + "instead of\n" + describe(expected);
        }
        return matched;
    });
    return matched ? std::string() : why;
}

// --- ROM images --------------------------------------------------------------------

std::filesystem::path ibmLogoRom()
{
    return std::filesystem::weakly_canonical(std::filesystem::path(LUMVEXOR_E2E_ROMS) / "chip8-test-suite" /
                                             "2-ibm-logo.ch8");
}

// --- Scenarios ---------------------------------------------------------------------

void Scenario::SetUp()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::path(LUMVEXOR_E2E_ARTIFACTS) /
              (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(folder_);
    cwd_ = folder_ / "cwd";
    currentFolder = folder_;
    std::filesystem::create_directories(cwd_);
}

void Scenario::TearDown()
{
    for (auto& emulator : emulators_) {
        emulator->stop();
    }
    emulators_.clear();
    if (HasFailure() || std::getenv("LUMVEXOR_E2E_KEEP") != nullptr) {
        std::printf("[ artifacts] screenshots, recording and logs kept in %s\n", folder_.c_str());
    } else {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

Emulator& Scenario::startEmulator(const std::vector<std::string>& environmentChanges)
{
    emulators_.push_back(std::make_unique<Emulator>(folder_, cwd_, environmentChanges));
    return *emulators_.back();
}

} // namespace e2e
