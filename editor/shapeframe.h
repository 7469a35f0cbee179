#pragma once
#include <QColor>
#include <QPainter>
#include <QWidget>

namespace vorn {

// A 1-pixel rectangular frame lying over a surface (shpCursor, shpTile).
// It never takes the pointer: events fall through to the surface below.
class ShapeFrame : public QWidget {
public:
    explicit ShapeFrame(QWidget* parent, QColor colour = QColor(128, 128, 255), bool dashed = false)
        : QWidget(parent)
        , colour_(colour)
        , dashed_(dashed)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (dashed_) {
            // Dashes over a solid line of the other colour: seen on any tile.
            p.setPen(Qt::black);
            p.drawRect(0, 0, width() - 1, height() - 1);
            p.setPen(QPen(colour_, 1, Qt::DashLine));
        } else {
            p.setPen(colour_);
        }
        p.drawRect(0, 0, width() - 1, height() - 1);
    }

private:
    QColor colour_;
    bool dashed_;
};

} // namespace vorn
