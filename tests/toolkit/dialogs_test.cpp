// Dialogs, the current directory, the web address, the clock and the random bytes.
#include <QAbstractButton>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QUrl>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

#include "qt_test_support.h"
#include "toolkit/qt/qt_inspect.h"
#include "toolkit/toolkit.h"

namespace {

using qt_test::onModalDialog;
using qt_test::QtToolkitTest;
namespace inspect = toolkit::qt_inspect;

TEST_F(QtToolkitTest, MessageBoxShowsCaptionAndTextWithOneOkButtonUntilDismissed)
{
    bool shown = false;
    onModalDialog([&shown](QWidget& dialog) {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        ASSERT_NE(box, nullptr);
        shown = true;
        EXPECT_EQ(box->windowTitle().toStdString(), "Lumvexor – Größe");
        EXPECT_EQ(box->text().toStdString(), "<b>No game</b> was loaded!");
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->parentWidget(), inspect::mainWindow());
        const QList<QAbstractButton*> buttons = box->buttons();
        ASSERT_EQ(buttons.size(), 1);
        EXPECT_EQ(box->standardButton(buttons.front()), QMessageBox::Ok);
        buttons.front()->click();
    });
    toolkit::showMessageBox("Lumvexor – Größe", "<b>No game</b> was loaded!");
    EXPECT_TRUE(shown);
}

class FileRequesterTest : public QtToolkitTest {
protected:
    void SetUp() override
    {
        QtToolkitTest::SetUp();
        folder = qt_test::makeFreshFolder("lumvexor-games");
        std::ofstream(folder / "PONG") << "rom";
        startFolder = folder.string() + "/";
        workingFolder = QDir::currentPath();
    }
    void TearDown() override
    {
        EXPECT_EQ(QDir::currentPath(), workingFolder) << "the requester moved the current directory";
        std::filesystem::remove_all(folder);
        QtToolkitTest::TearDown();
    }

    // Opens the requester; the user types a name and presses Open, or cancels when
    // the name is null.
    std::string choose(const char* typed)
    {
        onModalDialog([this, typed](QWidget& dialog) {
            auto* requester = qobject_cast<QFileDialog*>(&dialog);
            ASSERT_NE(requester, nullptr);
            EXPECT_EQ(requester->windowTitle().toStdString(), "Lumvexor, please select a rom to emulate...");
            EXPECT_EQ(requester->directory().absolutePath().toStdString(), folder.string());
            EXPECT_EQ(requester->nameFilters(), QStringList{QStringLiteral("Chip8 ROM (*)")});
            if (typed == nullptr) {
                requester->reject();
                return;
            }
            type(*requester, typed);
            static_cast<QDialog*>(requester)->accept();
        });
        return toolkit::openFileRequester("Lumvexor, please select a rom to emulate...", startFolder, "Chip8 ROM");
    }

    static void type(QFileDialog& requester, const std::string& name)
    {
        auto* edit = requester.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(QString::fromStdString(name));
    }

    std::filesystem::path folder;
    std::string startFolder;
    QString workingFolder;
};

TEST_F(FileRequesterTest, ChosenFileComesBackAsItsAbsolutePath)
{
    EXPECT_EQ(choose("PONG"), (folder / "PONG").string());
}

TEST_F(FileRequesterTest, NewNameInAnExistingFolderIsTaken)
{
    EXPECT_EQ(choose("MISSILE"), (folder / "MISSILE").string());
}

TEST_F(FileRequesterTest, CancelGivesNothing)
{
    EXPECT_EQ(choose(nullptr), "");
}

TEST_F(FileRequesterTest, NameInAFolderThatDoesNotExistIsRefused)
{
    bool warned = false;
    bool stillOpen = false;
    onModalDialog([&](QWidget& dialog) {
        auto& requester = static_cast<QFileDialog&>(dialog);
        type(requester, (folder / "no-such-folder" / "GAME").string());
        onModalDialog([&warned](QWidget& warning) {
            warned = qobject_cast<QMessageBox*>(&warning) != nullptr;
            static_cast<QDialog&>(warning).reject();
        });
        static_cast<QDialog&>(requester).accept();
        stillOpen = requester.isVisible();
        requester.reject();
    });
    EXPECT_EQ(toolkit::openFileRequester("title", startFolder, "Chip8 ROM"), "");
    EXPECT_TRUE(warned);
    EXPECT_TRUE(stillOpen);
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TEST_F(QtToolkitTest, WebAddressGoesToTheSystemsHandlerForItsScheme)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("lumvexor-test"), &catcher, "open");
    toolkit::openWebAddress("lumvexor-test://example.org/downloads/emulation/chip-8-emulator");
    QDesktopServices::unsetUrlHandler(QStringLiteral("lumvexor-test"));

    EXPECT_EQ(catcher.opened,
              QList<QUrl>{QUrl(QStringLiteral("lumvexor-test://example.org/downloads/emulation/chip-8-emulator"))});
}

TEST(QtToolkitSystem, CurrentDirectoryEndsInTheSeparator)
{
    const std::filesystem::path before = std::filesystem::current_path();
    const std::filesystem::path folder = qt_test::makeFreshFolder("lumvexor-cwd");
    std::filesystem::current_path(folder);
    const std::string shown = toolkit::currentDirectory();
    std::filesystem::current_path(before);
    std::filesystem::remove(folder);

    EXPECT_EQ(shown, folder.string() + "/");
}

TEST(QtToolkitSystem, RandomBytesCoverEveryValueFrom0To255)
{
    std::array<int, 256> seen{};
    for (int draw = 0; draw < 20000; ++draw) {
        const int byte = toolkit::randomByte();
        ASSERT_GE(byte, 0);
        ASSERT_LE(byte, 255);
        ++seen[static_cast<std::size_t>(byte)];
    }
    // About 78 of each; a value that never came (odds below 1 in 10^30) means a
    // narrower range.
    for (int value = 0; value < 256; ++value) {
        EXPECT_GT(seen[static_cast<std::size_t>(value)], 0) << value;
    }
}

TEST(QtToolkitSystem, ClockCountsMillisecondsForward)
{
    const std::int64_t start = toolkit::milliseconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_GE(toolkit::milliseconds() - start, 20);
}

} // namespace

#include "dialogs_test.moc"
