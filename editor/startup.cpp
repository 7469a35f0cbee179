#include "frmVorn.h"

#include "codepagesetting.h"
#include "entitymarker.h"
#include "entitytypes.h"
#include "inifile.h"
#include "layoutwidgets.h"
#include "mapview.h"
#include "numtext.h"
#include "recovery.h"
#include "twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>

namespace {

constexpr int kDefaultZoomIndex = 1; // "16"
constexpr int kDefaultStage = 13;

// True when a window at `frame` would show on at least one screen.
bool OnSomeScreen(const QRect& frame)
{
    const auto screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        if (screen->geometry().intersects(frame))
            return true;
    }
    return screens.isEmpty(); // nothing to judge by: trust the stored value
}

} // namespace

void frmVorn::ApplyCodePageSetting()
{
    const QString warning = vorn::UseCodePageSetting(INIRead(QStringLiteral("Main"), QStringLiteral("Code Page")));
    if (!warning.isEmpty())
        ShowMessage(warning);
}

bool frmVorn::Form_Load()
{
    const auto setting = [this](const char* key) {
        return vorn::SettingNumber(INIRead(QStringLiteral("Main"), QString::fromLatin1(key)));
    };

    // 1. Required files, pictures named as the executable names them.
    game_.readPictureExtension();
    const QString missing = vorn::MissingGameFiles(game_.folder);
    if (!missing.isEmpty()) {
        ShowMessage(QStringLiteral("Can't find...\r\n\r\n") + missing, QMessageBox::Warning);
        return false;
    }

    // The code page of the stage table and of settings values that are not
    // UTF-8, before either is read: set by hand, else the user's locale's,
    // which a Japanese table turns to 932 once read (step 8).
    ApplyCodePageSetting();

    // 2. Entity markers 1 on, hidden copies of marker 0.
    for (int i = 1; i < int(entity_.size()); ++i) {
        if (entity_[i])
            continue;
        vorn::EntityMarker* marker = NewMarker(i);
        marker->setGeometry(entity_[0]->geometry());
        marker->hide();
        entity_[i] = marker;
    }

    // 3. Window state; values other than normal, minimized and maximized
    // keep the designed state.
    const qint16 state = setting("State");
    if (state == 1)
        setWindowState(Qt::WindowMinimized);
    else if (state == 2)
        setWindowState(Qt::WindowMaximized);

    // 4. Placement, in twips of the outer frame; only for a normal window.
    if (windowState() == Qt::WindowNoState) {
        const qint16 left = setting("Left");
        const qint16 top = setting("Top");
        const qint16 width = setting("Width");
        const qint16 height = setting("Height");
        QRect frame = frameGeometry();
        if (left != 0)
            frame.moveLeft(vorn::TwipsToPixels(left));
        if (top != 0)
            frame.moveTop(vorn::TwipsToPixels(top));
        if (width != 0)
            frame.setWidth(vorn::TwipsToPixels(width));
        if (height != 0)
            frame.setHeight(vorn::TwipsToPixels(height));
        if ((left != 0 || top != 0) && OnSomeScreen(frame))
            move(frame.topLeft());
        if (width != 0 || height != 0) {
            const QSize border = frameGeometry().size() - size();
            const QSize client = frame.size() - border;
            if (client.width() > 0 && client.height() > 0)
                resize(client);
            restoredOuterSize_ = frame.size();
        }
    }

    // 5. Splitter. A stored position the drag could never have left (one
    // below the window's bottom, say) is brought within the drag's limits,
    // or the splitter would be out of reach for good.
    const qint16 split = setting("Split");
    if (split != 0)
        imgSplitter_->move(imgSplitter_->x(), ClampSplitter(split));
    picSplitter_->move(picSplitter_->x(), imgSplitter_->y());

    // 6. Layout.
    Form_Resize();

    // 7. Zoom. The handler runs here even when the index is already selected.
    qint16 zoom = setting("Zoom");
    if (zoom <= 0 || zoom >= cboZoom_->count())
        zoom = kDefaultZoomIndex;
    {
        const QSignalBlocker block(cboZoom_);
        cboZoom_->setCurrentIndex(zoom);
    }
    cboZoom_Click();

    // The views beyond the design, off unless the user turned them on.
    chkSprites_->setChecked(setting("Show Sprites") != 0);
    chkTileTypes_->setChecked(setting("Show Tile Types") != 0);
    chkPickByClick_->setChecked(setting("Pick By Click") != 0);
    if (const int zoom = INIRead(QStringLiteral("Palette"), QStringLiteral("Zoom")).toInt(); zoom >= 2 && zoom <= 3)
        SetPaletteZoom(zoom);
    if (setting("Show Tile Type Legend") != 0)
        ToggleTileTypeLegend();

    // 8. Stage table, then the code page its titles show, before any text
    // of the game or settings is decoded with it.
    if (const vorn::Outcome read = game_.readTable(); !read.ok()) {
        ShowMessage(read.refusal());
        return false;
    }
    const QString japanese =
        vorn::UseJapaneseForJapaneseTable(INIRead(QStringLiteral("Main"), QStringLiteral("Code Page")), game_.table);

    // 9. Entity names.
    ReadEntityNames();

    // Stage list.
    {
        const QSignalBlocker block(cboMap_);
        cboMap_->clear();
        for (int i = 0; i < game_.stageCount(); ++i)
            cboMap_->addItem(vorn::StageListItemText(i, game_.table[size_t(i)]));
        cboMap_->setCurrentIndex(-1);
    }

    // 10. Last stage.
    qint16 last = setting("Last Stage");
    if (last <= 0 || last >= game_.stageCount())
        last = game_.hasStage(kDefaultStage) ? kDefaultStage : 0;
    {
        const QSignalBlocker block(cboMap_);
        cboMap_->setCurrentIndex(last);
    }
    // Edits a Vorn that ended without saving kept, named before the opening
    // stage offers its own back.
    const QString leftBehind = LeftBehindNotice();
    cboMap_Click();
    // What had to be guessed about the game, once, after the load's texts.
    // A mod's table (its own section, or another file) is named, so the
    // modder knows which one Vorn edits; the freeware place says nothing.
    QStringList said = game_.notes;
    if (!japanese.isEmpty())
        said << japanese;
    const vorn::StageTableSource& table = game_.tableSource;
    if (table.kind != vorn::StageTableKind::Executable || table.ownSection || table.offset != vorn::kStageTableOffset)
        said << QStringLiteral("Stage table: %1.").arg(game_.tableDescription());
    if (!leftBehind.isEmpty())
        said.prepend(leftBehind);
    if (!said.isEmpty())
        lblStatus_->setText(said.join(u' '));
    WatchStageTable();
    return true;
}

