#pragma once
// The "Stages" window: every record of the stage table the game reads, one
// row each, edited in place with its own undo, written with Ctrl+S.
#include "game.h"

#include <QUndoStack>
#include <QWidget>

#include <QSize>

#include <functional>
#include <map>
#include <optional>

class QLineEdit;
class QTableWidget;
class QTableWidgetItem;
class QPushButton;

struct StagesWindowHooks {
    // Asks with the buttons given and returns the one chosen (the main
    // window's way, so tests answer it the same way).
    std::function<QString(const QString& text, const QStringList& buttons)> ask;
    std::function<void(const QString& text)> tell;
    // Opens stage `index` in the main window (which asks about its edits).
    std::function<void(int index)> openStage;
    // The table was written: the main window's list follows it.
    std::function<void()> written;
    // "Resize…": the open stage's map, from any edge.
    std::function<void()> resizeOpenStage;
    // A line of text asked for; nullopt when cancelled.
    std::function<std::optional<QString>(const QString& prompt, const QString& preset)> input;
};

class StagesWindow : public QWidget {
    Q_OBJECT
public:
    StagesWindow(vorn::Game& game, StagesWindowHooks hooks, QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }
    QLineEdit* filter() const { return filter_; }
    const vorn::StageTable& records() const { return records_; }
    bool pending() const { return !undo_.isClean(); }
    QUndoStack& undoStack() { return undo_; }

    // Shows the table as the game now holds it, throwing away nothing:
    // called when nothing is pending.
    void reload();
    // Sets field `column` of row `row` from text; refused with the reason.
    vorn::Outcome setField(int row, int column, const QString& text);
    // Ctrl+N: a new stage, its map, entity and script files made when the
    // table is written. Refused, with the reason, for a map name that is
    // not plain or already used, or a size outside 1 to 513.
    struct NewStage {
        QString map, title, tileset;
        int width = 0, height = 0;
    };
    vorn::Outcome newStage(const NewStage& stage);
    // Asks for the new stage's values, then newStage.
    void askNewStage();
    // Appends a copy of stage `row`: under `newMap`, whose map, entity and
    // script files are copied from the stage's when the table is written,
    // or sharing its files when `newMap` is empty or the same name.
    vorn::Outcome copyStage(int row, const QString& newMap = {});
    // Ctrl+D: asks for the copy's map name, then copyStage.
    void askCopyStage(int row);
    // Removes the last record, asking whether its files go to backup/ when
    // the table is written (never files another record still names).
    void removeLastStage();
    // Ctrl+S: writes the table where the game reads it.
    bool save();
    // Before the window or the program closes: Save, Discard or Cancel.
    bool confirmClose();

    enum Column { Number, Title, Map, Tileset, BackdropType, Backdrop, Sheet1, Sheet2, Boss, ColumnCount };

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void apply(const vorn::StageTable& after, const QString& what);
    void showRecords(const vorn::StageTable& records);
    void fillRow(int row);
    void applyFilter();
    void updateTitle();
    void itemChanged(QTableWidgetItem* item);

    vorn::Game& game_;
    StagesWindowHooks hooks_;
    vorn::StageTable records_;
    QUndoStack undo_;
    QTableWidget* table_ = nullptr;
    QLineEdit* filter_ = nullptr;
    bool filling_ = false;
    // The sizes of the maps new stages ask for, made at the next write while
    // a record still names them.
    std::map<QString, QSize> newMaps_;
    // Copies' map names and the map whose files they copy.
    std::map<QString, QString> copiedMaps_;
    // Removed stages' map names whose files go to backup/ at the write.
    QStringList retiredMaps_;
    void retireFiles();
    vorn::Outcome makeNewMapFiles(QStringList& made);
};
