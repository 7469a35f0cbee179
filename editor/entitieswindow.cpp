#include "entitieswindow.h"

#include "entitytypes.h"
#include "recordtable.h"
#include "spriteicon.h"
#include "stagedocument.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char* const kHeadings[] = {"Index", "X", "Y", "Type", "Flag", "Event", "Bits"};

// Keeps the rows whose numbers hold the filter's number, or whose type name
// or bit names hold its text.
class EntityFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setText(const QString& text)
    {
        text_ = text.trimmed();
        number_ = text_.toInt(&isNumber_);
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        if (text_.isEmpty())
            return true;
        const QAbstractItemModel* source = sourceModel();
        if (isNumber_) {
            for (int column = EntityListModel::Index; column <= EntityListModel::Event; ++column)
                if (source->index(row, column, parent).data(EntityListModel::SortRole).toInt() == number_)
                    return true;
        }
        for (const int column : {int(EntityListModel::Type), int(EntityListModel::Bits)})
            if (source->index(row, column, parent)
                    .data(Qt::DisplayRole)
                    .toString()
                    .contains(text_, Qt::CaseInsensitive))
                return true;
        return false;
    }

private:
    QString text_;
    bool isNumber_ = false;
    int number_ = 0;
};

// The records in use: a count outside 0 to kMaxEntities names no more
// records than the stage holds.
int ShownCount(const vorn::StageDocument& stage)
{
    return stage.isOpen() ? std::clamp<int>(stage.entityCount(), 0, vorn::kMaxEntities) : 0;
}

} // namespace

// ---- the rows -------------------------------------------------------------------

EntityListModel::EntityListModel(const vorn::StageDocument& stage, const std::array<QString, 513>& names,
                                 QObject* parent)
    : QAbstractTableModel(parent)
    , stage_(stage)
    , names_(names)
    , rows_(ShownCount(stage))
{
}

int EntityListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int EntityListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString EntityListModel::typeName(int type) const
{
    return type >= 0 && type < int(names_.size()) ? names_[size_t(type)] : QString();
}

QVariant EntityListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_)
        return {};
    const vorn::EntityRecord& r = stage_.record(index.row());
    const int column = index.column();
    if (role == SortRole || (role == Qt::DisplayRole && column != Type && column != Bits)) {
        switch (column) {
        case Index:
            return index.row();
        case X:
            return int(r.X);
        case Y:
            return int(r.Y);
        case Type:
            return int(r.Type);
        case Flag:
            return int(r.Flag);
        case Event:
            return int(r.TSC);
        default:
            return vorn::EntityBitNames(quint16(r.Unknown));
        }
    }
    switch (role) {
    case Qt::DisplayRole: {
        if (column == Bits)
            return vorn::EntityBitNames(quint16(r.Unknown));
        const QString name = typeName(r.Type);
        return name.isEmpty() ? QString::number(r.Type) : QStringLiteral("%1 %2").arg(r.Type).arg(name);
    }
    case Qt::DecorationRole: {
        if (column != Type)
            return {};
        // Stages repeat few types: one icon each.
        auto found = icons_.find(r.Type);
        if (found == icons_.end()) {
            const QImage icon = vorn::SpriteIcon(r.Type, stage_.npcTable(), &stage_.sheets(), kIconSide);
            found = icons_.emplace(r.Type, icon.isNull() ? QVariant() : QVariant(QPixmap::fromImage(icon))).first;
        }
        return found->second;
    }
    case Qt::TextAlignmentRole:
        return column == Type || column == Bits ? QVariant() : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
    case Qt::ToolTipRole:
        return column == Bits ? QVariant(QStringLiteral("0x%1").arg(quint16(r.Unknown), 4, 16, QLatin1Char('0')))
                              : QVariant();
    default:
        return {};
    }
}

QVariant EntityListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromLatin1(kHeadings[section]);
    if (orientation == Qt::Horizontal && role == Qt::InitialSortOrderRole)
        return int(Qt::AscendingOrder); // a first click sorts from the smallest

    return QAbstractTableModel::headerData(section, orientation, role);
}

void EntityListModel::rebuild()
{
    beginResetModel();
    rows_ = ShownCount(stage_);
    icons_.clear();
    endResetModel();
}

void EntityListModel::relook()
{
    icons_.clear();
    if (rows_ > 0)
        emit dataChanged(index(0, Type), index(rows_ - 1, Type));
}

