// Play-testing: the game started from the editor, in the game folder or in
// a copy of it that starts in the open stage.
#include "frmVorn.h"
#include "gamerun.h"
#include "mapview.h"
#include "npctable.h"
#include "playdialog.h"
#include "playplace.h"
#include "script.h"
#include "scripttext.h"
#include "scriptwindows.h"
#include "stageswindow.h"
#include "typetable.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QScrollBar>
#include <QStandardPaths>
#include <algorithm>

namespace {

const QString kStillRunning = QStringLiteral("The game is still running.");
// A game that fails this soon most likely never started: its output says why.
constexpr qint64 kEarlyExitMs = 5000;
constexpr int kShownLines = 20;

bool WineFound() { return !QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty(); }

} // namespace

QString frmVorn::PlayCommand() const
{
    const QString set = INIRead(QStringLiteral("Play"), QStringLiteral("Command"));
    if (!set.isEmpty())
        return set;
    return WineFound() ? QStringLiteral("wine {exe}") : QString();
}

bool frmVorn::PlaySettings()
{
    PlayDialog dialog(PlayCommand(), WineFound(), this);
    const bool accepted = playDialogHook ? playDialogHook(dialog) : dialog.exec() == QDialog::Accepted;
    if (!accepted)
        return false;
    if (const vorn::Outcome written = INIWrite(QStringLiteral("Play"), QStringLiteral("Command"), dialog.command());
        !written.ok()) {
        ShowMessage(written.refusal(), QMessageBox::Warning);
        return false;
    }
    return true;
}

bool frmVorn::StartGame(const QString& folder, const QString& status)
{
    const vorn::PlayPaths paths = vorn::PlayPathsIn(folder);
    const QString command = vorn::ExpandPlayCommand(PlayCommand(), paths.folder, paths.exe, paths.data);
    if (!gameRun_) {
        gameRun_ = new GameRun(this);
        connect(gameRun_, &GameRun::finished, this, &frmVorn::GameEnded);
    }
    if (const vorn::Outcome started = gameRun_->start(command, folder); !started.ok()) {
        ShowMessage(started.refusal(), QMessageBox::Warning);
        return false;
    }
    lblStatus_->setText(status);
    return true;
}

void frmVorn::GameEnded(int status, qint64 msecs)
{
    if (status == 0 || msecs >= kEarlyExitMs) {
        lblStatus_->setText(QStringLiteral("The game ended (exit status %1).").arg(status));
        return;
    }
    QStringList lines = QString::fromLocal8Bit(gameRun_->output()).remove(u'\r').split(u'\n');
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const QStringList last = lines.mid(std::max<qsizetype>(0, lines.size() - kShownLines));
    QString text = QStringLiteral("The game ended at once with exit status %1.").arg(status);
    text += last.isEmpty() ? QStringLiteral(" It wrote nothing.")
                           : QStringLiteral(" The last lines it wrote:\r\n\r\n") + last.join(QStringLiteral("\r\n"));
    ShowMessage(text, QMessageBox::Warning);
}

void frmVorn::Play()
{
    if (gameRun_ && gameRun_->running()) {
        lblStatus_->setText(kStillRunning);
        return;
    }
    if (PlayCommand().isEmpty() && (!PlaySettings() || PlayCommand().isEmpty()))
        return;
    (void)StartGame(game_.folder.root(), QStringLiteral("Playing the game in its folder."));
}

QPoint frmVorn::PlayCell() const
{
    if (picMap_->underMouse())
        return cursorCell_;
    if (const int picked = PickedEntity(); picked >= 0) {
        const vorn::EntityRecord& r = stage_->record(picked);
        return QPoint(r.X, r.Y);
    }
    const int zoom = ZoomSize_;
    const int seenW = mapPanelInner_->width() - (vsbMap_->isHidden() ? 0 : vsbMap_->width());
    const int seenH = mapPanelInner_->height() - (hsbMap_->isHidden() ? 0 : hsbMap_->height());
    const int x = (-picMap_->x() + seenW / 2) / zoom;
    const int y = (-picMap_->y() + seenH / 2) / zoom;
    return QPoint(std::clamp(x, 0, std::max(0, stage_->width() - 1)),
                  std::clamp(y, 0, std::max(0, stage_->height() - 1)));
}

void frmVorn::PlayHere()
{
    if (gameRun_ && gameRun_->running()) {
        lblStatus_->setText(kStillRunning);
        return;
    }
    if (!stage_->isOpen()) {
        lblStatus_->setText(QStringLiteral("Open a stage to play it."));
        return;
    }
    if (PlayCommand().isEmpty() && (!PlaySettings() || PlayCommand().isEmpty()))
        return;
    stage_->finishEdit();
    const QPoint cell = PlayCell();
    const int number = stage_->index();
    if (cell.x() < 0 || cell.y() < 0 || cell.x() >= stage_->width() || cell.y() >= stage_->height()) {
        ShowMessage(QStringLiteral("Cannot play stage %1 at (%2, %3): the cell lies outside its map of %4 x %5 cells.")
                        .arg(number)
                        .arg(cell.x())
                        .arg(cell.y())
                        .arg(stage_->width())
                        .arg(stage_->height()),
                    QMessageBox::Warning);
        return;
    }

    // What the editor holds, saved or not, goes over the copies.
    const vorn::StageFiles& files = stage_->files();
    std::vector<vorn::PlayOverlay> overlays{{files.map, stage_->mapFileBytes()},
                                            {files.entities, stage_->entityFileBytes()}};
    if (const QByteArray types = stage_->unsavedTileTypeBytes(); !types.isEmpty())
        overlays.push_back({files.tileTypes, types});
    if (ScriptWindow* window = scriptWindows_->find(files.script); window && window->script().isModified()) {
        const vorn::ScriptBytes bytes = vorn::ScriptBytesOf(window->script().text()->toRawText());
        if (bytes.unencodableAt >= 0) {
            ShowMessage(QStringLiteral("Cannot play stage %1: its script %2 holds a character the game's code page "
                                       "cannot store.")
                            .arg(number)
                            .arg(files.script),
                        QMessageBox::Warning);
            return;
        }
        overlays.push_back({files.script, vorn::EncodeScript(bytes.bytes)});
    }
    if (types_ && types_->pending())
        overlays.push_back({vorn::NpcTableName(), vorn::ComposeNpcTable(types_->types())});

    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString playRoot;
    const vorn::Outcome prepared = vorn::PreparePlayFolder(game_, {number, cell.x(), cell.y()}, overlays, playRoot);
    vorn::Outcome done = prepared;
    if (done.ok() && stagesWindow_ && stagesWindow_->pending()) {
        // The Stages window's records, written where the copy's game reads them.
        vorn::Game copy(playRoot);
        done = copy.readTable();
        if (done.ok())
            done = copy.writeTable(stagesWindow_->records());
        // Its backup of the copy's old table is of no use to anyone.
        QDir(playRoot + QStringLiteral("/backup")).removeRecursively();
    }
    QApplication::restoreOverrideCursor();
    if (!done.ok()) {
        ShowMessage(QStringLiteral("Cannot play stage %1: %2").arg(number).arg(done.refusal()), QMessageBox::Warning);
        return;
    }
    (void)StartGame(playRoot, QStringLiteral("Playing stage %1 at (%2, %3): choose Load in the game.")
                                  .arg(number)
                                  .arg(cell.x())
                                  .arg(cell.y()));
}
