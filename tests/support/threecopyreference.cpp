#include "threecopyreference.h"

#include "frmVorn.h"
#include "numtext.h"
#include "stagedocument.h"

#include <QPainter>

QImage ThreeCopyReference(const frmVorn& w)
{
    const int mw = w.stage().width() * 16, mh = w.stage().height() * 16;
    QImage backing(mw, mh, QImage::Format_RGB32);
    backing.fill(Qt::white);
    if (!w.stage().backdrop().isNull()) {
        QPainter p(&backing);
        const int bw = w.stage().backdrop().width(), bh = w.stage().backdrop().height();
        const int nx = int(vorn::RoundHalfEven(double(mw) / bw));
        const int ny = int(vorn::RoundHalfEven(double(mh) / bh));
        for (int i = 0; i <= nx; ++i)
            for (int j = 0; j <= ny; ++j)
                p.drawImage(i * bw, j * bh, w.stage().backdrop());
    }
    QImage out(mw, mh, QImage::Format_RGB32);
    QPainter p(&out);
    for (int y = 0; y < w.stage().height(); ++y) {
        for (int x = 0; x < w.stage().width(); ++x) {
            const int t = w.stage().cell(x, y);
            const QRect cell(x * 16, y * 16, 16, 16);
            const QRect tile((t & 15) * 16, (t >> 4) * 16, 16, 16);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(cell, backing, cell);
            p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            p.drawImage(cell.topLeft(), w.stage().mask(), tile);
            p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
            p.drawImage(cell.topLeft(), w.stage().tileset(), tile);
        }
    }
    return out;
}
