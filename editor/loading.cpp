#include "frmVorn.h"

#include "entitymarker.h"
#include "mapview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QSignalBlocker>
#include <memory>

namespace {

// A bitmap recognised by its content: the game's ".pbm" files are Windows
// bitmaps, which Qt would take for Netpbm by their name. Null when the file
// is missing, undecodable, or has no width or height.
QImage LoadPicture(const QString& path)
{
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    QImage image = QImage::fromData(bytes, "BMP");
    if (image.isNull())
        image = QImage::fromData(bytes); // any other format Qt tells by content
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

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
    showStatus(QStringLiteral("Loading tileset ") + tilesetName + QStringLiteral("..."));
    QImage tileset = LoadPicture(game_.findFile(tilesetFile));

    showStatus(QStringLiteral("Loading stage ") + mapName + QStringLiteral("..."));
    auto map = std::make_unique<vorn::MapData>(); // a missing file is a 0 x 0 map
    if (const QString path = game_.findFile(mapFile); !path.isEmpty()) {
        const vorn::ReadStatus status = vorn::ReadMapFile(path, mapFile, *map);
        if (!status.ok())
            return refuse(status.error);
    }
    QImage backdrop = LoadPicture(game_.findFile(backdropFile));

    showStatus(QStringLiteral("Loading object data ") + mapName + QStringLiteral("..."));
    qint16 count = 0; // a missing file is no entities
    vorn::EntityRecords records = EntityRecords;
    if (const QString path = game_.findFile(entityFile); !path.isEmpty()) {
        const vorn::ReadStatus status = vorn::ReadEntityFile(path, entityFile, count, records);
        if (!status.ok())
            return refuse(status.error);
    }

    // Pictures that failed do not stop the stage: it opens with stand-ins so
    // the record can be put right in the stage properties.
    QString unreadable;
    if (tileset.isNull()) {
        unreadable += tilesetFile + QStringLiteral("\r\n");
        tileset = QImage(256, 256, QImage::Format_RGB32);
        tileset.fill(Qt::black);
    }
    if (backdrop.isNull())
        unreadable += backdropFile + QStringLiteral("\r\n"); // white, drawn as such
    if (!unreadable.isEmpty()) {
        ShowMessage(QStringLiteral("Can't read these pictures; the stage opens with a black tileset "
                                   "or a white backdrop in their place:\r\n\r\n") +
                        unreadable,
                    QMessageBox::Warning);
    }

    // Commit.
    picTilesetImage = std::move(tileset);
    picMask = CreateMaskImage(picTilesetImage, qRgb(0, 0, 0));
    picTileset->resize(picTilesetImage.size());
    picTileset->update();
    TileGrid = std::move(map->grid);
    MapWidth = map->width;
    MapHeight = map->height;
    picTemp = std::move(backdrop);
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
