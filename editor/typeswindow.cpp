#include "typeswindow.h"

#include "entitytypes.h"
#include "recordtable.h"
#include "spriteicon.h"
#include "typetable.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char* const kHeadings[] = {"Number",  "Sprite",     "Name",       "Sheet",       "Life",
                                 "Damage",  "Experience", "Hurt sound", "Death sound", "Smoke size",
                                 "Hit box", "View box",   "Bits"};

constexpr int kIconSide = 32;
constexpr int kEdgeReach = 5; // pixels from an edge that still grab it

// The table's field of each editable column from Sheet on.
vorn::NpcField FieldOf(int column)
{
    static const vorn::NpcField kFields[] = {
        vorn::NpcField::Sheet,     vorn::NpcField::Life,       vorn::NpcField::Damage, vorn::NpcField::Experience,
        vorn::NpcField::HurtSound, vorn::NpcField::DeathSound, vorn::NpcField::Smoke,  vorn::NpcField::HitBox,
        vorn::NpcField::ViewBox,   vorn::NpcField::Bits};
    return kFields[column - EntityTypesWindow::Sheet];
}

QString SheetName(int sheet)
{
    switch (sheet) {
    case vorn::kSheetTileset:
        return QStringLiteral("tileset");
    case vorn::kSheetItemImage:
        return QStringLiteral("ItemImage");
    case vorn::kSheetMyChar:
        return QStringLiteral("MyChar");
    case vorn::kSheetBullet:
        return QStringLiteral("Bullet");
    case vorn::kSheetCaret:
        return QStringLiteral("Caret");
    case vorn::kSheetNpcSym:
        return QStringLiteral("NpcSym");
    case vorn::kSheetStageNpc1:
        return QStringLiteral("NPC sheet 1");
    case vorn::kSheetStageNpc2:
        return QStringLiteral("NPC sheet 2");
    case vorn::kSheetNpcRegu:
        return QStringLiteral("NpcRegu");
    case vorn::kSheetFace:
        return QStringLiteral("Face");
    default:
        return {};
    }
}

QString SheetText(int sheet)
{
    const QString name = SheetName(sheet);
    return name.isEmpty() ? QString::number(sheet) : QStringLiteral("%1 %2").arg(sheet).arg(name);
}

QString BoxText(const vorn::NpcBox& b)
{
    return QStringLiteral("%1 %2 %3 %4").arg(b.front).arg(b.top).arg(b.back).arg(b.bottom);
}

} // namespace

// ---- the box picture --------------------------------------------------------

TypeBoxView::TypeBoxView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picTypeBoxes"));
    setMouseTracking(true);
    setToolTip(
        QStringLiteral("The sprite at 4x with its view box (blue) and hit box (red): drag an edge to change it"));
    fit();
}

void TypeBoxView::showType(const QImage& sprite, const vorn::NpcType& type)
{
    if (dragging_)
        return;
    sprite_ = sprite;
    type_ = type;
    fit();
    update();
}

// Room for the sprite and both boxes around the centre, with a margin.
void TypeBoxView::fit()
{
    const vorn::NpcBox& v = type_.view;
    const vorn::NpcBox& h = type_.hit;
    constexpr int kMargin = 4;
    // The frame's top-left lies view.front left of the centre, view.top above.
    const int left = std::max({int(v.front), int(h.front), 8}) + kMargin;
    const int top = std::max({int(v.top), int(h.top), 8}) + kMargin;
    const int right = std::max({int(v.back), int(h.back), sprite_.width() - v.front, 8}) + kMargin;
    const int bottom = std::max({int(v.bottom), int(h.bottom), sprite_.height() - v.top, 8}) + kMargin;
    centre_ = QPoint(left * kScale, top * kScale);
    setFixedSize((left + right) * kScale, (top + bottom) * kScale);
}

QRect TypeBoxView::boxRect(const vorn::NpcBox& box) const
{
    return QRect(QPoint(centre_.x() - box.front * kScale, centre_.y() - box.top * kScale),
                 QPoint(centre_.x() + box.back * kScale - 1, centre_.y() + box.bottom * kScale - 1));
}

