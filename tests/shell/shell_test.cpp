// The shell over the scripted toolkit: start-up, the loop's passes and slices, the
// menu commands, and the frames they present.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/machine_state.h"
#include "shell/shell.h"
#include "tests/core/test_machine.h"
#include "toolkit/common/drawing.h"
#include "toolkit/headless/headless.h"

namespace lumvexor::test {
namespace {

constexpr int StartClock = 5000;
constexpr std::uint32_t White = 0xFFFFFF;

// Menu item ids.
constexpr int OpenRomImage = 1, StartGame = 2, ResetGame = 3, Exit = 17, Website = 18, About = 19;
constexpr int SpeedMinus4 = 16, SpeedNormal = 12, SpeedPlus8 = 11;

class ShellTest : public testing::Test {
protected:
    void SetUp() override
    {
        headless::reset();
        headless::setClock(StartClock);
        ASSERT_TRUE(startUp(*shell));
        headless::setClock(StartClock + 1);
    }

    void passes(int count)
    {
        for (int k = 0; k < count; ++k) {
            ASSERT_EQ(runPass(*shell), Outcome::Continue);
        }
    }

    Outcome menu(int id)
    {
        headless::queueMenuEvent(id);
        return runPass(*shell);
    }

    // A ROM image in the test's own folder, opened through the menu.
    std::string openRom(const std::vector<std::uint8_t>& bytes, const std::string& name = "game.ch8")
    {
        const std::string path = dir.write(name, bytes);
        headless::queueFileAnswer(path);
        EXPECT_EQ(menu(OpenRomImage), Outcome::Continue);
        return path;
    }

    std::vector<std::string> messages() const
    {
        std::vector<std::string> texts;
        for (const headless::MessageBox& box : headless::messageBoxes()) {
            texts.push_back(box.caption + ": " + box.text);
        }
        return texts;
    }

