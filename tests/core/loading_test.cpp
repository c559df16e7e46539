// The load sequence, the memory map and loading ROM image files.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

#include "tests/core/test_machine.h"
#include "tests/support/hostile_files.h"

namespace lumvexor::test {
namespace {

constexpr const char* UnopenableCaption = "Lumvexor issue detected";
constexpr const char* UnopenableText =
    "The selected file does not exist anymore or is not accessable.";

bool programAreaIsZeroFrom(const MachineState& machine, std::int32_t from)
{
    for (std::int32_t address = from; address < MemorySize; ++address) {
        if (readByte(machine, address) != 0) {
            return false;
        }
    }
    return true;
}

TEST(LoadSequence, StartUpLeavesFontsBootProgramAndResetRegisters)
{
    TestMachine t;
    t.startUp();
    const std::pair<std::int32_t, int> bytes[] = {
        {0x000, 0xF0}, {0x050, 0x7E}, {0x0EF, 0xC0}, {0x0F0, 0}, {0x200, 0x00}, {0x201, 0xFF},
        {0x322, BootProgram.back()}, {0x323, 0}};
    for (const auto& [address, value] : bytes) {
        EXPECT_EQ(readByte(t.machine, address), value) << "address " << address;
    }
    EXPECT_EQ(t.machine.PC, 0x200);
    EXPECT_EQ(t.machine.delayTimer, 20.0);
    EXPECT_EQ(t.machine.SP, 0);
    EXPECT_EQ(t.host.bootMode, 1);
    EXPECT_EQ(t.frameBuffer.columns, 64);
    EXPECT_EQ(t.frameBuffer.modeWidth, 256);
    EXPECT_EQ(t.litPixels(), 0);
    EXPECT_TRUE(programAreaIsZeroFrom(t.machine, 0x323));
    EXPECT_TRUE(std::equal(SmallFont.begin(), SmallFont.end(), t.machine.memory.begin()));
    EXPECT_TRUE(std::equal(LargeFont.begin(), LargeFont.end(), t.machine.memory.begin() + 0x50));
}

TEST(Memory, BytesReadUnsignedAndWritesKeepTheLowEightBits)
{
    TestMachine t;
    const std::pair<std::int32_t, int> writes[] = {{0x1FF, 0xFF}, {256, 0}, {0x80, 0x80}, {-1, 0xFF}};
    for (const auto& [value, stored] : writes) {
        writeByte(t.machine, 0x300, value);
        EXPECT_EQ(readByte(t.machine, 0x300), stored) << "value " << value;
    }
}

TEST(Memory, AddressesOutsideMemoryAreReducedModulo32768)
{
    TestMachine t;
    // {address given, address meant}
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {0x8000, 0x0000}, {0x8205, 0x0205}, {0x7FFF, 0x7FFF}, {-1, 0x7FFF},
        {0x7FFFFFFF, 0x7FFF}, {static_cast<std::int32_t>(0x80000003u), 0x0003}};
    for (const auto& [given, meant] : cases) {
        writeByte(t.machine, given, 0xA5);
        EXPECT_EQ(t.machine.memory[static_cast<std::size_t>(meant)], 0xA5) << "address " << given;
        EXPECT_EQ(readByte(t.machine, given), 0xA5);
        t.machine.memory[static_cast<std::size_t>(meant)] = 0;
    }
}

TEST(LoadSequence, ResetAloneKeepsMemoryAndDisplayMode)
{
    TestMachine t;
    setDisplayMode(t.frameBuffer, DisplayMode::HighRes);
    xorPixel(t.frameBuffer, 3, 3);
    t.machine.memory[0x400] = 0x42;
    t.machine.delayTimer = 3.7;
    t.machine.V[5] = 9;
    t.machine.SP = 4;
    t.machine.soundTimer = 8;
    resetMachine(t.machine, t.frameBuffer);
    EXPECT_EQ(t.machine.memory[0x400], 0x42);
    EXPECT_EQ(t.frameBuffer.columns, 128);
    EXPECT_EQ(t.litPixels(), 0);
    EXPECT_EQ(t.machine.delayTimer, 20.0);
    EXPECT_EQ(t.machine.V[5], 0);
    EXPECT_EQ(t.machine.SP, 0);
    EXPECT_EQ(t.machine.soundTimer, 0);
    EXPECT_EQ(t.machine.PC, 0x200);
}

TEST(LoadSequence, NextLoadRestoresFontsAndClearsTheRegisterStore)
{
    ScratchFolder dir;
    TestMachine t;
    t.host.romPath = dir.write("rom.ch8", {0x12, 0x00});
    // Overwrite the glyph of 0, then save all sixteen registers.
    t.loadProgram({0x6000, 0xA000, 0xF055, 0x6707, 0xFF75});
    t.step(5);
    ASSERT_EQ(readByte(t.machine, 0x000), 0x00);
    ASSERT_EQ(readByte(t.machine, 0xF7), 0x07);
    loadRomImageSequence(t.machine, t.frameBuffer, t.host);
    EXPECT_TRUE(std::equal(SmallFont.begin(), SmallFont.end(), t.machine.memory.begin()));
    for (std::int32_t address = 0xF0; address < 0x200; ++address) {
        EXPECT_EQ(readByte(t.machine, address), 0) << "address " << address;
    }
}

TEST(LoadRomImage, FilesOfEveryKind)
{
    ScratchFolder dir;
    for (const HostileFile& file : makeHostileFiles(dir.path())) {
        SCOPED_TRACE(file.kind);
        TestMachine t;
        t.startUp();
        setDisplayMode(t.frameBuffer, DisplayMode::HighRes);
        xorPixel(t.frameBuffer, 1, 1);
        t.host.romPath = file.path;
        loadRomImageSequence(t.machine, t.frameBuffer, t.host);

        EXPECT_EQ(t.host.bootMode, 0);
        EXPECT_EQ(t.machine.PC, 0x200);
        EXPECT_EQ(t.litPixels(), 0);
        if (file.opens) {
            EXPECT_TRUE(headless::messageBoxes().empty());
            EXPECT_EQ(t.frameBuffer.columns, 64);
        } else {
            ASSERT_EQ(headless::messageBoxes().size(), 1u);
            EXPECT_EQ(headless::messageBoxes()[0].caption, UnopenableCaption);
            EXPECT_EQ(headless::messageBoxes()[0].text, UnopenableText);
            EXPECT_EQ(t.frameBuffer.columns, 128) << "a failed load keeps the display mode";
        }
        const std::vector<std::uint8_t> expected = pattern(file.loadedBytes);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), t.machine.memory.begin() + 0x200));
        EXPECT_TRUE(programAreaIsZeroFrom(t.machine, 0x200 + static_cast<std::int32_t>(file.loadedBytes)));
        EXPECT_TRUE(std::equal(SmallFont.begin(), SmallFont.end(), t.machine.memory.begin()));
    }
}