void TypeBoxView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(64, 64, 64));
    // Facing left, the frame's top-left lies view.front left of the centre
    // and view.top above it.
    if (!sprite_.isNull()) {
        const QPoint at(centre_.x() - type_.view.front * kScale, centre_.y() - type_.view.top * kScale);
        painter.drawImage(QRect(at, sprite_.size() * kScale), sprite_);
    }
    const vorn::NpcBox view = dragging_ && !drag_.hitBox ? dragged_ : type_.view;
    const vorn::NpcBox hit = dragging_ && drag_.hitBox ? dragged_ : type_.hit;
    painter.setPen(QPen(QColor(80, 160, 255), 1));
    painter.drawRect(boxRect(view));
    painter.setPen(QPen(QColor(255, 80, 80), 1, Qt::DashLine));
    painter.drawRect(boxRect(hit));
    painter.setPen(Qt::white);
    painter.drawLine(centre_ - QPoint(3, 0), centre_ + QPoint(3, 0));
    painter.drawLine(centre_ - QPoint(0, 3), centre_ + QPoint(0, 3));
}

bool TypeBoxView::edgeAt(const QPoint& pos, Edge& edge) const
{
    int best = kEdgeReach + 1;
    // The hit box first: it usually lies inside the view box, and a tie goes to it.
    for (const bool hitBox : {true, false}) {
        const QRect r = boxRect(hitBox ? type_.hit : type_.view);
        const bool acrossY = pos.y() >= r.top() - kEdgeReach && pos.y() <= r.bottom() + kEdgeReach;
        const bool acrossX = pos.x() >= r.left() - kEdgeReach && pos.x() <= r.right() + kEdgeReach;
        const struct {
            Side side;
            int distance;
            bool along;
        } edges[] = {{Front, std::abs(pos.x() - r.left()), acrossY},
                     {Back, std::abs(pos.x() - r.right() - 1), acrossY},
                     {Top, std::abs(pos.y() - r.top()), acrossX},
                     {Bottom, std::abs(pos.y() - r.bottom() - 1), acrossX}};
        for (const auto& e : edges)
            if (e.along && e.distance < best) {
                best = e.distance;
                edge = {hitBox, e.side};
            }
    }
    return best <= kEdgeReach;
}

void TypeBoxView::mousePressEvent(QMouseEvent* event)
{
    Edge edge;
    if (event->button() != Qt::LeftButton || !edgeAt(event->position().toPoint(), edge))
        return;
    dragging_ = true;
    drag_ = edge;
    dragged_ = edge.hitBox ? type_.hit : type_.view;
}

void TypeBoxView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint() - centre_;
    if (!dragging_) {
        Edge edge;
        const bool over = edgeAt(event->position().toPoint(), edge);
        setCursor(!over                                     ? Qt::ArrowCursor
                  : edge.side == Front || edge.side == Back ? Qt::SizeHorCursor
                                                            : Qt::SizeVerCursor);
        return;
    }
    const auto side = [](int pixels) { return quint8(std::clamp((pixels + kScale / 2) / kScale, 0, 255)); };
    switch (drag_.side) {
    case Front:
        dragged_.front = side(-pos.x());
        break;
    case Back:
        dragged_.back = side(pos.x());
        break;
    case Top:
        dragged_.top = side(-pos.y());
        break;
    case Bottom:
        dragged_.bottom = side(pos.y());
        break;
    }
    update();
}

void TypeBoxView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_ || event->button() != Qt::LeftButton)
        return;
    dragging_ = false;
    update();
    emit boxDragged(drag_.hitBox, dragged_);
}

// ---- the window ---------------------------------------------------------------

