#pragma once
// The program's icon: a tile square with two painted cells, designed on a
// 16 x 16 grid and drawn at any size with its edges on whole pixels.
#include <QByteArray>
#include <QImage>

namespace vorn {

// The icon as a square picture `size` pixels wide, transparent around it.
QImage ProgramIcon(int size);

// The same design as a scalable SVG document.
QByteArray ProgramIconSvg();

} // namespace vorn
