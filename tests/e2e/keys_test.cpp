// Keys: a program that waits for a key and writes down each one it gets, pressed on
// the keyboard while the window is in front, and while another window is.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/machine_state.h"
#include "tests/e2e/emulator.h"
#include "tests/e2e/picture.h"

namespace e2e {
namespace {

// Waits for a key, writes its value at the next place of a line (16 as "10"), then
// waits until that key is let go, and again.
std::vector<std::uint8_t> keyWriter()
{
    return romOf({
        0x6201, // 200  V2 <- 1, x
        0x6302, // 202  V3 <- 2, y
        0xF10A, // 204  V1 <- the key
        0x4110, // 206  key 16?
        0x1212, // 208  yes: write "10"
        0xF129, // 20A  I <- the glyph of V1
        0xD235, // 20C
        0x7206, // 20E  x + 6
        0x1222, // 210  wait for the release
        0x6001, // 212  "1"
        0xF029, // 214
        0xD235, // 216
        0x7205, // 218  x + 5
        0x6000, // 21A  "0"
        0xF029, // 21C
        0xD235, // 21E
        0x7206, // 220  x + 6
        0xE1A1, // 222  key V1 up?
        0x1222, // 224  no: wait
        0x1204, // 226  the next key
    });
}

// The line the program writes: the small font's glyphs, 6 pixels apart, at y = 2.
Cells writtenLine(const std::vector<int>& keys)
{
    Cells cells = emptyCells(64, 32);
    int x = 1;
    auto glyph = [&](int digit) {
        for (int row = 0; row < 5; ++row) {
            const std::uint8_t bits = lumvexor::SmallFont[static_cast<std::size_t>(5 * digit + row)];
            for (int column = 0; column < 4; ++column) {
                if (bits & (0x80 >> column)) {
                    cells.set((x + column) % 64, 2 + row, true);
                }
            }
        }
    };
    for (int key : keys) {
        if (key == 16) {
            glyph(1);
            x += 5;
            glyph(0);
        } else {
            glyph(key);
        }
        x += 6;
    }
    return cells;
}

class Keys : public Scenario {};

TEST_F(Keys, PressedKeysReachTheProgramOnlyWhileTheWindowIsInFront)
{
    writeBytes(cwd() / "keys.ch8", keyWriter());
    Emulator& emulator = startEmulator();
    ASSERT_TRUE(emulator.waitForMainWindow());
    emulator.openRomByKeys();
    ASSERT_TRUE(chooseInRequester((cwd() / "keys.ch8").string()));
    ASSERT_TRUE(emulator.activate());
    ASSERT_EQ(waitForPicture(emulator, "waiting", writtenLine({})), "");
    sleepFor(Seconds(0.4)); // the reset pause is over, the program waits for a key

    // Keyboard key, keypad value: V 0, 3 1, Z and Y D, N F, 7 16.
    const std::vector<std::pair<std::string, int>> presses = {{"v", 0},   {"3", 1},   {"z", 0xD},
                                                              {"y", 0xD}, {"n", 0xF}, {"7", 16}};
    std::vector<int> written;
    for (const auto& [key, value] : presses) {
        tapKey(key);
        written.push_back(value);
        EXPECT_EQ(waitForPicture(emulator, "key-" + key, writtenLine(written)), "") << "after key " << key;
    }

    // Held for a second, past the keyboard's repeat delay: still one key press.
    tapKey("b", Seconds(1.2));
    written.push_back(0xB);
    EXPECT_EQ(waitForPicture(emulator, "b-held", writtenLine(written)), "") << "B held for 1.2 s";

    // Another window in front: its keys are not the emulator's.
    Process front = Process::start({"xmessage", "-title", "Another window", "-geometry", "+20+20",
                                    "a window in front"},
                                   Desktop::environment(), cwd(), folder() / "xmessage.log");
    const Window other = waitForWindow("^Another window$", Seconds(5)).value_or(0);
    ASSERT_NE(other, 0u) << "no xmessage window";
    ASSERT_TRUE(activate(other)) << "the other window could not be brought to the front";
    tapKey("n");
    tapKey("3");
    sleepFor(Seconds(0.5));
    EXPECT_EQ(waitForPicture(emulator, "keys-elsewhere", writtenLine(written), Seconds(0.3)), "")
        << "keys typed into another window reached the emulator";

    // A key let go while another window is in front is not held any more when the
    // emulator comes back.
    ASSERT_TRUE(emulator.activate());
    keyDown("v");
    written.push_back(0);
    EXPECT_EQ(waitForPicture(emulator, "v-held", writtenLine(written), Seconds(2)), "");
    ASSERT_TRUE(activate(other));
    keyUp("v");
    ASSERT_TRUE(emulator.activate());
    sleepFor(Seconds(0.2));
    tapKey("3");
    written.push_back(1);
    EXPECT_EQ(waitForPicture(emulator, "back-in-front", writtenLine(written)), "")
        << "V, let go in another window, still counts as held";
    front.stop();
}

} // namespace
} // namespace e2e