EntityTypesWindow::EntityTypesWindow(vorn::TypeTable& types, TypesWindowHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , types_(types)
    , hooks_(std::move(hooks))
{
    setObjectName(QStringLiteral("frmEntityTypes"));
    resize(1150, 680);
    filter_ = vorn::NewFilterBox(this, QStringLiteral("Filter by name or number"));
    static_assert(std::size(kHeadings) == ColumnCount);
    table_ = vorn::NewRecordTable(this, QStringLiteral("tblTypes"), kHeadings);
    table_->verticalHeader()->setDefaultSectionSize(kIconSide + 4);
    table_->setIconSize(QSize(kIconSide, kIconSide));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                            QAbstractItemView::DoubleClicked);
    // The sheet column picks from the sheets the game knows, or takes a number.
    table_->setItemDelegate(new vorn::ChoiceDelegate(
        [](int column) {
            QStringList sheets;
            if (column == Sheet)
                for (int sheet = 0; sheet < 256; ++sheet)
                    if (!SheetName(sheet).isEmpty())
                        sheets << SheetText(sheet);
            return sheets;
        },
        this));
    table_->setColumnWidth(Number, 64);
    table_->setColumnWidth(Sprite, kIconSide + 8);
    table_->setColumnWidth(Name, 200);
    table_->setColumnWidth(Bits, 260);

    auto* add = new QPushButton(QStringLiteral("Add type"), this);
    add->setObjectName(QStringLiteral("cmdAddType"));
    add->setToolTip(QStringLiteral("Append a copy of the selected type past the last (Ctrl+N)"));
    auto* save = new QPushButton(QStringLiteral("Save"), this);
    save->setObjectName(QStringLiteral("cmdSaveTypes"));
    save->setToolTip(QStringLiteral("Write data\\npc.tbl and the names (Ctrl+S)"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(filter_, 1);
    buttons->addWidget(add);
    buttons->addWidget(save);

    boxes_ = new TypeBoxView(this);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(boxes_);
    scroll->setAlignment(Qt::AlignCenter);
    scroll->setMinimumSize(240, 240);
    auto* bits = new QWidget(this);
    auto* bitsLayout = new QGridLayout(bits);
    bitsLayout->setContentsMargins(0, 0, 0, 0);
    for (int bit = 0; bit < 16; ++bit) {
        auto* box = new QCheckBox(
            QStringLiteral("0x%1 %2").arg(QString::number(1u << bit, 16).toUpper().rightJustified(4, u'0'),
                                          vorn::EntityBitName(bit)),
            bits);
        box->setObjectName(QStringLiteral("chkBit%1").arg(bit));
        bitsLayout->addWidget(box, bit % 4, bit / 4);
        bitBoxes_.push_back(box);
        connect(box, &QCheckBox::toggled, this, [this, bit](bool on) {
            const int row = selectedType();
            if (filling_ || row < 0)
                return;
            vorn::NpcType type = types_.types()[size_t(row)];
            type.bits = quint16(on ? type.bits | (1u << bit) : type.bits & ~(1u << bit));
            (void)types_.setType(row, type, QStringLiteral("Type %1's bits").arg(row));
        });
    }
    auto* splitter = new QSplitter(this);
    splitter->addWidget(table_);
    splitter->addWidget(scroll);
    splitter->setStretchFactor(0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    layout->addWidget(bits);

    const auto key = [this](const QKeySequence& keys, const std::function<void()>& action) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    const auto addSelected = [this] {
        if (const vorn::Outcome added = addType(); !added.ok())
            tell(added.refusal());
    };
    connect(add, &QPushButton::clicked, this, addSelected);
    key(QKeySequence(Qt::CTRL | Qt::Key_N), addSelected);
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { this->save(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { types_.undoStack().undo(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Y), [this] { types_.undoStack().redo(); });
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), [this] { types_.undoStack().redo(); });

    connect(filter_, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) { itemChanged(item); });
    connect(table_, &QTableWidget::currentCellChanged, this, [this] { showSelected(); });
    connect(boxes_, &TypeBoxView::boxDragged, this, [this](bool hitBox, const vorn::NpcBox& box) {
        const int row = selectedType();
        if (row < 0)
            return;
        vorn::NpcType type = types_.types()[size_t(row)];
        (hitBox ? type.hit : type.view) = box;
        (void)types_.setType(row, type, QStringLiteral("Type %1's %2").arg(row).arg(hitBox ? "hit box" : "view box"));
    });
    connect(&types_, &vorn::TypeTable::changed, this, [this] { follow(); });
    connect(&types_.undoStack(), &QUndoStack::cleanChanged, this, [this] { updateTitle(); });
    follow();
    if (table_->rowCount() > 0)
        table_->setCurrentCell(0, Name);
}

bool EntityTypesWindow::pending() const { return types_.pending(); }

int EntityTypesWindow::selectedType() const
{
    const int row = table_->currentRow();
    return row >= 0 && row < types_.count() ? row : -1;
}

void EntityTypesWindow::tell(const QString& text)
{
    if (hooks_.tell)
        hooks_.tell(text);
}

void EntityTypesWindow::updateTitle()
{
    setWindowTitle(QStringLiteral("Entity Types - %1, %2 types%3")
                       .arg(vorn::NpcTableName())
                       .arg(types_.count())
                       .arg(pending() ? QStringLiteral(" *") : QString()));
}

// The rows follow the table: only those whose type or name changed are
// filled anew, so an edit of one type costs one row.
void EntityTypesWindow::follow()
{
    const vorn::NpcTable& now = types_.types();
    const int count = types_.count();
    filling_ = true;
    const int before = table_->rowCount();
    table_->setRowCount(count);
    for (int row = 0; row < count; ++row) {
        const bool same =
            row < before && size_t(row) < shownTypes_.size() && row < shownNames_.size() &&
            vorn::ComposeNpcTable({shownTypes_[size_t(row)]}) == vorn::ComposeNpcTable({now[size_t(row)]}) &&
            shownTypes_[size_t(row)].drawnAs == now[size_t(row)].drawnAs && shownNames_[row] == types_.name(row);
        if (!same)
            fillRow(row);
    }
    shownTypes_ = now;
    shownNames_.clear();
    for (int row = 0; row < count; ++row)
        shownNames_ << types_.name(row);
    filling_ = false;
    applyFilter();
    updateTitle();
    showSelected();
}

QImage EntityTypesWindow::spriteOf(int type) const
{
    return vorn::RestingSprite(type, types_.types(), hooks_.sheets ? hooks_.sheets() : nullptr);
}

void EntityTypesWindow::fillRow(int row)
{
    const vorn::NpcType& t = types_.types()[size_t(row)];
    const QString texts[ColumnCount] = {QString::number(row),
                                        QString(),
                                        types_.name(row),
                                        SheetText(t.sheet),
                                        QString::number(t.life),
                                        QString::number(t.damage),
                                        QString::number(t.experience),
                                        QString::number(t.hitSound),
                                        QString::number(t.deathSound),
                                        QString::number(t.deathSmoke),
                                        BoxText(t.hit),
                                        BoxText(t.view),
                                        vorn::EntityBitNames(t.bits)};
    for (int column = 0; column < ColumnCount; ++column) {
        auto* item = new QTableWidgetItem(texts[column]);
        if (column == Number || column == Sprite)
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        if (column == Number)
            item->setData(Qt::TextAlignmentRole, int(Qt::AlignRight | Qt::AlignVCenter));
        table_->setItem(row, column, item);
    }
    const QImage icon = vorn::SpriteIcon(row, types_.types(), hooks_.sheets ? hooks_.sheets() : nullptr, kIconSide);
    if (!icon.isNull())
        table_->item(row, Sprite)->setData(Qt::DecorationRole, QPixmap::fromImage(icon));
    table_->item(row, Bits)->setToolTip(vorn::NpcFieldText(t, vorn::NpcField::Bits));
    table_->item(row, HitBox)->setToolTip(QStringLiteral("Front, top, back, bottom, in pixels from the centre"));
    table_->item(row, ViewBox)->setToolTip(QStringLiteral("Front, top, back, bottom, in pixels from the centre"));
    if (!types_.state().ownNames[row].isEmpty())
        table_->item(row, Name)->setToolTip(
            QStringLiteral("This game's own name; shared default: \"%1\"").arg(types_.defaultName(row)));
}

void EntityTypesWindow::redrawSprites()
{
    shownTypes_.clear(); // every row anew
    follow();
}

void EntityTypesWindow::applyFilter()
{
    const QString text = filter_->text().trimmed();
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    for (int row = 0; row < table_->rowCount(); ++row) {
        const bool shown = text.isEmpty() || (isNumber && number == row) ||
                           table_->item(row, Name)->text().contains(text, Qt::CaseInsensitive);
        table_->setRowHidden(row, !shown);
    }
}

void EntityTypesWindow::showSelected()
{
    const int row = selectedType();
    filling_ = true;
    for (int bit = 0; bit < 16; ++bit) {
        bitBoxes_[size_t(bit)]->setEnabled(row >= 0);
        bitBoxes_[size_t(bit)]->setChecked(row >= 0 && (types_.types()[size_t(row)].bits & (1u << bit)));
    }
    filling_ = false;
    boxes_->showType(row >= 0 ? spriteOf(row) : QImage(), row >= 0 ? types_.types()[size_t(row)] : vorn::NpcType{});
}

void EntityTypesWindow::itemChanged(QTableWidgetItem* item)
{
    if (filling_)
        return;
    const int row = item->row();
    QString text = item->text();
    if (item->column() == Sheet) { // shown as "21 NPC sheet 1": the number counts
        bool number = false;
        text.section(u' ', 0, 0).toInt(&number);
        if (number)
            text = text.section(u' ', 0, 0);
    }
    const vorn::Outcome set = setField(row, item->column(), text);
    // Shown as the table holds it, the refused text gone.
    filling_ = true;
    fillRow(row);
    filling_ = false;
    if (!set.ok())
        tell(set.refusal());
}

vorn::Outcome EntityTypesWindow::setField(int row, int column, const QString& text)
{
    if (row < 0 || row >= types_.count() || column < Name || column >= ColumnCount)
        return QStringLiteral("There is no such field.");
    if (column == Name)
        return types_.setName(row, text);
    return types_.setField(row, FieldOf(column), text);
}

vorn::Outcome EntityTypesWindow::addType()
{
    const int row = selectedType();
    if (const vorn::Outcome added = types_.addType(row); !added.ok())
        return added;
    table_->setCurrentCell(types_.count() - 1, Name);
    table_->scrollToItem(table_->item(types_.count() - 1, Name));
    return {};
}

bool EntityTypesWindow::save()
{
    if (!pending())
        return true;
    // Another editor or vorn-tool may have written the file; writing over
    // its change unasked would lose it.
    if (types_.changedOutside() && hooks_.ask &&
        hooks_.ask(QStringLiteral("data/npc.tbl was changed by another program after Vorn read it. Overwrite it?"),
                   {QStringLiteral("Overwrite"), QStringLiteral("Cancel")}) != u"Overwrite")
        return false;
    if (const vorn::Outcome written = types_.save(); !written.ok()) {
        tell(QStringLiteral("The entity types were not written: ") + written.refusal());
        return false;
    }
    updateTitle();
    if (hooks_.written)
        hooks_.written();
    return true;
}

bool EntityTypesWindow::confirmClose()
{
    if (!pending())
        return true;
    const QString answer =
        hooks_.ask ? hooks_.ask(QStringLiteral("The entity types have changes that are not written. Save them?"),
                                {QStringLiteral("Save"), QStringLiteral("Discard"), QStringLiteral("Cancel")})
                   : QStringLiteral("Cancel");
    if (answer == u"Save")
        return save();
    if (answer == u"Discard") {
        if (const vorn::Outcome read = types_.read(); !read.ok())
            tell(read.refusal());
        return true;
    }
    return false;
}

void EntityTypesWindow::closeEvent(QCloseEvent* event)
{
    if (confirmClose())
        event->accept();
    else
        event->ignore();
}
