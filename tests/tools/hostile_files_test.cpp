// Whatever file is named as the ROM image, the run loads it or ends at once with
// status 1 and the emulator's message; it never hangs and never writes its outputs
// after a failed load.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/hostile_files.h"
#include "tests/tools/tool_runner.h"

namespace headless_tool_test {
namespace {

using lumvexor::test::HostileFile;
using lumvexor::test::pattern;

constexpr const char* UnopenableMessage =
    "Lumvexor issue detected: The selected file does not exist anymore or is not accessable.\n";

void expectNotLoaded(const ToolResult& result, const ScratchFolder& scratch)
{
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, UnopenableMessage);
    EXPECT_EQ(result.out, "") << "no trace";
    EXPECT_FALSE(std::filesystem::exists(scratch.path() / "memory.bin"));
}

TEST(HeadlessHostileFiles, EachKindLoadsOrEndsTheRunWithItsMessage)
{
    const ScratchFolder roms;
    for (const HostileFile& file : lumvexor::test::makeHostileFiles(roms.path())) {
        SCOPED_TRACE(file.kind);
        const ScratchFolder scratch;
        const ToolResult result = runTool(
            {"--steps", "0", "--trace", "-", "--memory", scratch.file("memory.bin"), "--", file.path});
        if (!file.opens) {
            expectNotLoaded(result, scratch);
            continue;
        }
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(scratch.read("memory.bin"), memoryAfterLoading(pattern(file.loadedBytes)));
    }
}

// Root reads a file whatever its permissions say, so as root the run is made as
// the user nobody.
TEST(HeadlessHostileFiles, AnUnreadableFileEndsTheRunWithItsMessage)
{
    const ScratchFolder roms;
    const std::string path = roms.write("locked.ch8", pattern(10));
    std::filesystem::permissions(path, std::filesystem::perms::none);
    const ScratchFolder scratch;
    std::filesystem::permissions(scratch.path(), std::filesystem::perms::all);
    const ToolResult result =
        runTool({"--steps", "0", "--trace", "-", "--memory", scratch.file("memory.bin"), path}, {},
                ::geteuid() == 0);
    expectNotLoaded(result, scratch);
}

} // namespace
} // namespace headless_tool_test
