#pragma once

// The drawing screen: the main window's client area. It shows the frame that the
// last flip presented, stretched over its whole rectangle, each axis by itself, with
// every pixel kept sharp.

#include <QImage>
#include <QSize>
#include <QWidget>

#include "toolkit/common/raster.h"

namespace toolkit::qt {

class ScreenWidget final : public QWidget {
public:
    explicit ScreenWidget(QSize clientSize);

    QSize sizeHint() const override;
    // A black frame of the screen's size, shown until the first flip.
    void openFrame(int width, int height);
    // Takes the frame and paints it before returning.
    void present(const raster::Image& frame);
    const QImage& frontImage() const { return front; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize clientSize;
    QImage front;
};

} // namespace toolkit::qt
