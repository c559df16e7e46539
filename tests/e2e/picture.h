#pragma once

// Reading the emulator's picture back from a screenshot: the drawing area below the
// menu bar, the machine's pixels as squares on it, and the pictures to hold it against.

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/frame_buffer.h"

namespace e2e {

inline constexpr int DrawingWidth = 512;
inline constexpr int DrawingHeight = 280;
inline constexpr int PixelArea = 256; // rows 0 .. 255 hold the machine's pixels

// The drawing area of a screenshot of the window's client area: its bottom 280 rows
// (at the window's height at start), over the client's whole width.
QImage drawingArea(const QImage& window);

// A grid of machine pixels: lit or dark.
struct Cells {
    int columns = 0;
    int rows = 0;
    std::vector<bool> lit;

    bool at(int x, int y) const { return lit[static_cast<std::size_t>(y * columns + x)]; }
    void set(int x, int y, bool on) { lit[static_cast<std::size_t>(y * columns + x)] = on; }
    int count() const;
    bool operator==(const Cells&) const = default;
};
Cells emptyCells(int columns, int rows);
// The frame buffer's pixels.
Cells cellsOf(const lumvexor::FrameBuffer& frameBuffer);
// As text, one line a row, '#' lit and '.' dark, for failure messages.
std::string describe(const Cells& cells);

// The pixels of a 512 x 280 area showing squares of size square (8: 64 x 32, 4:
// 128 x 64) in white on black with the rows below the pixels black; nullopt when
// any pixel breaks that, with the first offending place in why.
std::optional<Cells> readSquares(const QImage& area, int square, std::string& why);

// White, exactly.
bool isWhite(QRgb rgb);
// The number of pixels in which two images of the same size differ.
int differingPixels(const QImage& a, const QImage& b);

// The picture of the machine core, run here as the emulator runs it: after the load
// sequence of a ROM image or of the built-in program, after that many steps.
lumvexor::FrameBuffer machinePictureOfRom(const std::filesystem::path& rom, int steps);
lumvexor::FrameBuffer machinePictureAtStartUp(int steps);

// The committed splash picture.
QImage splashPicture();

} // namespace e2e
