// Start and end: the one clear line where no window can be opened, and nothing left
// on disk by the run. The cases that need an environment of their own run in a fresh
// copy of this program.
#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QSettings>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "qt_test_support.h"
#include "toolkit/qt/display_check.h"
#include "toolkit/toolkit.h"

namespace {

using toolkit::qt::DisplayEnvironment;
using toolkit::qt::missingDisplay;

struct DisplayCase {
    const char* name;
    DisplayEnvironment environment;
    const char* reason; // null: a window may be opened
};

void PrintTo(const DisplayCase& c, std::ostream* out)
{
    *out << c.name;
}

class DisplayCheck : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayCheck, NamesWhatIsMissing)
{
    const DisplayCase& c = GetParam();
    const std::string expected =
        c.reason ? std::string("Lumvexor: no display to open a window on (") + c.reason + ")" : "";
    EXPECT_EQ(missingDisplay(c.environment), expected);
}

constexpr const char* Neither = "neither DISPLAY nor WAYLAND_DISPLAY is set";

INSTANTIATE_TEST_SUITE_P(
    Environments, DisplayCheck,
    ::testing::Values(DisplayCase{"nothing_set", {nullptr, nullptr, nullptr}, Neither},
                      DisplayCase{"empty_values_count_as_unset", {"", "", ""}, Neither},
                      DisplayCase{"x_display", {nullptr, ":0", nullptr}, nullptr},
                      DisplayCase{"wayland_display", {nullptr, nullptr, "wayland-0"}, nullptr},
                      DisplayCase{"xcb_without_display", {"xcb", nullptr, "wayland-0"}, "DISPLAY is not set"},
                      DisplayCase{"xcb_with_options", {"xcb:nomitshm", ":1", nullptr}, nullptr},
                      DisplayCase{"wayland_without_display", {"wayland", ":0", nullptr}, "WAYLAND_DISPLAY is not set"},
                      DisplayCase{"wayland_egl", {"wayland-egl", nullptr, "wayland-1"}, nullptr},
                      DisplayCase{"wayland_then_xcb", {"wayland;xcb", nullptr, nullptr}, Neither},
                      DisplayCase{"wayland_then_xcb_with_x", {"wayland;xcb", ":0", nullptr}, nullptr},
                      DisplayCase{"offscreen", {"offscreen", nullptr, nullptr}, nullptr},
                      DisplayCase{"minimal", {"minimal", nullptr, nullptr}, nullptr},
                      DisplayCase{"falls_back_to_offscreen", {"xcb;offscreen", nullptr, nullptr}, nullptr},
                      DisplayCase{"empty_entries_only", {";", nullptr, nullptr}, Neither}),
    [](const ::testing::TestParamInfo<DisplayCase>& info) { return std::string(info.param.name); });

class StartInFreshProcess : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(StartInFreshProcess, WithoutADisplayTheLineComesBackAndQtIsNotStarted)
{
    EXPECT_EXIT(
        {
            unsetenv("QT_QPA_PLATFORM");
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            const std::string line = toolkit::startServices();
            std::fprintf(stderr, "%s\n", line.c_str());
            std::_Exit(QCoreApplication::instance() == nullptr ? 0 : 1);
        },
        ::testing::ExitedWithCode(0),
        "^Lumvexor: no display to open a window on \\(neither DISPLAY nor WAYLAND_DISPLAY is set\\)\n$");
}

TEST_F(StartInFreshProcess, DisplayThatDoesNotAnswerEndsTheProgramWithTheLineAlone)
{
    EXPECT_EXIT(
        {
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            setenv("DISPLAY", ":4711", 1); // no X server listens there
            unsetenv("WAYLAND_DISPLAY");
            toolkit::startServices();
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(1),
        "^Lumvexor: cannot open a window: the window system did not start \\(QT_QPA_PLATFORM=xcb, "
        "DISPLAY=:4711\\)\n$");
}

// A home folder of its own, empty, where Qt's user settings would go.
std::filesystem::path useFreshHome()
{
    const std::filesystem::path home = qt_test::makeFreshFolder("lumvexor-home");
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    return home;
}

// Ends this copy of the program: 0 when the home folder is as asked, else 1 after
// naming what is there.
[[noreturn]] void endWithHome(const std::filesystem::path& home, bool expectEmpty)
{
    bool empty = true;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(home)) {
        empty = false;
        std::fprintf(stderr, "in the home folder: %s\n", entry.path().c_str());
    }
    std::filesystem::remove_all(home);
    std::_Exit(empty == expectEmpty ? 0 : 1);
}

// Shows that the fresh home really is where Qt would put the file requester's
// settings, so that the next test's empty home means something.
TEST_F(StartInFreshProcess, QtsUserSettingsGoToTheFreshHome)
{
    EXPECT_EXIT(
        {
            const std::filesystem::path home = useFreshHome();
            QSettings(QSettings::UserScope, QStringLiteral("QtProject")).setValue("probe", 1);
            endWithHome(home, false);
        },
        ::testing::ExitedWithCode(0), "QtProject.conf");
}

TEST_F(StartInFreshProcess, FileRequesterLeavesNoSettingsBehind)
{
    EXPECT_EXIT(
        {
            const std::filesystem::path home = useFreshHome();
            setenv("QT_QPA_PLATFORM", "offscreen", 0);
            if (!toolkit::startServices().empty() || !toolkit::openMainWindow("t", 512, 280, 100, 100)) {
                std::_Exit(2);
            }
            qt_test::onModalDialog([](QWidget& requester) {
                requester.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("GAME"));
                static_cast<QDialog&>(requester).accept();
            });
            toolkit::openFileRequester("t", home.string() + "/", "Chip8 ROM");
            qt_test::onModalDialog([](QWidget& requester) { static_cast<QDialog&>(requester).reject(); });
            toolkit::openFileRequester("t", home.string() + "/", "Chip8 ROM");
            toolkit::shutDownServices();
            endWithHome(home, true);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
