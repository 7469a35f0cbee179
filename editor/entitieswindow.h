#pragma once
// The "Entities" window: the open stage's entities as a table, one row
// each, sorted by any column and filtered. A row clicked picks its entity
// in the main window; Delete takes the selected ones out as one step. The
// table follows every edit, undo and load of the stage.
#include "spritedrawing.h"

#include <QAbstractTableModel>
#include <QWidget>

#include <array>
#include <functional>
#include <map>
#include <vector>

class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

namespace vorn {
class StageDocument;
}

struct EntitiesWindowHooks {
    // Entity `index` picked: the main window outlines it and scrolls to it.
    std::function<void(int index)> pick;
    // Delete: the entities named (ascending) taken out as one step.
    std::function<void(const std::vector<int>& indices)> remove;
    std::function<void()> undo, redo;
};

// The stage's entities as rows; each column's number (or text, for the
// bits) under SortRole, so numbers sort as numbers.
class EntityListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Index, X, Y, Type, Flag, Event, Bits, ColumnCount };
    static constexpr int SortRole = Qt::UserRole;
    static constexpr int kIconSide = 24;

    EntityListModel(const vorn::StageDocument& stage, const std::array<QString, 513>& names, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Every row anew: the count or many records changed.
    void rebuild();
    // Names or sprites changed: the type column drawn anew.
    void relook();
    void recordChanged(int row);
    QString typeName(int type) const;

private:
    const vorn::StageDocument& stage_;
    const std::array<QString, 513>& names_;
    int rows_ = 0;
    mutable std::map<int, QVariant> icons_; // by type, made when first shown
};

class EntitiesWindow : public QWidget {
    Q_OBJECT
public:
    EntitiesWindow(const vorn::StageDocument& stage, const std::array<QString, 513>& names, EntitiesWindowHooks hooks,
                   QWidget* parent = nullptr);
    ~EntitiesWindow() override;

    QTableView* table() const { return table_; }
    QLineEdit* filter() const { return filter_; }
    EntityListModel* model() const { return model_; }
    QSortFilterProxyModel* rows() const { return rows_; }

    // The entity row `row` of the table shows as sorted and filtered; -1 for none.
    int entityAt(int row) const;
    // The row entity `index` shows in; -1 when filtered out or absent.
    int rowOf(int index) const;
    // The entities of the selected rows, ascending.
    std::vector<int> selectedEntities() const;
    // The rows of `indices` selected, the first made current; no pick.
    void selectEntities(const std::vector<int>& indices);
    // Delete: the selected entities taken out.
    void removeSelected();
    // The main window picked `index`: its row selected unless it already is.
    void showPicked(int index);
    // The names or the sprites changed.
    void relook();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(); // the count or many records changed
    void updateTitle();

    const vorn::StageDocument& stage_;
    EntitiesWindowHooks hooks_;
    EntityListModel* model_ = nullptr;
    QSortFilterProxyModel* rows_ = nullptr;
    QTableView* table_ = nullptr;
    QLineEdit* filter_ = nullptr;
    bool following_ = false; // selection set by the window itself: no pick
    int shownStage_ = -1;
};