// [Entities] names types 0 to 386 for every game; a game folder's own names,
// given in the Entity Types window, come first and may go further.
void frmVorn::ReadEntityNames()
{
    const QStringList names = vorn::EntityTypeNames(settingsToRead(), int(EntityNames_.size()), game_.folder.root());
    for (int n = 0; n < int(EntityNames_.size()); ++n)
        EntityNames_[size_t(n)] = names[n];
}

QString frmVorn::LeftBehindNotice() const
{
    QStringList names;
    for (const vorn::RecoveryStore::Entry& entry : recovery_->store().leftBehindNames(game_.folder.root())) {
        if (entry.kind == vorn::RecoveryStore::Kind::Script) {
            names << entry.name.section(u'\\', -1);
            continue;
        }
        // Named by a stage on that map: the one about to open when it is.
        const auto onMap = [&](int i) {
            return game_.hasStage(i) && vorn::DecodeAnsi(vorn::CutAtNull(game_.table[size_t(i)].map()))
                                                .compare(entry.name, Qt::CaseInsensitive) == 0;
        };
        int stage = onMap(cboMap_->currentIndex()) ? cboMap_->currentIndex() : -1;
        for (int i = 0; stage < 0 && i < game_.stageCount(); ++i)
            if (onMap(i))
                stage = i;
        if (stage < 0) {
            names << entry.name;
            continue;
        }
        const QString title = vorn::DecodeAnsi(vorn::CutAtNull(game_.table[size_t(stage)].title())).trimmed();
        names << (title.isEmpty() ? QStringLiteral("stage %1").arg(stage)
                                  : QStringLiteral("%1 (stage %2)").arg(title).arg(stage));
    }
    if (names.isEmpty())
        return {};
    return QStringLiteral("Unsaved edits from an earlier run: %1.").arg(names.join(QStringLiteral(", ")));
}