    ScratchFolder dir;
    std::unique_ptr<Shell> shell = std::make_unique<Shell>();
};

TEST(ShellStartUp, RunsItsStepsInOrder)
{
    headless::reset();
    headless::setClock(777);
    auto shell = std::make_unique<Shell>();
    ASSERT_TRUE(startUp(*shell));

    const std::vector<std::string> expected = {
        "startScreen", "startKeyboard", "startSound", "loadTone 17720",
        "openMainWindow Lumvexor - Quorvane 2011-2016 512x280 at 100,100", "createMenuBar",
        "addMenu &File", "addMenuItem 1 Open ROM image...", "addMenuSeparator", "addMenuItem 17 Exit",
        "addMenu &Game", "addMenuItem 2 Start game", "addMenuItem 3 Reset game", "addMenuSeparator",
        "beginSubMenu Game speed", "addMenuItem 16 -4", "addMenuItem 15 -3", "addMenuItem 14 -2",
        "addMenuItem 13 -1", "addMenuItem 12 normal", "addMenuItem 4 +1", "addMenuItem 5 +2",
        "addMenuItem 6 +3", "addMenuItem 7 +4", "addMenuItem 8 +5", "addMenuItem 9 +6",
        "addMenuItem 10 +7", "addMenuItem 11 +8", "endSubMenu",
        "addMenu &Help", "addMenuItem 18 Website...", "addMenuItem 19 About...",
        "openScreen 512x280", "setFrameRate 30"};
    EXPECT_EQ(headless::calls(), expected);

    // The sprites, in their order of creation.
    EXPECT_EQ(shell->sprites.background, 0);
    EXPECT_EQ(shell->sprites.smallSquare, 1);
    EXPECT_EQ(shell->sprites.largeSquare, 2);
    EXPECT_EQ(shell->sprites.splash, 3) << "the splash picture decodes";

    EXPECT_EQ(shell->nextTime, 777);
    EXPECT_EQ(shell->sliceCount, 0);
    EXPECT_EQ(shell->host.speed, 20);
    EXPECT_EQ(shell->host.bootMode, 1);
    EXPECT_TRUE(shell->host.romPath.empty());
    EXPECT_EQ(shell->machine.PC, 0x200);
    EXPECT_EQ(shell->machine.delayTimer, 20.0);
    EXPECT_EQ(shell->frameBuffer.columns, 64);
    EXPECT_EQ(readByte(shell->machine, 0x201), 0xFF);
    EXPECT_EQ(headless::flips(), 0);
}

TEST(ShellStartUp, NoWindowEndsWithAFailureStatus)
{
    headless::reset();
    headless::setStartFailure("Lumvexor: no display to open a window on");
    testing::internal::CaptureStderr();
    EXPECT_EQ(runEmulator(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Lumvexor: no display to open a window on\n");
    EXPECT_EQ(headless::calls(), std::vector<std::string>{"startServices"});

    headless::reset();
    headless::setWindowOpens(false);
    testing::internal::CaptureStderr();
    EXPECT_EQ(runEmulator(), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("window"), std::string::npos);
    EXPECT_EQ(headless::calls().back(), "shutDownServices");
}

TEST(ShellStartUp, CloseRequestAndExitEndWithStatusZero)
{
    for (bool closeBox : {true, false}) {
        headless::reset();
        headless::setClock(10);
        if (closeBox) {
            headless::queueEvent(toolkit::Event::CloseRequest);
        } else {
            headless::queueMenuEvent(Exit);
        }
        EXPECT_EQ(runEmulator(), 0);
        EXPECT_EQ(headless::calls().back(), "shutDownServices");
        EXPECT_TRUE(headless::messageBoxes().empty()) << "nothing is asked";
    }
}

TEST_F(ShellTest, NoStepWithinTheFirstMillisecond)
{
    headless::setClock(StartClock);
    passes(3);
    EXPECT_EQ(shell->sliceCount, 0);
    EXPECT_EQ(shell->machine.delayTimer, 20.0);
    EXPECT_EQ(headless::flips(), 3) << "a frame is drawn all the same";
}

TEST_F(ShellTest, EverySliceRunsExactlySpeedSteps)
{
    openRom({0x12, 0x00}); // a program that never switches the display mode
    for (const auto& [item, speed] : {std::pair{SpeedMinus4, 5}, std::pair{SpeedNormal, 20}, std::pair{SpeedPlus8, 140}}) {
        ASSERT_EQ(menu(item), Outcome::Continue);
        for (int slice = 0; slice < 4; ++slice) {
            const int flips = headless::flips();
            passes(1);
            EXPECT_EQ(shell->sliceCount, speed);
            EXPECT_EQ(headless::flips(), flips + 1) << "one frame per slice";
        }
    }
}

TEST_F(ShellTest, TheResetPauseLastsTenSlicesAtNormalSpeed)
{
    passes(10);
    EXPECT_EQ(shell->machine.PC, 0x200);
    EXPECT_LE(shell->machine.delayTimer, 0.0);
    passes(1);
    EXPECT_EQ(shell->frameBuffer.columns, 128) << "the built-in program's first instruction ran";
    EXPECT_EQ(shell->host.speed, 75) << "and set the speed of the 128 x 64 display";
}

TEST_F(ShellTest, PendingItemsAreDrainedBeforeASlice)
{
    headless::queueEvent(toolkit::Event::Other);
    headless::queueEvent(toolkit::Event::Other);
    headless::queueMenuEvent(SpeedPlus8);
    passes(3);
    EXPECT_EQ(headless::flips(), 0);
    EXPECT_EQ(shell->machine.delayTimer, 20.0) << "no step while anything is pending";
    passes(1);
    EXPECT_EQ(shell->sliceCount, 140);
}

TEST_F(ShellTest, OpenLoadsTheImageAndSetsNormalSpeed)
{
    ASSERT_EQ(menu(SpeedPlus8), Outcome::Continue);
    const int flips = headless::flips();
    const std::string path = openRom({0x60, 0x07});

    ASSERT_EQ(headless::fileRequests().size(), 1u);
    const headless::FileRequest& request = headless::fileRequests()[0];
    EXPECT_EQ(request.title, "Lumvexor, please select a rom to emulate...");
    EXPECT_EQ(request.startFolder, (std::filesystem::current_path() / "games/").string());
    EXPECT_EQ(request.filterName, "Chip8 ROM");

    EXPECT_EQ(shell->host.romPath, path);
    EXPECT_EQ(shell->host.bootMode, 0);
    EXPECT_EQ(shell->host.speed, 20);
    EXPECT_EQ(readByte(shell->machine, 0x200), 0x60);
    EXPECT_EQ(shell->machine.delayTimer, 20.0) << "no step while the requester was open";
    EXPECT_EQ(headless::flips(), flips) << "and no frame";
    passes(11);
    EXPECT_EQ(shell->machine.V[0], 7);
}

TEST_F(ShellTest, CancelledOpenKeepsTheProgramButForgetsThePath)
{
    openRom({0x70, 0x01, 0x12, 0x00}); // V0 counts up forever
    passes(12);
    const int counted = shell->machine.V[0];
    ASSERT_GT(counted, 0);

    ASSERT_EQ(menu(OpenRomImage), Outcome::Continue); // no answer: cancelled
    EXPECT_TRUE(shell->host.romPath.empty());
    EXPECT_EQ(shell->machine.V[0], counted);
    passes(1);
    EXPECT_GT(shell->machine.V[0], counted) << "the old program keeps running";

    ASSERT_EQ(menu(StartGame), Outcome::Continue);
    ASSERT_EQ(menu(ResetGame), Outcome::Continue);
    EXPECT_EQ(messages(), (std::vector<std::string>{"Lumvexor: No game was loaded!", "Lumvexor: No game was loaded!"}));
    EXPECT_NE(shell->machine.delayTimer, 20.0) << "Reset did nothing";
}

TEST_F(ShellTest, StartAfterOpenChangesNothing)
{
    openRom({0x70, 0x01, 0x12, 0x00});
    passes(12);
    const MachineState before = shell->machine;
    ASSERT_EQ(menu(StartGame), Outcome::Continue);
    EXPECT_TRUE(headless::messageBoxes().empty());
    EXPECT_EQ(shell->machine.V, before.V);
    EXPECT_EQ(shell->machine.PC, before.PC);
    EXPECT_EQ(shell->machine.delayTimer, before.delayTimer);
}

TEST_F(ShellTest, ResetReloadsAndKeepsTheSpeed)
{
    openRom({0x70, 0x01, 0x12, 0x00});
    ASSERT_EQ(menu(SpeedPlus8), Outcome::Continue);
    passes(3);
    ASSERT_EQ(menu(ResetGame), Outcome::Continue);
    EXPECT_EQ(shell->machine.delayTimer, 20.0);
    EXPECT_EQ(shell->machine.V[0], 0);
    EXPECT_EQ(shell->host.speed, 140);
    passes(1);
    EXPECT_EQ(shell->sliceCount, 140);
}

TEST_F(ShellTest, ResetWhoseFileHasGoneReportsAndRunsOverZeros)
{
    const std::string path = openRom({0x00, 0xFF, 0x12, 0x02});
    passes(12);
    ASSERT_EQ(shell->frameBuffer.columns, 128);
    std::filesystem::remove(path);
    ASSERT_EQ(menu(ResetGame), Outcome::Continue);
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "Lumvexor issue detected: The selected file does not exist anymore or is not accessable."}));
    EXPECT_EQ(shell->machine.PC, 0x200);
    EXPECT_EQ(readByte(shell->machine, 0x200), 0);
    EXPECT_EQ(shell->frameBuffer.columns, 128) << "the display mode stays";
    EXPECT_EQ(shell->host.bootMode, 0);
}

TEST_F(ShellTest, ModeSwitchesReplaceTheMenuSpeedWithinTheSlice)
{
    // 00FF after the pause: the slice that runs it ends at 75 steps.
    openRom({0x00, 0xFF, 0x12, 0x02});
    ASSERT_EQ(menu(SpeedPlus8), Outcome::Continue);
    ASSERT_EQ(menu(ResetGame), Outcome::Continue);
    passes(1); // 140 pause steps
    EXPECT_EQ(shell->sliceCount, 140);
    passes(1); // 60 pause steps, then 00FF
    EXPECT_EQ(shell->host.speed, 75);
    EXPECT_EQ(shell->sliceCount, 75);
    passes(1);
    EXPECT_EQ(shell->sliceCount, 75) << "until the next write of speed";
}

TEST_F(ShellTest, WebsiteAndAbout)
{
    ASSERT_EQ(menu(Website), Outcome::Continue);
    ASSERT_EQ(headless::webAddresses().size(), 1u);
    const std::string& address = headless::webAddresses()[0];
    EXPECT_EQ(address.rfind("https://"), 0u);
    EXPECT_EQ(address.substr(address.size() - 36), "/downloads/emulation/chip-8-emulator");

    ASSERT_EQ(menu(About), Outcome::Continue);
    ASSERT_EQ(headless::messageBoxes().size(), 1u);
    EXPECT_EQ(headless::messageBoxes()[0].caption, "About Lumvexor");
    const std::string& text = headless::messageBoxes()[0].text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << "two lines";
    EXPECT_NE(text.find("Quorvane"), std::string::npos);
    EXPECT_NE(text.substr(text.find('\n')).find("quorvane"), std::string::npos) << "the web address";
    EXPECT_EQ(menu(Exit), Outcome::Exit);
}

TEST_F(ShellTest, UnknownItemIdsDoNothing)
{
    for (int id : {0, 20, 99, -1}) {
        EXPECT_EQ(menu(id), Outcome::Continue);
    }
    EXPECT_EQ(shell->host.speed, 20);
    EXPECT_TRUE(headless::messageBoxes().empty());
}

// --- Frames -----------------------------------------------------------------------

struct Square {
    int left, top, size;
};

// True when exactly the square is white within the picture's top 512 x 256.
void expectOnlySquare(const toolkit::raster::Image& frame, Square square)
{
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 512; ++x) {
            const bool inside = x >= square.left && x < square.left + square.size && y >= square.top &&
                                y < square.top + square.size;
            ASSERT_EQ(frame.at(x, y) == White, inside) << x << ", " << y;
        }
    }
}

