#include "frmVorn.h"

#include "layoutwidgets.h"
#include "twips.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>

// Saving the open stage and storing the window's settings at shutdown.

namespace {

const QString kReady = QStringLiteral("Ready...");

} // namespace

bool frmVorn::cmdSave_Click()
{
    if (openStage < 0)
        return true; // nothing is open, so there is nothing to write
    if (saving_)
        return true; // pressed again while saving: the save under way writes the same
    saving_ = true;
    const bool saved = WriteOpenStage();
    saving_ = false;
    // A stage chosen while the files were written loads now.
    if (reloadPending_ && !loading_) {
        reloadPending_ = false;
        cmdLoad_Click();
    }
    return saved;
}

bool frmVorn::WriteOpenStage()
{
    const QString name = openMapName;

    // The first file that cannot be written stops the save, so a failed map
    // never leaves a fresh entity file beside the old map.
    const auto fail = [this](const QString& reason, const QString& outcome) {
        lblStatus->setText(kReady);
        ShowMessage(reason + QStringLiteral("\n\n") + outcome, QMessageBox::Warning);
        return false;
    };
    // Where the built name lands in the game folder; the reason when it can't.
    const auto target = [this, name](const QString& builtName, QString& path) -> QString {
        if (!vorn::IsPlainFileName(name))
            return vorn::PlainNameError(openStage, QStringLiteral("map"), name);
        if (const QString hidden = vorn::HiddenMapNameError(openStage, name, builtName); !hidden.isEmpty())
            return hidden;
        path = game().pathForWrite(builtName);
        if (path.isEmpty())
            return builtName + QStringLiteral(" could not be written: its folder is missing.");
        return {};
    };

    const QString mapName = QStringLiteral("data\\stage\\") + name + QStringLiteral(".pxm");
    lblStatus->setText(QStringLiteral("Saving stage ") + name + QStringLiteral("..."));
    QCoreApplication::processEvents();
    QString mapPath;
    QString error = target(mapName, mapPath);
    if (error.isEmpty()) {
        vorn::MapData map;
        map.width = MapWidth;
        map.height = MapHeight;
        map.grid = TileGrid;
        error = vorn::WriteMapFile(mapPath, mapName, map, game().rules());
    }
    if (!error.isEmpty())
        return fail(error, QStringLiteral("Nothing of the stage was saved."));

    const QString entityName = QStringLiteral("data\\stage\\") + name + QStringLiteral(".pxe");
    lblStatus->setText(QStringLiteral("Saving object data ") + name + QStringLiteral("..."));
    QCoreApplication::processEvents();
    QString entityPath;
    error = target(entityName, entityPath);
    if (error.isEmpty())
        error = vorn::WriteEntityFile(entityPath, entityName, EntityCount, EntityRecords, game().rules());
    if (!error.isEmpty())
        return fail(error, QStringLiteral("The map was saved; the entities were not."));

    lblStatus->setText(kReady);
    return true;
}

// Stored whatever the window state, so a window closed maximized keeps the
// placement it had maximized; start-up then skips it.
void frmVorn::Form_QueryUnload()
{
    const int state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    const QRect frame = frameGeometry();
    const QString main = QStringLiteral("Main");
    INIWrite(main, QStringLiteral("State"), QString::number(state));
    INIWrite(main, QStringLiteral("Left"), QString::number(vorn::PixelsToTwips(frame.x())));
    INIWrite(main, QStringLiteral("Top"), QString::number(vorn::PixelsToTwips(frame.y())));
    INIWrite(main, QStringLiteral("Width"), QString::number(vorn::PixelsToTwips(frame.width())));
    INIWrite(main, QStringLiteral("Height"), QString::number(vorn::PixelsToTwips(frame.height())));
    INIWrite(main, QStringLiteral("Split"), QString::number(imgSplitter->y()));
    INIWrite(main, QStringLiteral("Zoom"), QString::number(cboZoom->currentIndex()));
    INIWrite(main, QStringLiteral("Last Stage"), QString::number(cboMap->currentIndex()));
    if (storeGameFolder)
        INIWrite(main, QStringLiteral("Game Folder"), game_.root());
}
