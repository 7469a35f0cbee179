#pragma once
#include <QWidget>

class frmVorn;

namespace vorn {

// One entity marker: the 16 x 16 marker picture stretched without smoothing
// to the marker's size, transparent elsewhere. Passes its pointer events to
// frmVorn::entity_MouseMove / entity_MouseDown with its index.
class EntityMarker : public QWidget {
    Q_OBJECT
public:
    EntityMarker(frmVorn* owner, int index, QWidget* parent);
    int index() const { return index_; }

    // The 16 x 16 marker picture (ARGB32, transparent background).
    static const QImage& Picture();

protected:
    bool event(QEvent* event) override; // the tooltip names the entity
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    frmVorn* owner_;
    int index_;
};

} // namespace vorn
