#include "frmVorn.h"

#include "entitymarker.h"
#include "mapview.h"
#include "picture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QSignalBlocker>
#include <memory>

void frmVorn::cboMap_Click()
{
    if (loading_ || saving_) {
        // Chosen while a load or a save processes events: load it once that
        // one ends, so a save never writes one stage's entities under
        // another stage's name.
        reloadPending_ = true;
        return;
    }
    cmdLoad_Click();
}

void frmVorn::RevertStageSelection()
{
    const QSignalBlocker block(cboMap);
    cboMap->setCurrentIndex(openStage);
}

bool frmVorn::cmdLoad_Click()
{
    if (loading_ || saving_) {
        reloadPending_ = true;
        return false;
    }
    const int stage = cboMap->currentIndex();
    if (stage < 0 || stage >= vorn::kStageCount)
        return false;

    loading_ = true;
    const auto showStatus = [this](const QString& text) {
        lblStatus->setText(text);
        QCoreApplication::processEvents();
    };
    const auto refuse = [&](const QString& message) {
        // Another stage chosen while this one was read is loaded next; only
        // otherwise does the list go back to the open stage.
        const bool chosenMeanwhile = reloadPending_ && cboMap->currentIndex() != stage;
        ShowMessage(message);
        loading_ = false;
        reloadPending_ = false;
        if (chosenMeanwhile) {
            cmdLoad_Click();
            return false;
        }
        RevertStageSelection();
        lblStatus->setText(QStringLiteral("Ready..."));
        return false;
    };

    const vorn::StageRecord& record = StageTable[stage];
    const QString tilesetName = vorn::DecodeAnsi(vorn::CutAtNull(record.tileset()));
    const QString mapName = vorn::DecodeAnsi(vorn::CutAtNull(record.map()));
    const QString backdropName = vorn::DecodeAnsi(vorn::CutAtNull(record.backdrop()));
    // Record names become file names: none may reach outside the game folder.
    if (!vorn::IsPlainFileName(tilesetName))
        return refuse(vorn::PlainNameError(stage, QStringLiteral("tileset"), tilesetName));
    if (!vorn::IsPlainFileName(mapName))
        return refuse(vorn::PlainNameError(stage, QStringLiteral("map"), mapName));
    if (!vorn::IsPlainFileName(backdropName))
        return refuse(vorn::PlainNameError(stage, QStringLiteral("backdrop"), backdropName));

    const QString tilesetFile = QStringLiteral("data\\stage\\prt") + tilesetName + QStringLiteral(".pbm");
    const QString mapFile = QStringLiteral("data\\stage\\") + mapName + QStringLiteral(".pxm");
    const QString backdropFile = QStringLiteral("data\\") + backdropName + QStringLiteral(".pbm");
    const QString entityFile = QStringLiteral("data\\stage\\") + mapName + QStringLiteral(".pxe");

    // Everything is read and checked before any of the open stage changes.
    // Entries are found whatever their kind, so that a pipe or a folder in a
    // game file's place is refused by name rather than taken for a missing
    // file; and no file is ever opened unless it is a regular one.
    const vorn::FileRules rules = game_.rules();
    showStatus(QStringLiteral("Loading tileset ") + tilesetName + QStringLiteral("..."));
    const QSize maxTileset(vorn::kMaxTilesetSide, vorn::kMaxTilesetSide);
    vorn::Picture tileset = vorn::LoadPicture(game_.findEntry(tilesetFile), tilesetFile,
                                              QStringLiteral("a tileset"), maxTileset);
    if (!tileset.error.isEmpty())
        return refuse(tileset.error);

    showStatus(QStringLiteral("Loading stage ") + mapName + QStringLiteral("..."));
    auto map = std::make_unique<vorn::MapData>(); // a missing file is a 0 x 0 map
    if (const QString path = game_.findEntry(mapFile); !path.isEmpty()) {
        const vorn::ReadStatus status = vorn::ReadMapFile(path, mapFile, *map, rules);
        if (!status.ok())
            return refuse(status.error);
    }
    vorn::Picture backdrop = vorn::LoadPicture(game_.findEntry(backdropFile), backdropFile,
                                               QStringLiteral("a backdrop of this stage"),
                                               vorn::MaxBackdropSize(map->width, map->height));
    if (!backdrop.error.isEmpty())
        return refuse(backdrop.error);

    showStatus(QStringLiteral("Loading object data ") + mapName + QStringLiteral("..."));
    qint16 count = 0; // a missing file is no entities
    vorn::EntityRecords records = EntityRecords;
    if (const QString path = game_.findEntry(entityFile); !path.isEmpty()) {
        const vorn::ReadStatus status = vorn::ReadEntityFile(path, entityFile, count, records, rules);
        if (!status.ok())
            return refuse(status.error);
    }

    // Pictures that failed do not stop the stage: it opens with stand-ins so
    // the record can be put right in the stage properties.
    QString unreadable;
    if (tileset.image.isNull()) {
        unreadable += tilesetFile + QStringLiteral("\r\n");
        tileset.image = QImage(256, 256, QImage::Format_RGB32);
        tileset.image.fill(Qt::black);
    }
    if (backdrop.image.isNull())
        unreadable += backdropFile + QStringLiteral("\r\n"); // white, drawn as such
    if (!unreadable.isEmpty()) {
        ShowMessage(QStringLiteral("Can't read these pictures; the stage opens with a black tileset "
                                   "or a white backdrop in their place:\r\n\r\n") +
                        unreadable,
                    QMessageBox::Warning);
    }

    // Commit.
    picTilesetImage = std::move(tileset.image);
    picMask = CreateMaskImage(picTilesetImage, qRgb(0, 0, 0));
    picTileset->resize(picTilesetImage.size());
    picTileset->update();
    TileGrid = std::move(map->grid);
    MapWidth = map->width;
    MapHeight = map->height;
    picTemp = std::move(backdrop.image);
    EntityCount = count;
    EntityRecords = records;
    const bool shown = !chkHideEnts->isChecked();
    for (int i = 0; i < int(count) && i < int(entity.size()); ++i) {
        if (entity[i])
            entity[i]->setVisible(shown);
    }
    openStage = stage;
    openMapName = mapName;
    ClearHistory();

    PositionEntities();
    RedrawMap();
    Form_Resize();
    lblStatus->setText(QStringLiteral("Ready..."));

    loading_ = false;
    if (reloadPending_) {
        reloadPending_ = false;
        if (cboMap->currentIndex() != openStage)
            return cmdLoad_Click();
    }
    return true;
}
