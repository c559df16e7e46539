// The drawing screen: the flip copies the hidden buffer into the widget's front
// image, paints it at once and then holds the caller to the frame pace.
#include "toolkit/qt/screen.h"

#include <QPaintEvent>
#include <QPainter>
#include <chrono>
#include <optional>
#include <thread>

#include "toolkit/common/drawing.h"
#include "toolkit/qt/qt_inspect.h"
#include "toolkit/qt/qt_services.h"
#include "toolkit/toolkit.h"

namespace toolkit::qt {

ScreenWidget::ScreenWidget(QSize clientSize)
    : clientSize(clientSize)
{
    // Every paint covers the whole rectangle: no background to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

QSize ScreenWidget::sizeHint() const
{
    return clientSize;
}

void ScreenWidget::openFrame(int width, int height)
{
    front = QImage(width, height, QImage::Format_RGB32);
    front.fill(Qt::black);
    update();
}

void ScreenWidget::present(const raster::Image& frame)
{
    if (frame.width <= 0 || frame.height <= 0) {
        return;
    }
    if (front.width() != frame.width || front.height() != frame.height) {
        front = QImage(frame.width, frame.height, QImage::Format_RGB32);
    }
    const std::uint32_t* source = frame.pixels.data();
    for (int y = 0; y < frame.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(front.scanLine(y));
        for (int x = 0; x < frame.width; ++x) {
            line[x] = 0xFF000000u | *source++; // RGB32 keeps its unused top byte at 0xFF
        }
    }
    repaint();
}

void ScreenWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (front.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // Without SmoothPixmapTransform the painter samples the nearest pixel, so the
    // machine's squares keep sharp edges at any window size.
    painter.drawImage(QRect(QPoint(0, 0), size()), front);
}

} // namespace toolkit::qt

namespace {

using Clock = std::chrono::steady_clock;

struct Pace {
    int framesPerSecond = 0;
    std::optional<Clock::time_point> previousFlipEnd;
};
Pace pace;

// One frame period past the end of the previous flip. The period is a little shorter
// than 1/fps (1/31 s at 30) so that a display refreshing at the frame rate is not
// missed by a hair.
void keepFramePace()
{
    if (pace.framesPerSecond > 0 && pace.previousFlipEnd) {
        const std::chrono::duration<double> period(1.0 / (pace.framesPerSecond + 1));
        std::this_thread::sleep_until(*pace.previousFlipEnd +
                                      std::chrono::duration_cast<Clock::duration>(period));
    }
    pace.previousFlipEnd = Clock::now();
}

} // namespace

namespace toolkit {

void startScreen()
{
    pace = Pace{};
}

void openScreen(int width, int height)
{
    drawing::resizeHiddenBuffer(width, height);
    if (qt::ScreenWidget* screen = qt::screenWidget()) {
        screen->openFrame(width, height);
    }
}

void setFrameRate(int framesPerSecond)
{
    pace.framesPerSecond = framesPerSecond;
}

void flip()
{
    if (qt::ScreenWidget* screen = qt::screenWidget()) {
        screen->present(drawing::hiddenBuffer());
    }
    keepFramePace();
}

namespace qt {

void releaseScreen()
{
    pace = Pace{};
}

} // namespace qt

} // namespace toolkit

QImage toolkit::qt_inspect::frontImage()
{
    const toolkit::qt::ScreenWidget* screen = toolkit::qt::screenWidget();
    return screen ? screen->frontImage() : QImage();
}
