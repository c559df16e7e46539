// Start and end of the desktop toolkit: the one QApplication, made only where a
// window can be opened, and the exit path that releases every service in turn.
#include <QApplication>
#include <QByteArray>
#include <QSettings>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "toolkit/common/drawing.h"
#include "toolkit/qt/display_check.h"
#include "toolkit/qt/qt_services.h"
#include "toolkit/toolkit.h"

namespace {

// QApplication keeps references to these for its whole life; the emulator reads no
// command line, so Qt is given none either.
int argumentCount = 1;
char programName[] = "lumvexor";
char* arguments[] = {programName, nullptr};

std::unique_ptr<QApplication> application;

// What Qt says while its window system starts is held back: a start that fails ends
// with our one line alone, and a start that succeeds passes it on afterwards.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
std::vector<HeldMessage> heldMessages;

void holdStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        // Qt gives up on its platform plugin this way and would abort next.
        const std::string line = toolkit::qt::failedDisplay(toolkit::qt::displayEnvironment());
        std::fprintf(stderr, "%s\n", line.c_str());
        std::_Exit(1);
    }
    heldMessages.push_back({type, QByteArray(context.category ? context.category : ""), text});
}

void passOnHeldMessages()
{
    for (const HeldMessage& message : heldMessages) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
    heldMessages.clear();
}

// Qt's own dialogs keep what they last showed (the file requester its folder, its
// history and its view) in a user settings file. The emulator saves nothing: those
// settings are aimed at a folder that can never be made, so every write of them
// fails quietly and no file appears anywhere.
void keepSettingsUnsaved()
{
#if !defined(_WIN32) && !defined(__APPLE__)
    const QString nowhere = QStringLiteral("/dev/null");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
#endif
}

} // namespace

namespace toolkit {

std::string startServices()
{
    if (application) {
        return {};
    }
    if (std::string missing = qt::missingDisplay(qt::displayEnvironment()); !missing.empty()) {
        return missing;
    }
    keepSettingsUnsaved();
    heldMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(holdStartMessage);
    application = std::make_unique<QApplication>(argumentCount, arguments);
    qInstallMessageHandler(previous);
    passOnHeldMessages();
    return {};
}

void shutDownServices()
{
    qt::releaseSound();
    qt::releaseKeyboard();
    qt::releaseScreen();
    drawing::releaseAll();
    qt::releaseWindow();
    application.reset();
}

} // namespace toolkit
