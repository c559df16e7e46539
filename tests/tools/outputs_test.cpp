// What the run writes at the end: memory, the picture as text and as PNG, the
// registers, and the benchmark line.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>

#include <algorithm>
#include <regex>
#include <sstream>

#include "core/machine_state.h"
#include "shell/presentation.h"
#include "tests/tools/tool_runner.h"
#include "toolkit/common/raster.h"

namespace headless_tool_test {
namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// A picture of `columns` x `rows` dark pixels, as the text screen writes it.
std::vector<std::string> darkPicture(int columns, int rows)
{
    return std::vector<std::string>(static_cast<std::size_t>(rows),
                                    std::string(static_cast<std::size_t>(columns), '.'));
}

// The small font's glyph of `digit` drawn at (x, y), as lines of '#' and '.'.
void drawGlyph(std::vector<std::string>& picture, int digit, int x, int y)
{
    for (int row = 0; row < 5; ++row) {
        const std::uint8_t bits = lumvexor::SmallFont[static_cast<std::size_t>(5 * digit + row)];
        for (int column = 0; column < 8; ++column) {
            if ((bits & (0x80 >> column)) != 0) {
                picture[static_cast<std::size_t>(y + row)][static_cast<std::size_t>(x + column)] =
                    '#';
            }
        }
    }
}

TEST(HeadlessMemory, WithNoStepsItIsTheMemoryRightAfterLoading)
{
    const ScratchFolder scratch;
    const std::vector<std::uint8_t> program = {0x12, 0x34, 0xAB, 0xCD, 0xEF};
    const std::string rom = scratch.write("bytes.ch8", program);
    const ToolResult withRom = runTool({"--steps", "0", "--memory", scratch.file("rom.bin"), rom});
    ASSERT_EQ(withRom.status, 0) << withRom.err;
    EXPECT_EQ(scratch.read("rom.bin"), memoryAfterLoading(program));

    const ToolResult builtIn = runTool({"--steps", "0", "--memory", scratch.file("boot.bin")});
    ASSERT_EQ(builtIn.status, 0) << builtIn.err;
    EXPECT_EQ(scratch.read("boot.bin"),
              memoryAfterLoading({lumvexor::BootProgram.begin(), lumvexor::BootProgram.end()}));
}

TEST(HeadlessMemory, AtTheEndItHoldsWhatTheProgramStored)
{
    // FX55 at step 204 stores V0 and V1 at 0x300.
    const ScratchFolder scratch;
    const std::vector<std::uint8_t> program = romOf({0xA300, 0x6042, 0x6117, 0xF155, 0x1208});
    const std::string rom = scratch.write("store.ch8", program);
    for (const int steps : {203, 204}) {
        SCOPED_TRACE(steps);
        const ToolResult result =
            runTool({"--steps", std::to_string(steps), "--memory", scratch.file("m.bin"), rom});
        ASSERT_EQ(result.status, 0) << result.err;
        std::string expected = memoryAfterLoading(program);
        if (steps == 204) {
            expected[0x300] = 0x42;
            expected[0x301] = 0x17;
        }
        EXPECT_EQ(scratch.read("m.bin"), expected);
    }
}

TEST(HeadlessScreen, TextShowsTheDrawnSpriteInEitherMode)
{
    const ScratchFolder scratch;
    struct Case {
        std::uint16_t mode; // 00FE or 00FF
        int columns;
        int rows;
    };
    for (const Case& c : {Case{0x00FE, 64, 32}, Case{0x00FF, 128, 64}}) {
        SCOPED_TRACE(c.columns);
        // The glyph of A at (2, 3), and the glyph of 7 over the right and bottom edges.
        const std::string rom = scratch.write("draw.ch8", romOf({
            c.mode, 0x6002, 0x6103, 0x620A, 0xF229, 0xD015,
            static_cast<std::uint16_t>(0x6000 | (c.columns - 2)),
            static_cast<std::uint16_t>(0x6100 | (c.rows - 2)), 0x6207, 0xF229, 0xD015, 0x1216,
        }));
        const ToolResult result =
            runTool({"--steps", "300", "--screen", scratch.file("screen.txt"), rom});
        ASSERT_EQ(result.status, 0) << result.err;
        std::vector<std::string> expected = darkPicture(c.columns, c.rows);
        drawGlyph(expected, 0xA, 2, 3);
        // Drawing wraps: a glyph of 7 at (columns - 2, rows - 2) lands in all four corners.
        std::vector<std::string> seven = darkPicture(c.columns + 8, c.rows + 8);
        drawGlyph(seven, 7, c.columns - 2, c.rows - 2);
        for (int y = 0; y < c.rows + 8; ++y) {
            for (int x = 0; x < c.columns + 8; ++x) {
                if (seven[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#') {
                    expected[static_cast<std::size_t>(y % c.rows)]
                            [static_cast<std::size_t>(x % c.columns)] = '#';
                }
            }
        }
        EXPECT_EQ(linesOf(scratch.read("screen.txt")), expected);
    }
}

TEST(HeadlessScreen, TheIbmLogoLightsPixels)
{
    const auto rom = suiteRom("2-ibm-logo.ch8");
    if (!rom) {
        GTEST_SKIP() << "the test suite's ROMs are not there";
    }
    const ScratchFolder scratch;
    const ToolResult result =
        runTool({"--steps", "1000", "--screen", scratch.file("ibm.txt"), *rom});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> lines = linesOf(scratch.read("ibm.txt"));
    ASSERT_EQ(lines.size(), 32u);
    int lit = 0;
    for (const std::string& line : lines) {
        ASSERT_EQ(line.size(), 64u);
        lit += static_cast<int>(std::count(line.begin(), line.end(), '#'));
    }
    EXPECT_GT(lit, 100);
}

QImage decodedPng(const std::string& path)
{
    QImage image(QString::fromStdString(path), "PNG");
    return image.convertToFormat(QImage::Format_RGB32);
}

std::uint32_t rgbAt(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFFu;
}

TEST(HeadlessScreen, PngOfARomIsBlackWithWhiteSquares)
{
    // The glyph of 0 at (2, 3) in 64 x 32: 8 x 8 squares from (16, 24).
    const ScratchFolder scratch;
    const std::string rom =
        scratch.write("draw.ch8", romOf({0x6002, 0x6103, 0x6200, 0xF229, 0xD015, 0x120A}));
    const ToolResult result =
        runTool({"--steps", "300", "--screen", scratch.file("screen.png"), rom});
    ASSERT_EQ(result.status, 0) << result.err;
    const QImage image = decodedPng(scratch.file("screen.png"));
    ASSERT_EQ(image.width(), 512);
    ASSERT_EQ(image.height(), 280);
    std::vector<std::string> glyph = darkPicture(64, 32);
    drawGlyph(glyph, 0, 2, 3);
    for (int y = 0; y < 280; ++y) {
        for (int x = 0; x < 512; ++x) {
            const bool lit =
                y < 256 &&
                glyph[static_cast<std::size_t>(y / 8)][static_cast<std::size_t>(x / 8)] == '#';
            ASSERT_EQ(rgbAt(image, x, y), lit ? 0xFFFFFFu : 0x000000u) << x << ", " << y;
        }
    }
}

TEST(HeadlessScreen, PngOfTheBuiltInProgramShowsTheSplashBehindItsPixels)
{
    const std::optional<toolkit::raster::Image> splash =
        toolkit::raster::decodeBmp(lumvexor::SplashPicture);
    ASSERT_TRUE(splash.has_value());
    const ScratchFolder scratch;

    // Before the first instruction nothing is lit: the picture is the splash.
    ASSERT_EQ(runTool({"--steps", "0", "--screen", scratch.file("start.png")}).status, 0);
    const QImage start = decodedPng(scratch.file("start.png"));
    ASSERT_EQ(start.width(), 512);
    ASSERT_EQ(start.height(), 280);
    for (int y = 0; y < 280; ++y) {
        for (int x = 0; x < 512; ++x) {
            ASSERT_EQ(rgbAt(start, x, y), splash->at(x, y)) << x << ", " << y;
        }
    }

    // Later, in 128 x 64, each lit pixel is a white 4 x 4 square over the splash.
    const ToolResult later = runTool({"--steps", "5000", "--screen", scratch.file("later.txt"),
                                      "--screen", scratch.file("later.png")});
    ASSERT_EQ(later.status, 0) << later.err;
    const std::vector<std::string> pixels = linesOf(scratch.read("later.txt"));
    ASSERT_EQ(pixels.size(), 64u);
    const QImage image = decodedPng(scratch.file("later.png"));
    int lit = 0;
    for (int y = 0; y < 280; ++y) {
        for (int x = 0; x < 512; ++x) {
            const bool isLit =
                y < 256 &&
                pixels[static_cast<std::size_t>(y / 4)][static_cast<std::size_t>(x / 4)] == '#';
            lit += isLit ? 1 : 0;
            ASSERT_EQ(rgbAt(image, x, y), isLit ? 0xFFFFFFu : splash->at(x, y)) << x << ", " << y;
        }
    }
    EXPECT_GT(lit, 0);
}

TEST(HeadlessState, IsTheNextTraceLineLedByTheStepsMade)
{
    // After the pause and four instructions: V0 = 5, I = 0x123 + 5, one call made,
    // PC on the loop at 0x20A.
    const ScratchFolder scratch;
    const std::string rom =
        scratch.write("state.ch8", romOf({0x6005, 0xA123, 0xF01E, 0x220A, 0x0000, 0x120A}));
    const ToolResult toFile = runTool({"--steps", "204", "--state", scratch.file("state.txt"), rom});
    ASSERT_EQ(toFile.status, 0) << toFile.err;
    const ToolResult toOutput = runTool({"--steps=204", "--state=-", rom});
    ASSERT_EQ(toOutput.status, 0) << toOutput.err;
    EXPECT_EQ(toOutput.out, scratch.read("state.txt"));

    const std::vector<TraceLine> state = parseTrace(toOutput.out);
    ASSERT_EQ(state.size(), 1u);
    EXPECT_EQ(state[0].step, 204u);
    EXPECT_EQ(state[0].pc, "020A");
    EXPECT_EQ(state[0].opcode, "120A");
    EXPECT_EQ(state[0].v.substr(0, 4), "0500");
    EXPECT_EQ(state[0].i, "0128");
    EXPECT_EQ(state[0].sp, "1");

    const ToolResult traced = runTool({"--steps", "205", "--trace", "-", rom});
    ASSERT_EQ(traced.status, 0) << traced.err;
    const std::vector<std::string> lines = linesOf(traced.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "205" + toOutput.out.substr(3, toOutput.out.size() - 4));
}

TEST(HeadlessBenchmark, PrintsOneLineAndMakesTheSameSteps)
{
    const ScratchFolder scratch;
    const ToolResult benchmark =
        runTool({"--benchmark", "--steps", "12345", "--memory", scratch.file("benchmark.bin")});
    ASSERT_EQ(benchmark.status, 0) << benchmark.err;
    std::smatch match;
    ASSERT_TRUE(
        std::regex_match(benchmark.out, match,
                         std::regex(R"(12345 steps in ([0-9]+\.[0-9]{6}) s: ([0-9]+) steps/s\n)")))
        << benchmark.out;
    EXPECT_GT(std::stod(match[2].str()), 0.0);

    // The walkers keep their random positions in memory: a plain run of as many
    // steps leaves the same bytes.
    const ToolResult plain = runTool({"--steps", "12345", "--memory", scratch.file("plain.bin")});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(scratch.read("benchmark.bin"), scratch.read("plain.bin"));
    EXPECT_NE(scratch.read("plain.bin"),
              memoryAfterLoading({lumvexor::BootProgram.begin(), lumvexor::BootProgram.end()}));
}

} // namespace
} // namespace headless_tool_test
