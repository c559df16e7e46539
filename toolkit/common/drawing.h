#pragma once

// The drawing screen's hidden buffer and the sprites, kept the same way by both
// toolkits; each toolkit only presents the hidden buffer in its own flip.

#include "toolkit/common/raster.h"

namespace toolkit::drawing {

// Makes the hidden buffer width x height, black.
void resizeHiddenBuffer(int width, int height);
const raster::Image& hiddenBuffer();
// Forgets every sprite and the hidden buffer.
void releaseAll();

} // namespace toolkit::drawing
