// Modal dialogs, the current directory and the web address. The dialogs are Qt's
// own, not the desktop's, so they look and behave the same everywhere.
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QShortcut>
#include <QUrl>
#include <cstdio>

#include "toolkit/qt/qt_services.h"
#include "toolkit/toolkit.h"

namespace {

// A name that does not exist yet is taken, but only in a folder that does.
class OpenRequester final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void accept() override
    {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty()) {
            const QFileInfo file(chosen.first());
            if (!file.exists() && !file.absoluteDir().exists()) {
                QMessageBox::warning(this, windowTitle(),
                                     QStringLiteral("%1\nThe folder does not exist. Please check the name.")
                                         .arg(QDir::toNativeSeparators(file.absolutePath())));
                return;
            }
        }
        QFileDialog::accept();
    }
};

} // namespace

namespace toolkit {

void showMessageBox(std::string_view caption, std::string_view text)
{
    if (QCoreApplication::instance() == nullptr) {
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                     static_cast<int>(text.size()), text.data());
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, qt::toQString(caption), qt::toQString(text), QMessageBox::Ok,
                    qt::mainWindow());
    box.setTextFormat(Qt::PlainText); // a program's text is never markup
    // Ctrl+C copies the message, on every platform, so that it can be quoted.
    const QShortcut copy(QKeySequence::Copy, &box);
    QObject::connect(&copy, &QShortcut::activated, &box,
                     [&box] { QGuiApplication::clipboard()->setText(box.text()); });
    box.exec();
}

std::string currentDirectory()
{
    QString path = QDir::toNativeSeparators(QDir::currentPath());
    if (!path.endsWith(QDir::separator())) {
        path += QDir::separator();
    }
    return qt::toUtf8(path);
}

std::string openFileRequester(std::string_view title, std::string_view startFolder, std::string_view filterName)
{
    if (QCoreApplication::instance() == nullptr) {
        return {};
    }
    // "(*)" matches every name, also one without a dot.
    OpenRequester requester(qt::mainWindow(), qt::toQString(title), qt::toQString(startFolder),
                            qt::toQString(filterName) + QStringLiteral(" (*)"));
    requester.setOption(QFileDialog::DontUseNativeDialog);
    requester.setAcceptMode(QFileDialog::AcceptOpen);
    requester.setFileMode(QFileDialog::AnyFile);
    if (requester.exec() != QDialog::Accepted || requester.selectedFiles().isEmpty()) {
        return {};
    }
    return qt::toUtf8(QDir::toNativeSeparators(QFileInfo(requester.selectedFiles().first()).absoluteFilePath()));
}

void openWebAddress(std::string_view address)
{
    // The desktop's handler runs on its own: there is no process to wait for, and a
    // failure is not reported.
    if (QCoreApplication::instance() != nullptr) {
        QDesktopServices::openUrl(QUrl(qt::toQString(address)));
    }
}

} // namespace toolkit
