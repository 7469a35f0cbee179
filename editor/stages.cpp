#include "frmVorn.h"

#include "picturewatcher.h"
#include "stagedocument.h"
#include "resizedialog.h"
#include "stageswindow.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

// The Stages window and the stage list that follows what it writes.

void frmVorn::OpenStagesWindow()
{
    if (!stagesWindow_) {
        StagesWindowHooks hooks;
        hooks.ask = [this](const QString& text, const QStringList& buttons) {
            return Ask(text, buttons, 0, int(buttons.size()) - 1);
        };
        hooks.tell = [this](const QString& text) { ShowMessage(text, QMessageBox::Warning); };
        hooks.openStage = [this](int index) {
            if (index >= 0 && index < cboMap_->count())
                cboMap_->setCurrentIndex(index);
        };
        hooks.written = [this] {
            RefreshStageList();
            WatchStageTable();
            lblStatus_->setText(QStringLiteral("Stage table written: %1.").arg(game_.tableDescription()));
        };
        hooks.resizeOpenStage = [this] { ResizeOpenStage(); };
        hooks.input = [this](const QString& prompt, const QString& preset) { return InputBox(prompt, preset); };
        stagesWindow_ = new StagesWindow(game_, hooks, this);
    }
    stagesWindow_->show();
    stagesWindow_->raise();
    stagesWindow_->activateWindow();
}

void frmVorn::RefreshStageList()
{
    const QSignalBlocker noLoad(cboMap_); // a list rebuilt is no new selection
    const int selected = cboMap_->currentIndex();
    while (cboMap_->count() > game_.stageCount())
        cboMap_->removeItem(cboMap_->count() - 1);
    for (int i = 0; i < game_.stageCount(); ++i) {
        const QString text = vorn::StageListItemText(i, game_.table[size_t(i)]);
        if (i < cboMap_->count())
            cboMap_->setItemText(i, text);
        else
            cboMap_->addItem(text);
    }
    cboMap_->setCurrentIndex(selected < cboMap_->count() ? selected : stage_->index());
}

void frmVorn::WatchStageTable()
{
    if (!tableWatcher_) {
        tableWatcher_ = new vorn::PictureWatcher(this);
        connect(tableWatcher_, &vorn::PictureWatcher::changed, this, [this] { ReloadChangedTable(); });
    }
    tableWatcher_->watch(game_.folder, {{game_.tableSource.builtName, game_.tablePath()}});
}

bool frmVorn::ReloadChangedTable()
{
    // Pending changes are the user's: Ctrl+S asks before writing over the
    // other program's.
    if (!game_.tableChangedOutside() || (stagesWindow_ && stagesWindow_->pending()))
        return false;
    if (const vorn::Outcome read = game_.readTable(); !read.ok()) {
        lblStatus_->setText(read.refusal());
        return false;
    }
    RefreshStageList();
    if (stagesWindow_)
        stagesWindow_->reload();
    WatchStageTable();
    lblStatus_->setText(QStringLiteral("The stage table was changed by another program; read it again: %1.")
                            .arg(game_.tableDescription()));
    return true;
}

void frmVorn::ResizeOpenStage()
{
    if (!stage_->isOpen())
        return;
    ResizeDialog dialog(stage_->width(), stage_->height(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ResizeMap(dialog.mapWidth(), dialog.mapHeight(), dialog.anchorX(), dialog.anchorY());
}

bool frmVorn::ResizeMap(int width, int height, int anchorX, int anchorY)
{
    if (!stage_->isOpen())
        return false;
    const vorn::StageDocument::ResizeCut cut = stage_->resizeCut(width, height, anchorX, anchorY);
    if (cut.tiles > 0 || cut.entities > 0) {
        const auto count = [](int n, const char* one, const char* many) {
            return QStringLiteral("%1 %2").arg(n).arg(QString::fromLatin1(n == 1 ? one : many));
        };
        const QString text = QStringLiteral("Resizing cuts %1 and %2.")
                                 .arg(count(cut.tiles, "tile", "tiles"), count(cut.entities, "entity", "entities"));
        if (Ask(text, {QStringLiteral("Resize"), QStringLiteral("Cancel")}, 1, 1) != u"Resize")
            return false;
    }
    stage_->resizeAnchored(width, height, anchorX, anchorY);
    return true;
}
