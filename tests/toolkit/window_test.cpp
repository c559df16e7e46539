// The main window, its menu bar and the events handed to the shell.
#include <QAction>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <cstdlib>
#include <string>
#include <vector>

#include "qt_test_support.h"
#include "toolkit/qt/qt_inspect.h"
#include "toolkit/toolkit.h"

namespace {

using qt_test::QtToolkitTest;
using toolkit::Event;
namespace inspect = toolkit::qt_inspect;

QRect availableArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

TEST_F(QtToolkitTest, MainWindowHasTheTitleAndTheClientAreaBelowItsMenuBar)
{
    QMainWindow& window = *inspect::mainWindow();
    QWidget& screen = *inspect::screenWidget();
    toolkit::pollEvent();

    EXPECT_EQ(window.windowTitle().toStdString(), qt_test::Title);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.centralWidget(), &screen);
    EXPECT_EQ(screen.size(), QSize(qt_test::ClientWidth, qt_test::ClientHeight));
    EXPECT_GT(window.menuBar()->height(), 0);
    EXPECT_EQ(screen.y(), window.menuBar()->geometry().bottom() + 1);
    EXPECT_EQ(window.height(), qt_test::ClientHeight + window.menuBar()->height());
    // Resizable, with minimise and maximise boxes.
    EXPECT_NE(window.minimumSize(), window.maximumSize());
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(QtToolkitTest, MainWindowIsCentredOnTheScreen)
{
    toolkit::pollEvent();
    const QRect frame = inspect::mainWindow()->frameGeometry();
    const QRect area = availableArea();
    ASSERT_LT(frame.width(), area.width());
    ASSERT_LT(frame.height(), area.height());

    // The margins left and right (and above and below) differ by the odd pixel at most.
    EXPECT_LE(std::abs((frame.left() - area.left()) - (area.right() - frame.right())), 1);
    EXPECT_LE(std::abs((frame.top() - area.top()) - (area.bottom() - frame.bottom())), 1);
}

class QtToolkitWindow : public ::testing::Test {
protected:
    void TearDown() override { toolkit::shutDownServices(); }
};

TEST_F(QtToolkitWindow, WindowLargerThanTheScreenStartsAtItsCorner)
{
    ASSERT_EQ(toolkit::startServices(), "");
    const QRect area = availableArea();
    ASSERT_TRUE(toolkit::openMainWindow("wide", area.width() + 300, area.height() + 200, 100, 100));
    qt_test::buildMenuBar();
    toolkit::pollEvent();

    EXPECT_EQ(inspect::mainWindow()->frameGeometry().topLeft(), area.topLeft());
    EXPECT_EQ(inspect::screenWidget()->size(), QSize(area.width() + 300, area.height() + 200));
}

// One entry of a menu as the user sees it: a separator, an item with its id, or a
// sub-menu with its entries.
struct Entry {
    std::string label; // empty for a separator
    int id = 0;
    std::vector<Entry> subMenu = {};
};

struct Menu {
    std::string title;
    std::vector<Entry> entries;
};

const Entry Separator{};

std::vector<Entry> speedItems()
{
    std::vector<Entry> items = {{"-4", 16}, {"-3", 15}, {"-2", 14}, {"-1", 13}, {"normal", 12}};
    for (int step = 1; step <= 8; ++step) {
        items.push_back({"+" + std::to_string(step), 3 + step});
    }
    return items;
}

const std::vector<Menu>& expectedMenus()
{
    static const std::vector<Menu> menus = {
        {"&File", {{"Open ROM image...", 1}, Separator, {"Exit", 17}}},
        {"&Game", {{"Start game", 2}, {"Reset game", 3}, Separator, {"Game speed", 0, speedItems()}}},
        {"&Help", {{"Website...", 18}, {"About...", 19}}},
    };
    return menus;
}

// Triggers the action and expects exactly its id back from the event poll.
void expectMenuEvent(QAction& action, int id)
{
    action.trigger();
    EXPECT_EQ(toolkit::pollEvent(), Event::Menu);
    EXPECT_EQ(toolkit::menuItemId(), id);
    EXPECT_EQ(toolkit::pollEvent(), Event::None);
}

void expectEntries(const QMenu& menu, const std::vector<Entry>& expected)
{
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(expected.size())) << menu.title().toStdString();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QAction& action = *actions[static_cast<qsizetype>(i)];
        const Entry& entry = expected[i];
        SCOPED_TRACE(menu.title().toStdString() + " / " + entry.label);
        if (entry.label.empty()) {
            EXPECT_TRUE(action.isSeparator());
            continue;
        }
        EXPECT_EQ(action.text().toStdString(), entry.label);
        EXPECT_TRUE(action.shortcut().isEmpty());
        EXPECT_FALSE(action.isCheckable());
        EXPECT_TRUE(action.isEnabled());
        if (!entry.subMenu.empty()) {
            ASSERT_NE(action.menu(), nullptr);
            expectEntries(*action.menu(), entry.subMenu);
        } else {
            EXPECT_EQ(action.menu(), nullptr);
            expectMenuEvent(action, entry.id);
        }
    }
}

TEST_F(QtToolkitTest, MenuBarHoldsTheMenusInOrderAndEachItemReportsItsId)
{
    const QList<QAction*> menus = inspect::mainWindow()->menuBar()->actions();
    ASSERT_EQ(menus.size(), static_cast<qsizetype>(expectedMenus().size()));
    for (std::size_t i = 0; i < expectedMenus().size(); ++i) {
        const Menu& expected = expectedMenus()[i];
        QMenu* menu = menus[static_cast<qsizetype>(i)]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title().toStdString(), expected.title);
        expectEntries(*menu, expected.entries);
    }
}

TEST_F(QtToolkitTest, AmpersandInAnItemLabelIsShownAsItIs)
{
    toolkit::addMenu("&Extra");
    toolkit::addMenuItem(50, "Load & run");
    QMenu& extra = *inspect::mainWindow()->menuBar()->actions().back()->menu();

    EXPECT_EQ(extra.title().toStdString(), "&Extra");
    // What the menu shows: the label with the mnemonic markers taken out.
    EXPECT_EQ(extra.actions().front()->iconText().toStdString(), "Load & run");
}

TEST_F(QtToolkitTest, PendingItemsComeOutOneAtATimeInOrder)
{
    QMenu& file = *inspect::mainWindow()->menuBar()->actions().front()->menu();
    file.actions().back()->trigger();  // Exit
    inspect::mainWindow()->close();
    file.actions().front()->trigger(); // Open ROM image...

    EXPECT_EQ(toolkit::pollEvent(), Event::Menu);
    EXPECT_EQ(toolkit::menuItemId(), 17);
    EXPECT_EQ(toolkit::pollEvent(), Event::CloseRequest);
    EXPECT_EQ(toolkit::menuItemId(), 17); // the id of the last menu event
    EXPECT_EQ(toolkit::pollEvent(), Event::Menu);
    EXPECT_EQ(toolkit::menuItemId(), 1);
    EXPECT_EQ(toolkit::pollEvent(), Event::None);
}

TEST_F(QtToolkitTest, CloseRequestLeavesTheWindowOpen)
{
    QMainWindow* window = inspect::mainWindow();
    EXPECT_FALSE(window->close());

    EXPECT_EQ(toolkit::pollEvent(), Event::CloseRequest);
    EXPECT_EQ(toolkit::pollEvent(), Event::None);
    EXPECT_EQ(inspect::mainWindow(), window);
    EXPECT_TRUE(window->isVisible());
}

} // namespace
