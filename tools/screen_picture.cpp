// The picture the window would show, drawn by the window's own presentation on the
// scripted toolkit's hidden buffer, and written as PNG by Qt's image writer.
#include <QImage>
#include <QString>

#include "shell/presentation.h"
#include "toolkit/common/drawing.h"
#include "tools/final_state.h"

namespace headless_runner {

bool writeScreenPicture(const Machine& machine, const std::string& path, std::string& problem)
{
    toolkit::openScreen(lumvexor::ScreenWidth, lumvexor::ScreenHeight);
    const lumvexor::Sprites sprites = lumvexor::createSprites();
    lumvexor::drawFrame(sprites, machine.frameBuffer, machine.host);
    const toolkit::raster::Image& picture = toolkit::drawing::hiddenBuffer();

    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width; ++x) {
            line[x] = 0xFF000000u | picture.at(x, y);
        }
    }
    if (!image.save(QString::fromStdString(path), "PNG")) {
        problem = "cannot write '" + path + "': the PNG image could not be saved";
        return false;
    }
    return true;
}

} // namespace headless_runner
