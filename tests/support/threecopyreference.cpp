#include "threecopyreference.h"

#include "frmVorn.h"
#include "numtext.h"

#include <QPainter>

QImage ThreeCopyReference(const frmVorn& w)
{
    const int mw = w.MapWidth * 16, mh = w.MapHeight * 16;
    QImage backing(mw, mh, QImage::Format_RGB32);
    backing.fill(Qt::white);
    if (!w.picTemp.isNull()) {
        QPainter p(&backing);
        const int bw = w.picTemp.width(), bh = w.picTemp.height();
        const int nx = int(vorn::RoundHalfEven(double(mw) / bw));
        const int ny = int(vorn::RoundHalfEven(double(mh) / bh));
        for (int i = 0; i <= nx; ++i)
            for (int j = 0; j <= ny; ++j)
                p.drawImage(i * bw, j * bh, w.picTemp);
    }
    QImage out(mw, mh, QImage::Format_RGB32);
    QPainter p(&out);
    for (int y = 0; y < w.MapHeight; ++y) {
        for (int x = 0; x < w.MapWidth; ++x) {
            const int t = w.TileGrid.at(x, y);
            const QRect cell(x * 16, y * 16, 16, 16);
            const QRect tile((t & 15) * 16, (t >> 4) * 16, 16, 16);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(cell, backing, cell);
            p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            p.drawImage(cell.topLeft(), w.picMask, tile);
            p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
            p.drawImage(cell.topLeft(), w.picTilesetImage, tile);
        }
    }
    return out;
}
