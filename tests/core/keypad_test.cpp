// The keypad: its map, the scan order and the three key instructions.
#include <gtest/gtest.h>

#include "core/keypad.h"
#include "tests/core/test_machine.h"

namespace lumvexor::test {
namespace {

// Scan codes (set 1, as the Linux input layer numbers them).
constexpr int KeyV = 47, Key3 = 4, KeyZ = 44, KeyY = 21, KeyN = 49, Key7 = 8;

void holdOnly(std::initializer_list<int> scanCodes)
{
    headless::releaseAllKeys();
    for (int code : scanCodes) headless::holdScanCode(code, true);
}

// Runs FX0A (X = 5) for one step with the keys held; the value stored, or -1 if it waited.
int waitForKeyWith(std::initializer_list<int> scanCodes)
{
    TestMachine t;
    t.loadProgram({0xF50A});
    t.machine.V[5] = 0xEE;
    holdOnly(scanCodes);
    t.step();
    if (t.machine.PC == 0x200) {
        EXPECT_EQ(t.machine.V[5], 0xEE);
        return -1;
    }
    EXPECT_EQ(t.machine.PC, 0x202);
    return t.machine.V[5];
}

TEST(Keypad, EachKeyIsReadByItsScanCode)
{
    const int scanCodes[17][2] = {{47, 0}, {4, 0},  {5, 0},  {6, 0},  {18, 0}, {19, 0},
                                  {20, 0}, {32, 0}, {33, 0}, {34, 0}, {46, 0}, {48, 0},
                                  {7, 0},  {21, 44}, {35, 0}, {49, 0}, {8, 0}};
    for (int key = 0; key <= 16; ++key) {
        for (int code : scanCodes[key]) {
            if (code == 0) continue;
            SCOPED_TRACE(testing::Message() << "key " << key << " scan code " << code);
            EXPECT_EQ(waitForKeyWith({code}), key);
            holdOnly({code});
            EXPECT_EQ(scanKeypad(), key);
            for (int other = 0; other <= 16; ++other) {
                EXPECT_EQ(isKeypadKeyDown(other), other == key ? 1 : 0) << "key " << other;
            }
        }
    }
}

TEST(Keypad, LowestKeyWinsAndSixteenComesLast)
{
    const struct {
        std::initializer_list<int> held;
        int stored;
    } cases[] = {
        {{}, -1},                  // nothing held: FX0A waits
        {{KeyV, KeyN}, 0},
        {{KeyN, Key7}, 15},
        {{Key7}, 16},
        {{KeyZ}, 13},
        {{KeyY, KeyZ}, 13},
        {{Key7, KeyZ, Key3}, 1},
        {{1, 2, 9, 57, 200}, -1}, // keys outside the map
    };
    for (const auto& c : cases) {
        EXPECT_EQ(waitForKeyWith(c.held), c.stored);
    }
}

TEST(Keypad, KeyInstructionsSkipOnTheKeysState)
{
    // {V[X], keys held, EX9E skips}
    const struct {
        int value;
        std::initializer_list<int> held;
        bool down;
    } cases[] = {
        {16, {Key7}, true}, {13, {KeyZ}, true}, {13, {KeyY}, true}, {0, {KeyV}, true},
        {0, {KeyN}, false}, {15, {}, false},    {17, {Key7, KeyV}, false}, {255, {Key7, KeyN}, false},
        {100, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "V[X] " << c.value);
        for (std::uint16_t opcode : {0xE39E, 0xE3A1}) {
            TestMachine t;
            t.loadProgram({opcode});
            t.machine.V[3] = static_cast<std::uint8_t>(c.value);
            holdOnly(c.held);
            t.step();
            const bool skips = opcode == 0xE39E ? c.down : !c.down;
            EXPECT_EQ(t.machine.PC, skips ? 0x204 : 0x202) << std::hex << opcode;
            EXPECT_EQ(headless::keyboardPolls(), 1) << "one poll per key instruction";
        }
    }
}

TEST(Keypad, WaitingRepeatsTheInstructionAndAHeldKeyCountsTwice)
{
    TestMachine t;
    t.loadProgram({0xF10A, 0xF20A, 0x1204});
    t.step(5);
    EXPECT_EQ(t.machine.PC, 0x200) << "waits while no key is down";
    EXPECT_EQ(headless::keyboardPolls(), 5);
    headless::holdScanCode(KeyN, true);
    t.step(2);
    EXPECT_EQ(t.machine.V[1], 15);
    EXPECT_EQ(t.machine.V[2], 15) << "no wait for a release";
    EXPECT_EQ(t.machine.PC, 0x204);
}

TEST(Keypad, NoKeyIsSeenWhileTheWindowIsInTheBackground)
{
    TestMachine t;
    t.loadProgram({0xF10A, 0xE19E, 0x0000, 0xE1A1});
    headless::holdScanCode(KeyV, true);
    headless::setWindowActive(false);
    t.step(3);
    EXPECT_EQ(t.machine.PC, 0x200) << "FX0A keeps waiting";
    EXPECT_EQ(isKeypadKeyDown(0), 0);
    headless::setWindowActive(true);
    t.step();
    EXPECT_EQ(t.machine.V[1], 0);
    headless::setWindowActive(false);
    t.step(); // EX9E never skips
    EXPECT_EQ(t.machine.PC, 0x204);
    t.step(2); // 0000, then EXA1 always skips
    EXPECT_EQ(t.machine.PC, 0x20A);
}

} // namespace
} // namespace lumvexor::test
