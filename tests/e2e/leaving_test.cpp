// Leaving: Exit from the menu, the window's close box and Alt+F4 each end the
// program at once, with exit code 0.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include "tests/e2e/emulator.h"

namespace e2e {
namespace {

void expectEndsAtOnceWithCodeZero(Emulator& emulator, const std::string& how)
{
    ASSERT_TRUE(emulator.process().waitForExit(Seconds(3))) << how << " did not end the emulator within 3 s";
    const int status = *emulator.process().status();
    EXPECT_TRUE(WIFEXITED(status)) << how << ": ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    if (WIFEXITED(status)) {
        EXPECT_EQ(WEXITSTATUS(status), 0) << how;
    }
    EXPECT_TRUE(findWindows(exactTitle(MainWindowTitle)).empty()) << how << ": the window is still there";
}

class Leaving : public Scenario {};

TEST_F(Leaving, ExitFromTheMenu)
{
    Emulator& emulator = startEmulator();
    ASSERT_TRUE(emulator.waitForMainWindow());
    ASSERT_TRUE(emulator.clickMenuItem(0, -1)) << "File, then its last item, Exit, by mouse";
    expectEndsAtOnceWithCodeZero(emulator, "Exit");
}

TEST_F(Leaving, TheWindowsCloseBox)
{
    Emulator& emulator = startEmulator();
    ASSERT_TRUE(emulator.waitForMainWindow());
    const auto where = emulator.geometry();
    const auto frame = frameExtents(emulator.window());
    ASSERT_TRUE(where && frame) << "the window manager put no frame around the window";
    const int titleBar = (*frame)[2];
    ASSERT_GT(titleBar, 8);
    // The close button sits at the right end of the title bar.
    const int x = where->x + where->width + (*frame)[1] - titleBar / 2;
    const int y = where->y - titleBar / 2;
    screenshotOfScreen(folder() / "frame.png");
    click(x, y);
    expectEndsAtOnceWithCodeZero(emulator, "the close box at (" + std::to_string(x) + ", " + std::to_string(y) + ")");
}

TEST_F(Leaving, AltF4)
{
    Emulator& emulator = startEmulator();
    ASSERT_TRUE(emulator.waitForMainWindow());
    ASSERT_TRUE(emulator.activate());
    pressKeys("alt+F4");
    expectEndsAtOnceWithCodeZero(emulator, "Alt+F4");
}

} // namespace
} // namespace e2e
