#include "frmVorn.h"

#include "entitymarker.h"
#include "findbar.h"
#include "mapview.h"
#include "pan.h"
#include "toolbox.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QScrollBar>
#include <QShortcut>
#include <algorithm>
#include <cmath>

// Moving around the map without the scroll bars: the wheel scrolls (Shift
// for across), Ctrl+wheel zooms about the pointer, Space+drag pans, and
// Ctrl+S saves. None of it changes what a plain press on the map does.

namespace {

constexpr int kWheelNotch = 120; // one step of an ordinary wheel
constexpr int kScrollUnit = 16; // pixels of one scroll bar step

} // namespace

void frmVorn::InstallNavigationKeys()
{
    BindKey(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { cmdSave_Click(); });
    // Space is watched for the whole program, so that a list with the focus
    // does not open on it while the pointer is over the map.
    qApp->installEventFilter(this);
}

bool frmVorn::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A space typed into the find bar is text, even with the pointer over the map.
        const bool typing = findBar_ && findBar_->isAncestorOf(QApplication::focusWidget());
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier && !QApplication::activeModalWidget() &&
            isActiveWindow() && (spaceHeld_ || (!typing && (picMap_->underMouse() || mapPanelInner_->underMouse())))) {
            if (!key->isAutoRepeat()) {
                spaceHeld_ = type == QEvent::KeyPress;
                if (!spaceHeld_)
                    tools_->pan().cancel();
                picMap_->setCursor(spaceHeld_ ? Qt::OpenHandCursor : Qt::ArrowCursor);
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool frmVorn::BeginPan(const QPoint& globalPos)
{
    if (!spaceHeld_)
        return false;
    return tools_->pan().press({QPoint(), 1, false, globalPos});
}

bool frmVorn::PanTo(const QPoint& globalPos)
{
    if (!tools_->pan().active())
        return false;
    tools_->pan().move({QPoint(), 1, false, globalPos});
    return true;
}

bool frmVorn::EndPan()
{
    const bool panning = tools_->pan().active();
    tools_->pan().release({});
    return panning;
}

void frmVorn::picMap_Wheel(const QPoint& angleDelta, Qt::KeyboardModifiers modifiers, const QPoint& pos)
{
    // A wheel that scrolls sideways by itself scrolls across.
    const bool across = (modifiers & Qt::ShiftModifier) || (angleDelta.y() == 0 && angleDelta.x() != 0);
    wheelRest_ += angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x();
    const int notches = wheelRest_ / kWheelNotch;
    wheelRest_ %= kWheelNotch;
    if (notches == 0)
        return;
    if (modifiers & Qt::ControlModifier) {
        ZoomAbout(notches > 0 ? 1 : -1, pos);
        return;
    }
    QScrollBar* bar = across ? hsbMap_ : vsbMap_;
    bar->setValue(bar->value() - notches * QApplication::wheelScrollLines() * bar->singleStep());
}

// One zoom step up (in) or down (out) the list, keeping the cell under the
// pointer as close under it as whole scroll units allow.
void frmVorn::ZoomAbout(int step, const QPoint& pos)
{
    const int index = std::clamp(cboZoom_->currentIndex() + step, 0, cboZoom_->count() - 1);
    if (index == cboZoom_->currentIndex())
        return;
    const int oldZoom = ZoomSize_;
    const QPoint inPanel = picMap_->pos() + pos; // where the pointer is in the map's panel
    const QPointF cell(double(pos.x()) / oldZoom, double(pos.y()) / oldZoom);
    cboZoom_->setCurrentIndex(index); // runs cboZoom_Click
    StoreSettingsSoon();
    const int newZoom = ZoomSize_;
    const auto keep = [](QScrollBar* bar, double wanted) { bar->setValue(int(std::lround(wanted / kScrollUnit))); };
    keep(hsbMap_, cell.x() * newZoom - inPanel.x());
    keep(vsbMap_, cell.y() * newZoom - inPanel.y());
}
