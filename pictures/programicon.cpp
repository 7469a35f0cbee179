#include "programicon.h"

#include <QPainter>
#include <cmath>

namespace vorn {
namespace {

// The design, in cells of the 16 x 16 grid: the frame, its fill, then the
// two painted cells over it.
struct Part {
    int x, y, w, h;
    QRgb colour;
};
constexpr Part kParts[] = {
    {0, 0, 16, 16, qRgb(20, 30, 60)},
    {1, 1, 14, 14, qRgb(64, 96, 160)},
    {3, 3, 5, 5, qRgb(230, 200, 90)},
    {8, 8, 5, 5, qRgb(120, 190, 90)},
};

} // namespace

QImage ProgramIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    // Each edge rounds to a whole pixel, so 22 and 24 stay as sharp as 16.
    const auto at = [size](int cell) { return int(std::lround(cell * size / 16.0)); };
    for (const Part& part : kParts) {
        const int left = at(part.x), top = at(part.y);
        p.fillRect(left, top, at(part.x + part.w) - left, at(part.y + part.h) - top, QColor(part.colour));
    }
    return image;
}

QByteArray ProgramIconSvg()
{
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\" "
                     "viewBox=\"0 0 16 16\" shape-rendering=\"crispEdges\">\n";
    for (const Part& part : kParts) {
        svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>\n")
                   .arg(part.x)
                   .arg(part.y)
                   .arg(part.w)
                   .arg(part.h)
                   .arg(QColor(part.colour).name())
                   .toUtf8();
    }
    svg += "</svg>\n";
    return svg;
}

} // namespace vorn
