// The main window, its menu bar, and the events it hands to the shell one at a time:
// menu choices and close requests wait in a queue of our own; everything else Qt
// handles while the queue is being filled.
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>
#include <deque>
#include <memory>

#include "toolkit/qt/qt_inspect.h"
#include "toolkit/qt/qt_services.h"
#include "toolkit/qt/screen.h"
#include "toolkit/toolkit.h"

namespace {

struct Pending {
    toolkit::Event event;
    int menuItemId;
};

class MainWindow final : public QMainWindow {
public:
    explicit MainWindow(std::deque<Pending>& pending)
        : pending(pending)
    {
    }

protected:
    // The close box only asks: the shell ends the program, and the window stays
    // until then.
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        pending.push_back({toolkit::Event::CloseRequest, 0});
    }

private:
    std::deque<Pending>& pending;
};

struct Window {
    std::deque<Pending> pending; // oldest first
    int menuItemId = 0;
    std::unique_ptr<MainWindow> window;
    toolkit::qt::ScreenWidget* screen = nullptr; // owned by the window
    QSize clientSize;
    // From opening to the first poll the window keeps its drawing area at the client
    // size while the menu bar above it fills, and stays centred.
    bool startingUp = false;
    QMenu* menu = nullptr;
    QMenu* subMenu = nullptr;
};
Window state;

// The frame's left and top edges at (available − frame) / 2 per axis, or at the
// area's edge where the window is larger.
void centre(QWidget& window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize frame = window.frameGeometry().size();
    window.move(area.left() + std::max(0, (area.width() - frame.width()) / 2),
                area.top() + std::max(0, (area.height() - frame.height()) / 2));
}

void fitClientArea()
{
    if (!state.startingUp) {
        return;
    }
    const QWidget* menuBar = state.window->menuWidget();
    const int menuHeight = menuBar != nullptr ? menuBar->sizeHint().height() : 0;
    state.window->resize(state.clientSize.width(), state.clientSize.height() + menuHeight);
    centre(*state.window);
}

QMenu* currentMenu()
{
    return state.subMenu ? state.subMenu : state.menu;
}

} // namespace

namespace toolkit {

bool openMainWindow(std::string_view title, int clientWidth, int clientHeight, int x, int y)
{
    if (QCoreApplication::instance() == nullptr) {
        return false;
    }
    if (state.window) {
        return true;
    }
    state.window = std::make_unique<MainWindow>(state.pending);
    MainWindow& window = *state.window;
    window.setWindowTitle(qt::toQString(title));
    window.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    state.clientSize = QSize(clientWidth, clientHeight);
    state.screen = new qt::ScreenWidget(state.clientSize);
    window.setCentralWidget(state.screen);
    state.screen->setFocus();
    window.resize(state.clientSize);
    window.move(x, y); // asked for there; the centring has the last word
    window.show();
    state.startingUp = true;
    fitClientArea(); // the layout and the frame are known once the window is shown
    return true;
}

bool createMenuBar()
{
    if (!state.window) {
        return false;
    }
    // Shown at once, not at the next event pass, so that the window can make room for it.
    state.window->menuBar()->show();
    fitClientArea();
    return true;
}

void addMenu(std::string_view title)
{
    if (!state.window) {
        return;
    }
    state.menu = state.window->menuBar()->addMenu(qt::toQString(title));
    state.subMenu = nullptr;
    fitClientArea();
}

void addMenuItem(int id, std::string_view label)
{
    QMenu* menu = currentMenu();
    if (menu == nullptr) {
        return;
    }
    // An item's label is shown as it is: an ampersand in it is no mnemonic.
    QAction* action = menu->addAction(qt::toQString(label).replace(u'&', QStringLiteral("&&")));
    action->setMenuRole(QAction::NoRole); // "About..." stays where it was put
    QObject::connect(action, &QAction::triggered, action,
                     [id] { state.pending.push_back({Event::Menu, id}); });
    fitClientArea();
}

void addMenuSeparator()
{
    if (QMenu* menu = currentMenu()) {
        menu->addSeparator();
    }
}

void beginSubMenu(std::string_view title)
{
    if (state.menu != nullptr) {
        state.subMenu = state.menu->addMenu(qt::toQString(title));
    }
}

void endSubMenu()
{
    state.subMenu = nullptr;
}

Event pollEvent()
{
    state.startingUp = false;
    if (state.pending.empty() && QCoreApplication::instance() != nullptr) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        // Objects that Qt hands to deleteLater go when control is back at the top of
        // the event loop; this loop is ours, so here is that top.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    if (state.pending.empty()) {
        return Event::None;
    }
    const Pending next = state.pending.front();
    state.pending.pop_front();
    if (next.event == Event::Menu) {
        state.menuItemId = next.menuItemId;
    }
    return next.event;
}

int menuItemId()
{
    return state.menuItemId;
}

namespace qt {

QMainWindow* mainWindow()
{
    return state.window.get();
}

ScreenWidget* screenWidget()
{
    return state.screen;
}

bool mainWindowActive()
{
    return state.window && state.window->isActiveWindow();
}

void releaseWindow()
{
    state.window.reset();
    state = Window{};
}

} // namespace qt

} // namespace toolkit

QMainWindow* toolkit::qt_inspect::mainWindow()
{
    return toolkit::qt::mainWindow();
}

QWidget* toolkit::qt_inspect::screenWidget()
{
    return toolkit::qt::screenWidget();
}
