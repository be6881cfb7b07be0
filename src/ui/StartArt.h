#pragma once
// The program's pictures, painted with QPainter so they scale cleanly and
// need no image plug-in: the OBRU logo, the start window's illustration of a
// transformation between two frames, and the "ready" picture shown at the
// hand-over.

#include <QIcon>
#include <QPixmap>

namespace transref {

QPixmap PaintLogo(int size);
QPixmap PaintFramesIllustration(int size);
QPixmap PaintReadyIllustration(int size);
// The window icon: the logo at the usual icon sizes.
QIcon ProgramIcon();

}  // namespace transref