TEST_F(ShellTest, FirstFlipPresentsAnUndrawnBuffer)
{
    passes(1);
    const toolkit::raster::Image& first = headless::presented();
    ASSERT_EQ(first.width, 512);
    ASSERT_EQ(first.height, 280);
    EXPECT_TRUE(std::all_of(first.pixels.begin(), first.pixels.end(), [](std::uint32_t p) { return p == 0; }));
}

TEST_F(ShellTest, SquaresInBothModes)
{
    headless::queueFileAnswer("/nonexistent.ch8"); // leave the built-in program: no splash
    ASSERT_EQ(menu(OpenRomImage), Outcome::Continue);
    struct Case {
        DisplayMode mode;
        std::int32_t x, y;
        Square square;
    };
    for (const Case& c : {Case{DisplayMode::LowRes, 63, 31, {504, 248, 8}}, Case{DisplayMode::LowRes, 0, 0, {0, 0, 8}},
                          Case{DisplayMode::HighRes, 127, 63, {508, 252, 4}},
                          Case{DisplayMode::HighRes, 1, 2, {4, 8, 4}}}) {
        setDisplayMode(shell->frameBuffer, c.mode);
        xorPixel(shell->frameBuffer, c.x, c.y);
        drawFrame(shell->sprites, shell->frameBuffer, shell->host);
        expectOnlySquare(toolkit::drawing::hiddenBuffer(), c.square);
    }
}