void EntityListModel::recordChanged(int row)
{
    if (row >= 0 && row < rows_)
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

// ---- the window -------------------------------------------------------------------

EntitiesWindow::EntitiesWindow(const vorn::StageDocument& stage, const std::array<QString, 513>& names,
                               EntitiesWindowHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , stage_(stage)
    , hooks_(std::move(hooks))
{
    setObjectName(QStringLiteral("frmEntities"));
    resize(640, 520);
    filter_ = vorn::NewFilterBox(this, QStringLiteral("Filter by name, bit or number"));
    filter_->setClearButtonEnabled(true);

    model_ = new EntityListModel(stage, names, this);
    auto* filter = new EntityFilter(this);
    filter->setSourceModel(model_);
    filter->setSortRole(EntityListModel::SortRole);
    rows_ = filter;

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("tblEntities"));
    table_->setModel(rows_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(EntityListModel::Index, Qt::AscendingOrder);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(EntityListModel::kIconSide + 4);
    table_->setIconSize(QSize(EntityListModel::kIconSide, EntityListModel::kIconSide));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (const int column : {EntityListModel::Index, EntityListModel::X, EntityListModel::Y, EntityListModel::Flag,
                             EntityListModel::Event})
        table_->setColumnWidth(column, 56);
    table_->setColumnWidth(EntityListModel::Type, 200);
    table_->setToolTip(QStringLiteral("Click to pick an entity; Delete takes the selected ones out"));
    table_->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter_);
    layout->addWidget(table_, 1);

    const auto key = [this](const QKeySequence& keys, const std::function<void()>& action) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [action] {
            if (action)
                action();
        });
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_Z), hooks_.undo);
    key(QKeySequence(Qt::CTRL | Qt::Key_Y), hooks_.redo);
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), hooks_.redo);

    connect(filter_, &QLineEdit::textChanged, this, [filter](const QString& text) { filter->setText(text); });
    const auto pick = [this](const QModelIndex& at) {
        const int index = entityAt(at.row());
        if (following_ || index < 0 || !hooks_.pick)
            return;
        // The main window's pick comes back through showPicked: the rows
        // the user is selecting stay as they are.
        following_ = true;
        hooks_.pick(index);
        following_ = false;
    };
    // A click picks, and so does moving along the rows with the keys.
    connect(table_, &QTableView::clicked, this, pick);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [pick](const QModelIndex& current) {
                if (current.isValid())
                    pick(current);
            });
    connect(&stage, &vorn::StageDocument::recordChanged, model_, &EntityListModel::recordChanged);
    connect(&stage, &vorn::StageDocument::entitiesChanged, this, [this] { follow(); });
    connect(&stage, &vorn::StageDocument::opened, this, [this] { follow(); });
    connect(&stage, &vorn::StageDocument::npcTableChanged, this, [this] { relook(); });
    connect(&stage, &vorn::StageDocument::picturesChanged, this, [this] { relook(); });
    shownStage_ = stage.index();
    updateTitle();
}

// The rows' signals would otherwise reach the hooks while the table goes.
EntitiesWindow::~EntitiesWindow()
{
    table_->selectionModel()->disconnect(this);
    table_->disconnect(this);
}

int EntitiesWindow::entityAt(int row) const
{
    const QModelIndex at = rows_->index(row, 0);
    return at.isValid() ? rows_->mapToSource(at).row() : -1;
}

int EntitiesWindow::rowOf(int index) const
{
    if (index < 0 || index >= model_->rowCount())
        return -1;
    const QModelIndex at = rows_->mapFromSource(model_->index(index, 0));
    return at.isValid() ? at.row() : -1;
}

std::vector<int> EntitiesWindow::selectedEntities() const
{
    std::vector<int> indices;
    for (const QModelIndex& at : table_->selectionModel()->selectedRows())
        indices.push_back(rows_->mapToSource(at).row());
    std::sort(indices.begin(), indices.end());
    return indices;
}

void EntitiesWindow::selectEntities(const std::vector<int>& indices)
{
    following_ = true;
    QItemSelection selection;
    int first = -1;
    for (const int index : indices) {
        const int row = rowOf(index);
        if (row < 0)
            continue;
        selection.select(rows_->index(row, 0), rows_->index(row, EntityListModel::ColumnCount - 1));
        if (first < 0)
            first = row;
    }
    QItemSelectionModel* selected = table_->selectionModel();
    if (first >= 0)
        selected->setCurrentIndex(rows_->index(first, 0), QItemSelectionModel::NoUpdate);
    selected->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (first >= 0)
        table_->scrollTo(rows_->index(first, 0));
    following_ = false;
}

void EntitiesWindow::removeSelected()
{
    const std::vector<int> indices = selectedEntities();
    if (!indices.empty() && hooks_.remove)
        hooks_.remove(indices);
}

void EntitiesWindow::showPicked(int index)
{
    if (following_ || index < 0)
        return;
    const std::vector<int> selected = selectedEntities();
    if (!std::binary_search(selected.begin(), selected.end(), index))
        selectEntities({index});
}

void EntitiesWindow::relook() { model_->relook(); }

// Records that kept their count keep their rows selected (an undone drag,
// a recovered stage); a count that changed shifts the indices, so none
// stays selected but the one the main window picks. Another stage starts
// with none.
void EntitiesWindow::follow()
{
    const int before = model_->rowCount();
    const std::vector<int> selected = selectedEntities();
    model_->rebuild();
    if (stage_.index() != shownStage_) {
        shownStage_ = stage_.index();
    } else if (model_->rowCount() == before) {
        selectEntities(selected);
    }
    updateTitle();
}

void EntitiesWindow::updateTitle()
{
    if (!stage_.isOpen()) {
        setWindowTitle(QStringLiteral("Entities"));
        return;
    }
    const int count = model_->rowCount();
    setWindowTitle(QStringLiteral("Entities - %1 (stage %2), %3 %4")
                       .arg(stage_.files().mapName)
                       .arg(stage_.index())
                       .arg(count)
                       .arg(count == 1 ? QStringLiteral("entity") : QStringLiteral("entities")));
}

// Delete belongs to the table only: the filter box keeps its own.
bool EntitiesWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            removeSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
