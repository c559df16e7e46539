// Files that cannot be read, chosen through the real requester: a FIFO, and a ROM
// image removed before Reset game. Each is reported, and the emulator goes on.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "tests/e2e/emulator.h"
#include "tests/e2e/picture.h"

namespace e2e {
namespace {

const char* const Caption = "Lumvexor issue detected";
const char* const Text = "The selected file does not exist anymore or is not accessable.";

void expectReported(const std::string& when)
{
    const auto text = messageBoxText(Caption);
    ASSERT_TRUE(text) << when << ": no message box titled \"" << Caption << "\"";
    EXPECT_NE(text->find(Text), std::string::npos) << when << ": the box reads " << *text;
    EXPECT_TRUE(dismissMessageBox(Caption)) << when << ": Enter did not dismiss the box";
}

class BadFiles : public Scenario {};

TEST_F(BadFiles, AFifoIsReportedAndTheEmulatorGoesOn)
{
    const std::filesystem::path fifo = cwd() / "pipe.ch8";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    Emulator& emulator = startEmulator();
    ASSERT_TRUE(emulator.waitForMainWindow());
    emulator.openRomByKeys();
    ASSERT_TRUE(chooseInRequester(fifo.string()));
    expectReported("Open of a FIFO");
    EXPECT_TRUE(emulator.process().running());
    // Nothing loaded: black, without the splash.
    EXPECT_EQ(waitForPicture(emulator, "black", emptyCells(64, 32)), "");
    // Still answering its menus: Reset game tries the same path again.
    emulator.resetGame();
    expectReported("Reset game of a FIFO");
    EXPECT_TRUE(emulator.process().running());
    EXPECT_EQ(findWindows(exactTitle(MainWindowTitle)).size(), 1u);
}

TEST_F(BadFiles, AFileRemovedBeforeResetIsReportedAndTheEmulatorGoesOn)
{
    const std::filesystem::path rom = cwd() / "gone.ch8";
    std::filesystem::copy_file(ibmLogoRom(), rom);
    const Cells logo = cellsOf(machinePictureOfRom(rom, 1000));
    Emulator& emulator = startEmulator();
    ASSERT_TRUE(emulator.waitForMainWindow());
    emulator.openRomByKeys();
    ASSERT_TRUE(chooseInRequester(rom.string()));
    ASSERT_EQ(waitForPicture(emulator, "logo", logo), "");

    std::filesystem::remove(rom);
    emulator.resetGame();
    expectReported("Reset game of a removed file");
    EXPECT_TRUE(emulator.process().running());
    EXPECT_EQ(waitForPicture(emulator, "black", emptyCells(64, 32)), "");

    // And it still opens what it can read.
    emulator.openRomByKeys();
    ASSERT_TRUE(chooseInRequester(ibmLogoRom().string()));
    EXPECT_EQ(waitForPicture(emulator, "logo-again", logo), "");
}

} // namespace
} // namespace e2e