TEST_F(ShellTest, OnlyExactlyLitPixelsAreDrawn)
{
    shell->host.bootMode = 0;
    setDisplayMode(shell->frameBuffer, DisplayMode::LowRes);
    shell->frameBuffer.pixels[0] = 0xFFFFFE;
    shell->frameBuffer.pixels[1] = 1;
    shell->frameBuffer.pixels[2] = -1;
    xorPixel(shell->frameBuffer, 5, 5);
    drawFrame(shell->sprites, shell->frameBuffer, shell->host);
    expectOnlySquare(toolkit::drawing::hiddenBuffer(), {40, 40, 8});
}

TEST_F(ShellTest, SplashExactlyWhileTheBuiltInProgramIsLoaded)
{
    const std::optional<toolkit::raster::Image> splash = toolkit::raster::decodeBmp(SplashPicture);
    ASSERT_TRUE(splash);
    passes(2);
    const toolkit::raster::Image& withSplash = headless::presented();
    EXPECT_EQ(withSplash.pixels, splash->pixels) << "nothing lit yet: the splash alone";

    // A failed Open ends the built-in program all the same.
    headless::queueFileAnswer((dir.path() / "missing.ch8").string());
    ASSERT_EQ(menu(OpenRomImage), Outcome::Continue);
    ASSERT_EQ(shell->host.bootMode, 0);
    passes(2);
    const toolkit::raster::Image& black = headless::presented();
    EXPECT_TRUE(std::all_of(black.pixels.begin(), black.pixels.end(), [](std::uint32_t p) { return p == 0; }))
        << "black behind the pixels, and the bottom strip black";
}