// Root reads a file whatever its permissions say, so as root the load runs in a
// child process that has given up root for the user nobody.
TEST(LoadRomImage, UnreadableFileIsReported)
{
    ScratchFolder dir;
    const std::string path = dir.write("locked.ch8", pattern(10));
    std::filesystem::permissions(path, std::filesystem::perms::none);
    const auto loadIsReported = [&path] {
        TestMachine t;
        loadRomImage(t.machine, t.frameBuffer, t.host, path);
        return headless::messageBoxes().size() == 1 && headless::messageBoxes()[0].text == UnopenableText &&
               readByte(t.machine, 0x200) == 0;
    };
    if (geteuid() != 0) {
        EXPECT_TRUE(loadIsReported());
        return;
    }
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const bool reported = setgid(65534) == 0 && setuid(65534) == 0 && loadIsReported();
        _exit(reported ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// The bytes this process has read through system calls so far.
std::uint64_t bytesReadSoFar()
{
    std::ifstream io("/proc/self/io");
    for (std::string field; io >> field;) {
        std::uint64_t value = 0;
        io >> value;
        if (field == "rchar:") {
            return value;
        }
    }
    return 0;
}

TEST(LoadRomImage, HugeSparseFileLoadsOnlyWhatFitsAndReadsNoMore)
{
    ScratchFolder dir;
    const std::string path = dir.write("huge.ch8", pattern(64));
    std::filesystem::resize_file(path, std::uintmax_t{1} << 30); // 1 GiB, all but 64 bytes holes
    TestMachine t;
    const std::uint64_t before = bytesReadSoFar();
    loadRomImage(t.machine, t.frameBuffer, t.host, path);
    const std::uint64_t read = bytesReadSoFar() - before;
    EXPECT_TRUE(headless::messageBoxes().empty());
    const std::vector<std::uint8_t> expected = pattern(64);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), t.machine.memory.begin() + 0x200));
    EXPECT_TRUE(programAreaIsZeroFrom(t.machine, 0x200 + 64));
    if (before == 0) {
        GTEST_SKIP() << "this system does not count the bytes a process reads";
    }
    // What fits, and at most one buffer more.
    EXPECT_GE(read, static_cast<std::uint64_t>(MaxRomImageSize));
    EXPECT_LE(read, static_cast<std::uint64_t>(MaxRomImageSize) + 8192) << read << " bytes read";
}

TEST(LoadRomImage, FailedLoadStillEndsBootMode)
{
    TestMachine t;
    t.startUp();
    ASSERT_EQ(t.host.bootMode, 1);
    loadRomImage(t.machine, t.frameBuffer, t.host, "/nonexistent/rom.ch8");
    EXPECT_EQ(t.host.bootMode, 0);
}

} // namespace
} // namespace lumvexor::test
