#include "findbar.h"

#include "frmVorn.h"
#include "mapview.h"
#include "stagedocument.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace vorn {

namespace {

// Decimal only: the game's scripts write flags and events in decimal, and a
// leading zero must not turn "0100" into an octal 64.
std::optional<int> Number(const QString& text, bool* bad)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int value = t.toInt(&ok, 10);
    if (!ok) {
        *bad = true;
        return std::nullopt;
    }
    return value;
}

} // namespace

ParsedCriteria ParseCriteria(const QString& type, const QString& flag, const QString& event)
{
    ParsedCriteria parsed;
    const QString t = type.trimmed();
    bool ok = false;
    const int typeNumber = t.toInt(&ok, 10);
    if (ok)
        parsed.criteria.type = typeNumber;
    else
        parsed.criteria.typeName = t;

    QStringList errors;
    bool bad = false;
    parsed.criteria.flag = Number(flag, &bad);
    if (bad)
        errors << QStringLiteral("The flag must be a number.");
    bad = false;
    parsed.criteria.event = Number(event, &bad);
    if (bad)
        errors << QStringLiteral("The event must be a number.");
    parsed.error = errors.join(u' ');
    return parsed;
}

bool Matches(const EntityCriteria& criteria, int type, int flag, int event, const QString& typeName)
{
    if (criteria.type && *criteria.type != type)
        return false;
    if (!criteria.typeName.isEmpty() && !typeName.contains(criteria.typeName, Qt::CaseInsensitive))
        return false;
    if (criteria.flag && *criteria.flag != flag)
        return false;
    if (criteria.event && *criteria.event != event)
        return false;
    return true;
}

int NextMatch(const StageDocument& stage, const std::array<QString, 513>& names, const EntityCriteria& criteria,
              int after)
{
    const int count = std::clamp<int>(stage.entityCount(), 0, kMaxEntities);
    if (count == 0)
        return -1;
    // A selection past the count (the count was lowered) starts over at 0.
    const int start = after < 0 || after >= count ? 0 : after + 1;
    for (int k = 0; k < count; ++k) {
        const int i = (start + k) % count;
        const EntityRecord& r = stage.record(i);
        const bool named = r.Type >= 0 && r.Type < int(names.size());
        if (Matches(criteria, r.Type, r.Flag, r.TSC, named ? names[size_t(r.Type)] : QString()))
            return i;
    }
    return -1;
}

FindBar::FindBar(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("findBar"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 2, 2);
    row->setSpacing(4);
    const auto box = [this, row](const char* name, const QString& label, const QString& placeholder) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setPlaceholderText(placeholder);
        edit->setToolTip(QStringLiteral("Find the next entity (Enter)"));
        edit->setClearButtonEnabled(true);
        edit->installEventFilter(this);
        auto* caption = new QLabel(label, this);
        caption->setBuddy(edit);
        row->addWidget(caption);
        row->addWidget(edit, 1);
        connect(edit, &QLineEdit::returnPressed, this, &FindBar::findNext);
        return edit;
    };
    typeEdit = box("findType", QStringLiteral("Type"), QStringLiteral("number or part of the name"));
    flagEdit = box("findFlag", QStringLiteral("Flag"), QStringLiteral("number"));
    eventEdit = box("findEvent", QStringLiteral("Event"), QStringLiteral("number"));
    closeButton = new QToolButton(this);
    closeButton->setObjectName(QStringLiteral("findClose"));
    closeButton->setText(QStringLiteral("\u00d7"));
    closeButton->setToolTip(QStringLiteral("Close (Escape)"));
    closeButton->setAutoRaise(true);
    closeButton->installEventFilter(this);
    row->addWidget(closeButton);
    connect(closeButton, &QToolButton::clicked, this, &FindBar::dismiss);
    hide();
}

void FindBar::open()
{
    QWidget* focus = QApplication::focusWidget();
    if (!isVisible() && focus && !isAncestorOf(focus))
        focusBefore_ = focus;
    const bool was = isVisible();
    show();
    raise();
    if (!was)
        emit shownOrHidden();
    typeEdit->setFocus(Qt::ShortcutFocusReason);
    typeEdit->selectAll();
}

void FindBar::dismiss()
{
    hide();
    emit shownOrHidden();
    if (focusBefore_)
        focusBefore_->setFocus(Qt::OtherFocusReason);
}

// Escape belongs to the bar while it has the focus: the window's own Escape
// (ending a tool's drag) would otherwise take it first.
bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            if (event->type() == QEvent::ShortcutOverride) {
                event->accept();
            } else {
                dismiss();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vorn

// ---- the window's side ----------------------------------------------------

void frmVorn::FindNextEntity()
{
    if (!stage_->isOpen())
        return;
    const vorn::ParsedCriteria parsed =
        vorn::ParseCriteria(findBar_->typeEdit->text(), findBar_->flagEdit->text(), findBar_->eventEdit->text());
    if (!parsed.error.isEmpty()) {
        lblStatus_->setText(parsed.error);
        return;
    }
    const int found = vorn::NextMatch(*stage_, EntityNames_, parsed.criteria, SelectedEntity());
    if (found < 0) {
        lblStatus_->setText(QStringLiteral("No entity matches."));
        return;
    }
    GoToEntity(found); // the entity commands act on what was found
}

void frmVorn::GoToEntity(int index)
{
    ScrollEntityIntoView(index);
    Pick(index);
    // The selector reports only a change; the entity it already rests on
    // (also before any selection) is shown by hand.
    if (hsbEntity_->value() == index)
        hsbEntity_Change();
    else
        hsbEntity_->setValue(index);
}

void frmVorn::ScrollEntityIntoView(int index)
{
    if (index < 0 || index >= stage_->entityCount())
        return;
    const vorn::EntityRecord& r = stage_->record(index);
    const int zoom = ZoomSize_;
    // What of the map can be seen: the panel less its scroll bars and the
    // find bar lying over its bottom.
    const int seenW = mapPanelInner_->width() - (vsbMap_->isHidden() ? 0 : vsbMap_->width());
    const int seenH = mapPanelInner_->height() - (hsbMap_->isHidden() ? 0 : hsbMap_->height()) -
                      (findBar_->isHidden() ? 0 : findBar_->height());
    constexpr int kStep = 16; // pixels of one scroll bar step
    // One axis at a time: an axis on which the cell is already seen keeps its place.
    const auto bring = [kStep](QScrollBar* bar, int cellStart, int size, int offset, int seen) {
        const int shown = offset + cellStart; // where the cell is in the panel now
        if (shown >= 0 && shown + size <= seen)
            return;
        // Centred, as near as whole steps allow; the bar keeps it in range.
        const int value = int(std::lround((cellStart + size / 2.0 - seen / 2.0) / kStep));
        frmVorn::SetScrollValue(bar, -std::max(0, value));
    };
    bring(hsbMap_, r.X * zoom, zoom, picMap_->x(), seenW);
    bring(vsbMap_, r.Y * zoom, zoom, picMap_->y(), seenH);
}
