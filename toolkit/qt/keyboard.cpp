// The keyboard: which keys are held, by scan code, learnt from the key events of the
// main window while it is the active window, and the snapshot that the machine reads.
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <array>
#include <memory>

#include "toolkit/qt/qt_inspect.h"
#include "toolkit/qt/qt_services.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int ScanCodes = 256;

// The PC keyboard scan code (set 1) of a key event, or -1. On X11 and Wayland the
// native code is the X key code, the Linux input key code plus 8, and the Linux key
// codes are the set-1 scan codes; on Windows it is the scan code itself.
int scanCodeOf(const QKeyEvent& key)
{
    const quint32 native = key.nativeScanCode();
#ifdef _WIN32
    const quint32 scanCode = native;
#else
    const quint32 scanCode = native >= 8 ? native - 8 : ScanCodes;
#endif
    return scanCode < ScanCodes ? static_cast<int>(scanCode) : -1;
}

class KeyWatcher final : public QObject {
public:
    bool eventFilter(QObject* receiver, QEvent* event) override;
};

struct Keyboard {
    std::array<bool, ScanCodes> held{};
    std::array<bool, ScanCodes> snapshot{};
    std::unique_ptr<KeyWatcher> watcher;
};
Keyboard keyboard;

// A key that is let go while the main window is in the background never reaches
// it: once the window stops being the active one, every key counts as up.
void forgetHeldKeys()
{
    keyboard.held.fill(false);
}

bool KeyWatcher::eventFilter(QObject* receiver, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const int scanCode = scanCodeOf(key);
        // The system repeats a held key as release and press pairs: the key stays held.
        if (key.isAutoRepeat() || scanCode < 0) {
            break;
        }
        const bool down = event->type() == QEvent::KeyPress;
        if (!down || toolkit::qt::mainWindowActive()) {
            keyboard.held[static_cast<std::size_t>(scanCode)] = down;
        }
        break;
    }
    case QEvent::WindowDeactivate:
        if (receiver == toolkit::qt::mainWindow()) {
            forgetHeldKeys();
        }
        break;
    case QEvent::ApplicationStateChange:
        if (static_cast<const QApplicationStateChangeEvent&>(*event).applicationState() !=
            Qt::ApplicationActive) {
            forgetHeldKeys();
        }
        break;
    default:
        break;
    }
    return false; // the keys still reach the window and its menu bar
}

} // namespace

namespace toolkit {

void startKeyboard()
{
    keyboard.held.fill(false);
    keyboard.snapshot.fill(false);
    if (QCoreApplication* application = QCoreApplication::instance(); application && !keyboard.watcher) {
        keyboard.watcher = std::make_unique<KeyWatcher>();
        application->installEventFilter(keyboard.watcher.get());
    }
}

bool pollKeyboard()
{
    if (!qt::mainWindowActive()) {
        forgetHeldKeys();
        keyboard.snapshot.fill(false);
        return false;
    }
    keyboard.snapshot = keyboard.held;
    return true;
}

bool isScanCodeDown(int scanCode)
{
    return scanCode >= 0 && scanCode < ScanCodes && keyboard.snapshot[static_cast<std::size_t>(scanCode)];
}

namespace qt {

void releaseKeyboard()
{
    if (keyboard.watcher) {
        if (QCoreApplication* application = QCoreApplication::instance()) {
            application->removeEventFilter(keyboard.watcher.get());
        }
    }
    keyboard = Keyboard{};
}

} // namespace qt

} // namespace toolkit

std::array<bool, 256> toolkit::qt_inspect::heldKeys()
{
    return keyboard.held;
}
