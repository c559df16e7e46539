// The keyboard: scan codes from key events, only while the main window is in front.
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QWindow>
#include <memory>

#include "core/keypad.h"
#include "qt_test_support.h"
#include "toolkit/qt/qt_inspect.h"
#include "toolkit/toolkit.h"

namespace {

using qt_test::QtToolkitTest;
namespace inspect = toolkit::qt_inspect;

constexpr int V = 47;
constexpr int D = 32;
constexpr int Z = 44;

// A key event as the X server or the Wayland compositor delivers it: the native scan
// code is the Linux key code plus 8.
void sendKey(QEvent::Type type, int scanCode, bool autoRepeat = false)
{
    QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, static_cast<quint32>(scanCode + 8), 0, 0, QString(),
                    autoRepeat);
    QCoreApplication::sendEvent(inspect::mainWindow()->windowHandle(), &event);
}

void press(int scanCode)
{
    sendKey(QEvent::KeyPress, scanCode);
}

void release(int scanCode)
{
    sendKey(QEvent::KeyRelease, scanCode);
}

std::vector<int> keysDown()
{
    std::vector<int> down;
    for (int scanCode = -1; scanCode <= 256; ++scanCode) {
        if (toolkit::isScanCodeDown(scanCode)) {
            down.push_back(scanCode);
        }
    }
    return down;
}

TEST_F(QtToolkitTest, EveryKeypadKeyIsReportedByItsScanCode)
{
    for (const lumvexor::KeyBinding& binding : lumvexor::KeypadMap) {
        SCOPED_TRACE("scan code " + std::to_string(binding.scanCode));
        press(binding.scanCode);
        ASSERT_TRUE(toolkit::pollKeyboard());
        EXPECT_EQ(keysDown(), std::vector<int>{binding.scanCode});

        release(binding.scanCode);
        ASSERT_TRUE(toolkit::pollKeyboard());
        EXPECT_EQ(keysDown(), std::vector<int>{});
    }
}

TEST_F(QtToolkitTest, KeysAreReadFromTheLastSnapshot)
{
    press(V);
    press(Z);
    EXPECT_EQ(keysDown(), std::vector<int>{}) << "before any poll";
    ASSERT_TRUE(toolkit::pollKeyboard());
    EXPECT_EQ(keysDown(), (std::vector<int>{Z, V}));

    release(Z);
    EXPECT_EQ(keysDown(), (std::vector<int>{Z, V})) << "until the next poll";
    ASSERT_TRUE(toolkit::pollKeyboard());
    EXPECT_EQ(keysDown(), std::vector<int>{V});
}

TEST_F(QtToolkitTest, RepeatsOfAHeldKeyLeaveItHeld)
{
    press(D);
    // The system repeats a held key as a release followed by a press.
    sendKey(QEvent::KeyRelease, D, true);
    ASSERT_TRUE(toolkit::pollKeyboard());
    EXPECT_TRUE(toolkit::isScanCodeDown(D));
    sendKey(QEvent::KeyPress, D, true);

    release(D);
    ASSERT_TRUE(toolkit::pollKeyboard());
    EXPECT_FALSE(toolkit::isScanCodeDown(D));
}

TEST_F(QtToolkitTest, KeyEventsWithoutAScanCodeAreIgnored)
{
    // Synthesised key events carry native scan code 0.
    QKeyEvent event(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0, 0, 0, QStringLiteral("a"));
    QCoreApplication::sendEvent(inspect::mainWindow()->windowHandle(), &event);
    sendKey(QEvent::KeyPress, 300); // beyond the 256 scan codes

    ASSERT_TRUE(toolkit::pollKeyboard());
    EXPECT_EQ(keysDown(), std::vector<int>{});
}

// Another window of ours comes to the front while D is held, and leaves it again.
TEST_F(QtToolkitTest, KeysAreForgottenWhileTheWindowIsInTheBackground)
{
    QWidget other;
    other.show();
    press(D);
    ASSERT_TRUE(qt_test::activate(other));

    EXPECT_FALSE(inspect::heldKeys()[D]) << "forgotten when the window lost the front";
    press(V); // the window is not in front: not its key
    EXPECT_FALSE(inspect::heldKeys()[V]);
    EXPECT_FALSE(toolkit::pollKeyboard());
    EXPECT_EQ(keysDown(), std::vector<int>{});

    ASSERT_TRUE(qt_test::activate(*inspect::mainWindow()));
    // D is still held on the keyboard, but it was not pressed since: it is up.
    ASSERT_TRUE(toolkit::pollKeyboard());
    EXPECT_EQ(keysDown(), std::vector<int>{});
    press(D);
    ASSERT_TRUE(toolkit::pollKeyboard());
    EXPECT_EQ(keysDown(), std::vector<int>{D});
}

TEST_F(QtToolkitTest, KeysAreForgottenWhenTheApplicationGoesToTheBackground)
{
    press(D);
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
    QCoreApplication::sendEvent(qApp, &inactive);

    EXPECT_FALSE(inspect::heldKeys()[D]);
}

} // namespace
