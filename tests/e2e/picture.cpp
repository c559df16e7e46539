#include "tests/e2e/picture.h"

#include <sstream>

#include "core/execution.h"
#include "core/host_values.h"
#include "core/machine_state.h"
#include "toolkit/headless/headless.h"

#ifndef LUMVEXOR_E2E_SPLASH
#error "LUMVEXOR_E2E_SPLASH must name the committed splash picture"
#endif

namespace e2e {

namespace {

bool isBlack(QRgb rgb)
{
    return (rgb & 0xFFFFFF) == 0;
}

// The three records of a machine, made once as memory is large, and handed out with
// a fresh frame buffer and host values over a fresh scripted toolkit.
struct PictureMachine {
    lumvexor::MachineState machine;
    lumvexor::FrameBuffer frameBuffer;
    lumvexor::HostValues host;
};

PictureMachine& freshMachine()
{
    headless::reset();
    static PictureMachine m;
    m.frameBuffer = {};
    m.host = {};
    return m;
}

lumvexor::FrameBuffer pictureAfter(PictureMachine& m, int steps)
{
    for (int i = 0; i < steps; ++i) {
        lumvexor::executeStep(m.machine, m.frameBuffer, m.host);
    }
    return m.frameBuffer;
}

} // namespace

QImage drawingArea(const QImage& window)
{
    if (window.height() < DrawingHeight) {
        return {};
    }
    return window.copy(0, window.height() - DrawingHeight, window.width(), DrawingHeight);
}

int Cells::count() const
{
    int n = 0;
    for (bool on : lit) {
        n += on ? 1 : 0;
    }
    return n;
}

Cells emptyCells(int columns, int rows)
{
    return Cells{columns, rows, std::vector<bool>(static_cast<std::size_t>(columns * rows), false)};
}

Cells cellsOf(const lumvexor::FrameBuffer& frameBuffer)
{
    Cells cells = emptyCells(frameBuffer.columns, frameBuffer.rows);
    for (int y = 0; y < frameBuffer.rows; ++y) {
        for (int x = 0; x < frameBuffer.columns; ++x) {
            cells.set(x, y, lumvexor::pixelAt(frameBuffer, x, y) == lumvexor::PixelLit);
        }
    }
    return cells;
}

std::string describe(const Cells& cells)
{
    std::string text;
    for (int y = 0; y < cells.rows; ++y) {
        for (int x = 0; x < cells.columns; ++x) {
            text += cells.at(x, y) ? '#' : '.';
        }
        text += '\n';
    }
    return text;
}

bool isWhite(QRgb rgb)
{
    return (rgb & 0xFFFFFF) == 0xFFFFFF;
}

std::optional<Cells> readSquares(const QImage& area, int square, std::string& why)
{
    if (area.width() != DrawingWidth || area.height() != DrawingHeight) {
        why = "the drawing area is " + std::to_string(area.width()) + " x " + std::to_string(area.height());
        return std::nullopt;
    }
    Cells cells = emptyCells(DrawingWidth / square, PixelArea / square);
    for (int cy = 0; cy < cells.rows; ++cy) {
        for (int cx = 0; cx < cells.columns; ++cx) {
            const bool lit = isWhite(area.pixel(cx * square, cy * square));
            for (int y = cy * square; y < (cy + 1) * square; ++y) {
                for (int x = cx * square; x < (cx + 1) * square; ++x) {
                    const QRgb rgb = area.pixel(x, y);
                    if (lit ? !isWhite(rgb) : !isBlack(rgb)) {
                        std::ostringstream out;
                        out << "screen pixel (" << x << ", " << y << ") is #" << std::hex << (rgb & 0xFFFFFF)
                            << " inside the " << std::dec << square << " x " << square << " square at ("
                            << cx * square << ", " << cy * square << ") that starts "
                            << (lit ? "white" : "black");
                        why = out.str();
                        return std::nullopt;
                    }
                }
            }
            cells.set(cx, cy, lit);
        }
    }
    for (int y = PixelArea; y < DrawingHeight; ++y) {
        for (int x = 0; x < DrawingWidth; ++x) {
            if (!isBlack(area.pixel(x, y))) {
                why = "the strip below the pixels is not black at (" + std::to_string(x) + ", " +
                      std::to_string(y) + ")";
                return std::nullopt;
            }
        }
    }
    return cells;
}

int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) {
        return a.width() * a.height() + b.width() * b.height();
    }
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF) ? 1 : 0;
        }
    }
    return n;
}

lumvexor::FrameBuffer machinePictureOfRom(const std::filesystem::path& rom, int steps)
{
    PictureMachine& m = freshMachine();
    m.host.romPath = rom.string();
    lumvexor::loadRomImageSequence(m.machine, m.frameBuffer, m.host);
    return pictureAfter(m, steps);
}

lumvexor::FrameBuffer machinePictureAtStartUp(int steps)
{
    PictureMachine& m = freshMachine();
    lumvexor::loadBootProgramSequence(m.machine, m.frameBuffer, m.host);
    return pictureAfter(m, steps);
}

QImage splashPicture()
{
    QImage image(QStringLiteral(LUMVEXOR_E2E_SPLASH));
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace e2e
