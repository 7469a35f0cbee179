#include "stageswindow.h"

#include "codepage.h"
#include "entityfile.h"
#include "gamestagetable.h"
#include "mapfile.h"
#include "recordtable.h"
#include "safewrite.h"
#include "script.h"
#include "snapshotchange.h"
#include "stagefiles.h"

#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QSpinBox>

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QUndoCommand>
#include <QVBoxLayout>

namespace {

const char* const kFields[] = {"", "title", "map", "tileset", "backdrop-type", "backdrop", "sheet1", "sheet2", "boss"};
const char* const kHeadings[] = {"Number",   "Title",       "Map",         "Tileset", "Backdrop type",
                                 "Backdrop", "NPC sheet 1", "NPC sheet 2", "Boss"};

QString Text(const QByteArray& field) { return vorn::DecodeAnsi(vorn::CutAtNull(field)); }

QString SecondSheet(const vorn::StageRecord& record)
{
    return Text(QByteArray(record.bytes.data() + 132, vorn::kNameSize));
}

// One change of the table: the records before and after, whole.
using TableChange = vorn::SnapshotChange<vorn::StageTable>;

} // namespace

StagesWindow::StagesWindow(vorn::Game& game, StagesWindowHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , game_(game)
    , hooks_(std::move(hooks))
{
    setObjectName(QStringLiteral("frmStages"));
    resize(900, 520);
    filter_ = vorn::NewFilterBox(this, QStringLiteral("Filter by title or map"));
    static_assert(std::size(kHeadings) == ColumnCount);
    table_ = vorn::NewRecordTable(this, QStringLiteral("tblStages"), kHeadings);
    table_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                            QAbstractItemView::SelectedClicked);
    table_->setItemDelegate(new vorn::ChoiceDelegate(
        [this](int column) -> QStringList {
            const QString ext = QStringLiteral(".") + game_.folder.pictureExtension();
            const auto names = [&](const QString& pattern, int prefix) {
                QStringList out;
                for (const QString& file : game_.folder.listPattern(pattern + ext))
                    out << file.mid(prefix, file.size() - prefix - ext.size());
                return out;
            };
            switch (column) {
            case Tileset:
                return names(QStringLiteral("data\\stage\\prt*"), 3);
            case Backdrop:
                return names(QStringLiteral("data\\bk*"), 0);
            case Sheet1:
            case Sheet2:
                return names(QStringLiteral("data\\npc\\npc*"), 3);
            case BackdropType: {
                QStringList types;
                for (int t = 0; t < 8; ++t)
                    types << vorn::BackdropTypeName(t);
                return types;
            }
            case Boss: {
                QStringList bosses;
                for (int b = 0; b < 10; ++b)
                    bosses << vorn::BossName(b);
                return bosses;
            }
            default:
                return {};
            }
        },
        this));

    auto* add = new QPushButton(QStringLiteral("New stage..."), this);
    add->setObjectName(QStringLiteral("cmdNewStage"));
    add->setToolTip(QStringLiteral("Append a new stage with a new map, entity and script file (Ctrl+N)"));
    auto* copy = new QPushButton(QStringLiteral("Copy stage"), this);
    copy->setObjectName(QStringLiteral("cmdCopyStage"));
    copy->setToolTip(
        QStringLiteral("Append a copy of the selected stage, with copies of its files or sharing them (Ctrl+D)"));
    auto* remove = new QPushButton(QStringLiteral("Remove last stage"), this);
    remove->setObjectName(QStringLiteral("cmdRemoveLastStage"));
    remove->setToolTip(QStringLiteral("Remove the last stage from the table (Ctrl+Delete)"));
    auto* resize = new QPushButton(QStringLiteral("Resize..."), this);
    resize->setObjectName(QStringLiteral("cmdResizeMap"));
    resize->setToolTip(QStringLiteral("Resize the open stage's map from any edge (Ctrl+R)"));
    auto* save = new QPushButton(QStringLiteral("Save"), this);
    save->setObjectName(QStringLiteral("cmdSaveStages"));
    save->setToolTip(QStringLiteral("Write the table where the game reads it (Ctrl+S)"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(filter_, 1);
    buttons->addWidget(add);
    buttons->addWidget(copy);
    buttons->addWidget(remove);
    buttons->addWidget(resize);
    buttons->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(table_);

    const auto key = [this](const QKeySequence& keys, const std::function<void()>& action) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    const auto selectedRow = [this] { return table_->currentRow(); };
    connect(add, &QPushButton::clicked, this, [this] { askNewStage(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_N), [this] { askNewStage(); });
    connect(copy, &QPushButton::clicked, this, [this, selectedRow] { askCopyStage(selectedRow()); });
    connect(remove, &QPushButton::clicked, this, [this] { removeLastStage(); });
    connect(save, &QPushButton::clicked, this, [this] { this->save(); });
    const auto resizeMap = [this] {
        if (hooks_.resizeOpenStage)
            hooks_.resizeOpenStage();
    };
    connect(resize, &QPushButton::clicked, this, resizeMap);
    key(QKeySequence(Qt::CTRL | Qt::Key_R), resizeMap);
    key(QKeySequence(Qt::CTRL | Qt::Key_D), [this, selectedRow] { askCopyStage(selectedRow()); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { removeLastStage(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { this->save(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { undo_.undo(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Y), [this] { undo_.redo(); });
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), [this] { undo_.redo(); });

    connect(filter_, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) { itemChanged(item); });
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if ((column == Number || column == Title) && hooks_.openStage)
            hooks_.openStage(row);
    });
    connect(&undo_, &QUndoStack::cleanChanged, this, [this] { updateTitle(); });
    reload();
}

void StagesWindow::reload()
{
    undo_.clear();
    showRecords(game_.table);
    updateTitle();
}

void StagesWindow::updateTitle()
{
    setWindowTitle(
        QStringLiteral("Stages - %1%2").arg(game_.tableDescription(), pending() ? QStringLiteral(" *") : QString()));
}

void StagesWindow::showRecords(const vorn::StageTable& records)
{
    records_ = records;
    filling_ = true;
    table_->setRowCount(int(records_.size()));
    for (int row = 0; row < int(records_.size()); ++row)
        fillRow(row);
    filling_ = false;
    applyFilter();
}

void StagesWindow::fillRow(int row)
{
    const vorn::StageRecord& r = records_[size_t(row)];
    const int boss = quint8(r.bytes[164]);
    const QString ext = QStringLiteral(".") + game_.folder.pictureExtension();
    const struct {
        QString text;
        QString file; // the file the name stands for; empty for none
    } cells[ColumnCount] = {
        {QString::number(row), {}},
        {Text(r.title()), {}},
        {Text(r.map()), QStringLiteral("data\\stage\\") + Text(r.map()) + QStringLiteral(".pxm")},
        {Text(r.tileset()), QStringLiteral("data\\stage\\prt") + Text(r.tileset()) + ext},
        {QStringLiteral("%1 %2").arg(r.parallax()).arg(vorn::BackdropTypeName(r.parallax())), {}},
        {Text(r.backdrop()), QStringLiteral("data\\") + Text(r.backdrop()) + ext},
        {Text(r.spriteSet()), QStringLiteral("data\\npc\\npc") + Text(r.spriteSet()) + ext},
        {SecondSheet(r), SecondSheet(r).isEmpty() || SecondSheet(r) == u"0"
                             ? QString()
                             : QStringLiteral("data\\npc\\npc") + SecondSheet(r) + ext},
        {QStringLiteral("%1 %2").arg(boss).arg(vorn::BossName(boss)), {}},
    };
    for (int column = 0; column < ColumnCount; ++column) {
        auto* item = new QTableWidgetItem(cells[column].text);
        if (column == Number)
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        const bool usedName = column != Sheet1 || cells[column].text != u"0";
        if (!cells[column].file.isEmpty() && usedName && vorn::IsPlainFileName(cells[column].text) &&
            game_.folder.findFile(cells[column].file).isEmpty()) {
            item->setForeground(Qt::red);
            item->setToolTip(QStringLiteral("%1 is missing.").arg(cells[column].file));
        }
        table_->setItem(row, column, item);
    }
}

void StagesWindow::applyFilter()
{
    const QString text = filter_->text().trimmed();
    for (int row = 0; row < table_->rowCount(); ++row) {
        const bool shown = text.isEmpty() || table_->item(row, Title)->text().contains(text, Qt::CaseInsensitive) ||
                           table_->item(row, Map)->text().contains(text, Qt::CaseInsensitive);
        table_->setRowHidden(row, !shown);
    }
}

void StagesWindow::itemChanged(QTableWidgetItem* item)
{
    if (filling_)
        return;
    const int row = item->row();
    const int column = item->column();
    QString text = item->text();
    if (column == BackdropType || column == Boss) { // shown as "4 none": the number counts
        bool number = false;
        text.section(u' ', 0, 0).toInt(&number);
        if (number)
            text = text.section(u' ', 0, 0);
    }
    if (const vorn::Outcome set = setField(row, column, text); !set.ok()) {
        if (hooks_.tell)
            hooks_.tell(set.refusal());
        filling_ = true;
        fillRow(row);
        filling_ = false;
    }
}

vorn::Outcome StagesWindow::setField(int row, int column, const QString& text)
{
    if (row < 0 || row >= int(records_.size()) || column <= Number || column >= ColumnCount)
        return QStringLiteral("There is no such field.");
    vorn::StageTable after = records_;
    if (const vorn::Outcome set = vorn::SetStageField(after[size_t(row)], QString::fromLatin1(kFields[column]), text);
        !set.ok())
        return set;
    if (const vorn::Outcome fits = vorn::CheckRecordFits(game_.tableSource.kind, row, after[size_t(row)]); !fits.ok())
        return fits;
    if (after == records_) {
        filling_ = true;
        fillRow(row); // shown as the record holds it
        filling_ = false;
        return {};
    }
    apply(after, QStringLiteral("Stage %1's %2").arg(row).arg(QString::fromLatin1(kHeadings[column]).toLower()));
    return {};
}

void StagesWindow::apply(const vorn::StageTable& after, const QString& what)
{
    undo_.push(
        new TableChange(records_, after, what, [this](const vorn::StageTable& records) { showRecords(records); }));
}

vorn::Outcome StagesWindow::copyStage(int row, const QString& newMap)
{
    if (row < 0 || row >= int(records_.size()))
        return QStringLiteral("Select the stage to copy.");
    if (records_.size() >= size_t(vorn::kMaxStageCount))
        return QStringLiteral("A stage table holds at most 1,000 stages.");
    vorn::StageRecord copy = records_[size_t(row)];
    const QString from = Text(copy.map());
    if (!newMap.isEmpty() && newMap != from) {
        if (!vorn::IsPlainFileName(newMap) || newMap.startsWith(u'.'))
            return QStringLiteral("The map name \"%1\" is not a plain file name.").arg(newMap);
        for (const char* ext : {".pxm", ".pxe", ".tsc"})
            if (!game_.folder.findEntry(QStringLiteral("data\\stage\\") + newMap + QString::fromLatin1(ext)).isEmpty())
                return QStringLiteral("data\\stage\\%1%2 already exists: give a map name not yet used.")
                    .arg(newMap, QString::fromLatin1(ext));
        for (const vorn::StageRecord& record : records_)
            if (Text(record.map()).compare(newMap, Qt::CaseInsensitive) == 0)
                return QStringLiteral("A stage already uses the map name \"%1\".").arg(newMap);
        if (const vorn::Outcome set = vorn::SetStageField(copy, QStringLiteral("map"), newMap); !set.ok())
            return set;
        copiedMaps_[newMap] = from;
    }
    vorn::StageTable after = records_;
    after.push_back(copy);
    apply(after, QStringLiteral("Copy of stage %1").arg(row));
    table_->setCurrentCell(int(after.size()) - 1, Title);
    return {};
}

void StagesWindow::askCopyStage(int row)
{
    if (row < 0 || row >= int(records_.size()) || !hooks_.input)
        return;
    const QString from = Text(records_[size_t(row)].map());
    const std::optional<QString> name = hooks_.input(
        QStringLiteral("The copy's map name (its files are copied from %1's; keep \"%1\" to share them):").arg(from),
        from);
    if (!name)
        return;
    if (const vorn::Outcome copied = copyStage(row, name->trimmed()); !copied.ok() && hooks_.tell)
        hooks_.tell(copied.refusal());
}

void StagesWindow::removeLastStage()
{
    if (records_.size() <= 1)
        return;
    // The freeware place holds exactly its 95 records.
    const bool fixedPlace = game_.tableSource.kind == vorn::StageTableKind::Executable && !game_.tableSource.ownSection;
    if (fixedPlace && records_.size() <= game_.table.size()) {
        if (hooks_.tell)
            hooks_.tell(
                QStringLiteral("This table has a fixed size; add a stage first to move it to a section of its own."));
        return;
    }
    const QString map = Text(records_.back().map());
    vorn::StageTable after(records_.begin(), records_.end() - 1);
    apply(after, QStringLiteral("Remove stage %1").arg(records_.size() - 1));
    const bool shared = std::any_of(after.begin(), after.end(), [&map](const vorn::StageRecord& r) {
        return Text(r.map()).compare(map, Qt::CaseInsensitive) == 0;
    });
    if (!shared && vorn::IsPlainFileName(map) && !map.isEmpty() && hooks_.ask &&
        hooks_.ask(QStringLiteral("Also move %1's map, entity and script files to backup/ when the table is written?")
                       .arg(map),
                   {QStringLiteral("Keep the files"), QStringLiteral("Move to backup")}) == u"Move to backup")
        retiredMaps_ << map;
}

// Removed stages' files into backup/, once the table no longer names them.
void StagesWindow::retireFiles()
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QDir root(game_.folder.root());
    for (const QString& map : std::as_const(retiredMaps_)) {
        const bool named = std::any_of(records_.begin(), records_.end(), [&map](const vorn::StageRecord& r) {
            return Text(r.map()).compare(map, Qt::CaseInsensitive) == 0;
        });
        if (named || (!root.exists(QStringLiteral("backup")) && !root.mkdir(QStringLiteral("backup"))))
            continue;
        for (const char* ext : {".pxm", ".pxe", ".tsc"}) {
            const QString file =
                game_.folder.findFile(QStringLiteral("data\\stage\\") + map + QString::fromLatin1(ext));
            if (!file.isEmpty())
                QFile::rename(
                    file, root.filePath(QStringLiteral("backup/%1%2.%3").arg(map, QString::fromLatin1(ext), stamp)));
        }
    }
    retiredMaps_.clear();
}

vorn::Outcome StagesWindow::newStage(const NewStage& stage)
{
    if (!vorn::IsPlainFileName(stage.map) || stage.map.isEmpty() || stage.map.startsWith(u'.'))
        return QStringLiteral("The map name \"%1\" is not a plain file name.").arg(stage.map);
    for (const char* ext : {".pxm", ".pxe", ".tsc"})
        if (!game_.folder.findEntry(QStringLiteral("data\\stage\\") + stage.map + QString::fromLatin1(ext)).isEmpty())
            return QStringLiteral("data\\stage\\%1%2 already exists: give a map name not yet used.")
                .arg(stage.map, QString::fromLatin1(ext));
    for (const vorn::StageRecord& record : records_)
        if (Text(record.map()).compare(stage.map, Qt::CaseInsensitive) == 0)
            return QStringLiteral("A stage already uses the map name \"%1\".").arg(stage.map);
    if (stage.width < 1 || stage.width > vorn::kMaxMapSide || stage.height < 1 || stage.height > vorn::kMaxMapSide)
        return QStringLiteral("A map is 1 to %1 cells wide and high.").arg(vorn::kMaxMapSide);
    if (records_.size() >= size_t(vorn::kMaxStageCount))
        return QStringLiteral("A stage table holds at most 1,000 stages.");
    vorn::StageRecord record = vorn::BlankStageRecord();
    for (const auto& [field, value] :
         {std::pair{"map", stage.map}, std::pair{"title", stage.title}, std::pair{"tileset", stage.tileset}})
        if (const vorn::Outcome set = vorn::SetStageField(record, QString::fromLatin1(field), value); !set.ok())
            return set;
    newMaps_[stage.map] = QSize(stage.width, stage.height);
    vorn::StageTable after = records_;
    after.push_back(record);
    apply(after, QStringLiteral("New stage %1").arg(stage.map));
    table_->setCurrentCell(int(after.size()) - 1, Title);
    return {};
}

void StagesWindow::askNewStage()
{
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("New stage"));
    auto* map = new QLineEdit(&dialog);
    auto* title = new QLineEdit(&dialog);
    auto* tileset = new QComboBox(&dialog);
    tileset->setEditable(true);
    const QString ext = QStringLiteral(".") + game_.folder.pictureExtension();
    for (const QString& file : game_.folder.listPattern(QStringLiteral("data\\stage\\prt*") + ext))
        tileset->addItem(file.mid(3, file.size() - 3 - ext.size()));
    const auto side = [&dialog](int value) {
        auto* box = new QSpinBox(&dialog);
        box->setRange(1, vorn::kMaxMapSide);
        box->setValue(value);
        return box;
    };
    QSpinBox* width = side(20);
    QSpinBox* height = side(15);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("Map name"), map);
    form->addRow(QStringLiteral("Title"), title);
    form->addRow(QStringLiteral("Tileset"), tileset);
    form->addRow(QStringLiteral("Width (1 to 513)"), width);
    form->addRow(QStringLiteral("Height (1 to 513)"), height);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    while (dialog.exec() == QDialog::Accepted) {
        const vorn::Outcome made =
            newStage({map->text().trimmed(), title->text(), tileset->currentText(), width->value(), height->value()});
        if (made.ok())
            return;
        if (hooks_.tell)
            hooks_.tell(made.refusal());
    }
}

// The new stages' files, each made whole and atomically; none is ever
// written over an existing file.
vorn::Outcome StagesWindow::makeNewMapFiles(QStringList& made)
{
    const QString stageFolder = game_.folder.findEntry(QStringLiteral("data\\stage"));
    for (const auto& [name, size] : newMaps_) {
        const bool named = std::any_of(records_.begin(), records_.end(), [&name = name](const vorn::StageRecord& r) {
            return Text(r.map()).compare(name, Qt::CaseInsensitive) == 0;
        });
        if (!named || stageFolder.isEmpty())
            continue;
        vorn::MapData map;
        map.width = qint16(size.width());
        map.height = qint16(size.height());
        const QByteArray files[] = {vorn::ComposeMapFile({}, map),
                                    vorn::ComposeEntityFile({}, 0, vorn::EntityRecords{}),
                                    vorn::EncodeScript("#0090\r\n<END\r\n")};
        const char* const exts[] = {".pxm", ".pxe", ".tsc"};
        for (int i = 0; i < 3; ++i) {
            const QString builtName = QStringLiteral("data\\stage\\") + name + QString::fromLatin1(exts[i]);
            if (!game_.folder.findEntry(builtName).isEmpty())
                return QStringLiteral("%1 already exists; nothing was written over it.").arg(builtName);
            const QString path = stageFolder + u'/' + name + QString::fromLatin1(exts[i]);
            if (const vorn::Outcome written = vorn::ReplaceFile(path, builtName, game_.folder.rules(), files[i]);
                !written.ok())
                return written;
            made << path;
        }
    }
    // Copies: the stage's files under the new name, those it has.
    for (const auto& [name, from] : copiedMaps_) {
        const bool named = std::any_of(records_.begin(), records_.end(), [&name = name](const vorn::StageRecord& r) {
            return Text(r.map()).compare(name, Qt::CaseInsensitive) == 0;
        });
        if (!named || stageFolder.isEmpty())
            continue;
        for (const char* ext : {".pxm", ".pxe", ".tsc"}) {
            const QString source =
                game_.folder.findFile(QStringLiteral("data\\stage\\") + from + QString::fromLatin1(ext));
            const QString builtName = QStringLiteral("data\\stage\\") + name + QString::fromLatin1(ext);
            if (source.isEmpty())
                continue;
            if (!game_.folder.findEntry(builtName).isEmpty())
                return QStringLiteral("%1 already exists; nothing was written over it.").arg(builtName);
            QByteArray bytes;
            if (const vorn::Outcome read = vorn::ReadWholeFile(source, builtName, bytes, game_.folder.rules());
                !read.ok())
                return read;
            const QString path = stageFolder + u'/' + name + QString::fromLatin1(ext);
            if (const vorn::Outcome written = vorn::ReplaceFile(path, builtName, game_.folder.rules(), bytes);
                !written.ok())
                return written;
            made << path;
        }
    }
    return {};
}

bool StagesWindow::save()
{
    if (!pending())
        return true;
    // The designed dialog and vorn-tool write the same file; writing over
    // their change unasked would lose it.
    if (game_.tableChangedOutside()) {
        const QString answer = hooks_.ask(
            QString(game_.tableSource.builtName).replace(u'\\', u'/') +
                QStringLiteral(" was changed by another program after Vorn read the stage table. Overwrite it?"),
            {QStringLiteral("Overwrite"), QStringLiteral("Cancel")});
        if (answer != u"Overwrite")
            return false;
    }
    QStringList made;
    vorn::Outcome written = makeNewMapFiles(made);
    if (written.ok())
        written = game_.writeTable(records_);
    if (!written.ok()) {
        for (const QString& path : made) // the table does not name them: nothing half done stays
            QFile::remove(path);
        if (hooks_.tell)
            hooks_.tell(QStringLiteral("The stage table was not written: ") + written.refusal());
        return false;
    }
    newMaps_.clear();
    copiedMaps_.clear();
    retireFiles();
    undo_.setClean();
    updateTitle();
    if (hooks_.written)
        hooks_.written();
    return true;
}

bool StagesWindow::confirmClose()
{
    if (!pending())
        return true;
    const QString answer = hooks_.ask(QStringLiteral("The stage table has changes that are not written. Save them?"),
                                      {QStringLiteral("Save"), QStringLiteral("Discard"), QStringLiteral("Cancel")});
    if (answer == u"Save")
        return save();
    if (answer == u"Discard") {
        reload();
        return true;
    }
    return false;
}

void StagesWindow::closeEvent(QCloseEvent* event)
{
    if (confirmClose())
        event->accept();
    else
        event->ignore();
}
