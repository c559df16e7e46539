// Open ROM image... through the menu, by keyboard and by mouse; the requester's
// folder; a cancelled Open; Start game and Reset game without a chosen game.
#include <gtest/gtest.h>

#include "tests/e2e/emulator.h"
#include "tests/e2e/picture.h"

namespace e2e {
namespace {

// Shows the small glyph of one digit at (5, 5) and stays there.
std::vector<std::uint8_t> glyphProgram(std::uint8_t digit)
{
    return romOf({static_cast<std::uint16_t>(0x6A00 | digit), 0xFA29, 0x6005, 0x6105, 0xD015, 0x120A});
}

const char* const NoGame = "No game was loaded!";

class OpenRom : public Scenario {};

TEST_F(OpenRom, ByKeyboardTheRequesterStartsInGamesUnderTheCurrentFolder)
{
    // The same name in games/ and beside it: the typed name alone tells which folder
    // the requester was showing.
    std::filesystem::create_directories(cwd() / "games");
    writeBytes(cwd() / "games" / "pick.ch8", glyphProgram(0xA));
    writeBytes(cwd() / "pick.ch8", glyphProgram(0xB));
    const Cells fromGames = cellsOf(machinePictureOfRom(cwd() / "games" / "pick.ch8", 1000));
    const Cells fromCwd = cellsOf(machinePictureOfRom(cwd() / "pick.ch8", 1000));
    ASSERT_NE(fromGames, fromCwd);

    Emulator& emulator = startEmulator();
    ASSERT_TRUE(emulator.waitForMainWindow());
    emulator.openRomByKeys();
    ASSERT_TRUE(waitForRequester()) << "Alt+F, Enter: no window titled \"" << RequesterTitle << "\"";
    ASSERT_TRUE(chooseInRequester("pick.ch8")) << "the requester did not close on Enter";
    const std::string why = waitForPicture(emulator, "games-pick", fromGames);
    EXPECT_EQ(why, "") << "the ROM image from games/ under the current folder";
}

TEST_F(OpenRom, ByMouseTheIbmLogoAppearsInSquaresOnBlack)
{
    const Cells logo = cellsOf(machinePictureOfRom(ibmLogoRom(), 1000));
    ASSERT_GT(logo.count(), 50) << ibmLogoRom();

    Emulator& emulator = startEmulator();
    ASSERT_TRUE(emulator.waitForMainWindow());
    ASSERT_TRUE(emulator.clickMenuItem(0, 0)) << "File, then its first item, by mouse";
    ASSERT_TRUE(chooseInRequester(ibmLogoRom().string()));
    // Squares of 8 x 8 on black, nothing of the splash, the strip below black.
    EXPECT_EQ(waitForPicture(emulator, "ibm-logo", logo), "");
    const QImage shot = emulator.screenshot("ibm-logo-window");
    const auto where = emulator.geometry();
    ASSERT_TRUE(where);
    EXPECT_EQ(where->width, DrawingWidth);
    EXPECT_EQ(shot.height(), where->height);
}

TEST_F(OpenRom, CancelledTheBuiltInProgramRunsOnAndStartGameFindsNoGame)
{
    Emulator& emulator = startEmulator();
    ASSERT_TRUE(emulator.waitForMainWindow());
    const QImage splash = splashPicture();
    emulator.openRomByKeys();
    ASSERT_TRUE(cancelRequester()) << "Escape closes the requester";

    // Still the built-in program over the splash, and its walkers still walk.
    sleepFor(Seconds(0.3));
    const int before = differingPixels(drawingArea(emulator.screenshot("after-cancel")), splash);
    sleepFor(Seconds(1));
    const QImage later = drawingArea(emulator.screenshot("a-second-later"));
    EXPECT_GT(differingPixels(later, splash), before) << "the walkers' trails grow";
    EXPECT_EQ(differingPixels(later.copy(0, PixelArea, DrawingWidth, DrawingHeight - PixelArea),
                              splash.copy(0, PixelArea, DrawingWidth, DrawingHeight - PixelArea)),
              0)
        << "the splash's bottom strip is still shown";

    emulator.startGame();
    const auto text = messageBoxText("Lumvexor");
    ASSERT_TRUE(text) << "Start game: no message box titled \"Lumvexor\"";
    EXPECT_NE(text->find(NoGame), std::string::npos) << "the box reads: " << *text;
    EXPECT_TRUE(dismissMessageBox("Lumvexor"));
    EXPECT_TRUE(emulator.process().running());
    EXPECT_EQ(findWindows(exactTitle(MainWindowTitle)).size(), 1u);
}

TEST_F(OpenRom, CancelledAfterAGameTheGameRunsOnButIsNoLongerChosen)
{
    const Cells logo = cellsOf(machinePictureOfRom(ibmLogoRom(), 1000));
    Emulator& emulator = startEmulator();
    ASSERT_TRUE(emulator.waitForMainWindow());
    emulator.openRomByKeys();
    ASSERT_TRUE(chooseInRequester(ibmLogoRom().string()));
    ASSERT_EQ(waitForPicture(emulator, "ibm-logo", logo), "");

    emulator.openRomByKeys();
    ASSERT_TRUE(cancelRequester());
    sleepFor(Seconds(0.3));
    EXPECT_EQ(waitForPicture(emulator, "still-the-logo", logo, Seconds(0.5)), "");

    for (const char* command : {"Start game", "Reset game"}) {
        if (std::string(command) == "Start game") {
            emulator.startGame();
        } else {
            emulator.resetGame();
        }
        const auto text = messageBoxText("Lumvexor");
        ASSERT_TRUE(text) << command << ": no message box titled \"Lumvexor\"";
        EXPECT_NE(text->find(NoGame), std::string::npos) << command << ": the box reads " << *text;
        EXPECT_TRUE(dismissMessageBox("Lumvexor"));
    }
    EXPECT_EQ(waitForPicture(emulator, "logo-after-the-boxes", logo, Seconds(0.5)), "");
}

} // namespace
} // namespace e2e
