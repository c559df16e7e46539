#include "qt_test_support.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <cstdlib>

#include "toolkit/qt/qt_inspect.h"
#include "toolkit/toolkit.h"

namespace qt_test {

void buildMenuBar()
{
    toolkit::createMenuBar();
    toolkit::addMenu("&File");
    toolkit::addMenuItem(1, "Open ROM image...");
    toolkit::addMenuSeparator();
    toolkit::addMenuItem(17, "Exit");
    toolkit::addMenu("&Game");
    toolkit::addMenuItem(2, "Start game");
    toolkit::addMenuItem(3, "Reset game");
    toolkit::addMenuSeparator();
    toolkit::beginSubMenu("Game speed");
    toolkit::addMenuItem(16, "-4");
    toolkit::addMenuItem(15, "-3");
    toolkit::addMenuItem(14, "-2");
    toolkit::addMenuItem(13, "-1");
    toolkit::addMenuItem(12, "normal");
    for (int id = 4; id <= 11; ++id) {
        toolkit::addMenuItem(id, "+" + std::to_string(id - 3));
    }
    toolkit::endSubMenu();
    toolkit::addMenu("&Help");
    toolkit::addMenuItem(18, "Website...");
    toolkit::addMenuItem(19, "About...");
}

void QtToolkitTest::SetUp()
{
    ASSERT_EQ(toolkit::startServices(), "");
    toolkit::startScreen();
    toolkit::startKeyboard();
    ASSERT_TRUE(toolkit::openMainWindow(Title, ClientWidth, ClientHeight, 100, 100));
    buildMenuBar();
    toolkit::openScreen(ClientWidth, ClientHeight);
    toolkit::setFrameRate(30);
    ASSERT_TRUE(activate(*toolkit::qt_inspect::mainWindow()));
}

void QtToolkitTest::TearDown()
{
    toolkit::shutDownServices();
}

bool activate(QWidget& window)
{
    window.activateWindow();
    for (int pass = 0; pass < 100 && !window.isActiveWindow(); ++pass) {
        QCoreApplication::processEvents();
    }
    return window.isActiveWindow();
}

void onModalDialog(std::function<void(QWidget&)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr) {
            ADD_FAILURE() << "no modal dialog is shown";
            return;
        }
        act(*dialog);
    });
}

std::filesystem::path makeFreshFolder(const char* prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / prefix).string() + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot make a folder like " << pattern;
        return {};
    }
    return pattern;
}

} // namespace qt_test