TEST_F(ShellTest, LitPixelsOverTheSplashAndItsBottomStrip)
{
    const std::optional<toolkit::raster::Image> splash = toolkit::raster::decodeBmp(SplashPicture);
    ASSERT_TRUE(splash);
    setDisplayMode(shell->frameBuffer, DisplayMode::HighRes);
    xorPixel(shell->frameBuffer, 127, 63);
    drawFrame(shell->sprites, shell->frameBuffer, shell->host);
    const toolkit::raster::Image& frame = toolkit::drawing::hiddenBuffer();
    for (int y = 0; y < 280; ++y) {
        for (int x = 0; x < 512; ++x) {
            const bool square = x >= 508 && y >= 252 && y < 256;
            ASSERT_EQ(frame.at(x, y), square ? White : splash->at(x, y)) << x << ", " << y;
        }
    }
}

TEST_F(ShellTest, AModeSwitchChangesTheSquareAtTheNextFrame)
{
    // At 5 steps a slice, after the 40 slices of the pause: the first slice draws the
    // glyph row F0 at (0, 0) in the 64 x 32 mode, the next switches to 128 x 64 and
    // draws it again.
    openRom({0x60, 0x00, 0xF0, 0x29, 0xD0, 0x01, 0x00, 0x00, 0x00, 0x00,
             0x00, 0xFF, 0xD0, 0x01, 0x12, 0x0E});
    ASSERT_EQ(menu(SpeedMinus4), Outcome::Continue);
    passes(42);
    const toolkit::raster::Image low = headless::presented();
    passes(1);
    const toolkit::raster::Image& high = headless::presented();
    for (int x = 0; x < 48; ++x) {
        EXPECT_EQ(low.at(x, 7) == White, x < 32) << "8 x 8 squares at " << x;
        EXPECT_EQ(high.at(x, 3) == White, x < 16) << "4 x 4 squares at " << x;
        EXPECT_NE(high.at(x, 4), White);
    }
}

} // namespace
} // namespace lumvexor::test
