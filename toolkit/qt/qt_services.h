#pragma once

// What the units of the desktop toolkit share: the main window and its drawing area,
// and the release step of each service, which the exit path runs in order.

#include <QString>
#include <string>
#include <string_view>

class QMainWindow;

namespace toolkit::qt {

class ScreenWidget;

// Null until the main window opens, and again after the exit path.
QMainWindow* mainWindow();
ScreenWidget* screenWidget();
// Whether the main window is the active window, the one that gets the keys.
bool mainWindowActive();

void releaseSound();
void releaseKeyboard();
void releaseScreen();
void releaseWindow();

inline QString toQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string toUtf8(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace toolkit::qt
