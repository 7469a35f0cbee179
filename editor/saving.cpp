#include "frmVorn.h"

#include "layoutwidgets.h"
#include "stagedocument.h"
#include "tiletypelegend.h"
#include "twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTimer>

// Saving the open stage and storing the window's settings at shutdown.

namespace {

const QString kReady = QStringLiteral("Ready...");

} // namespace

bool frmVorn::cmdSave_Click()
{
    if (!stage_->isOpen())
        return true; // nothing is open, so there is nothing to write
    if (saving_)
        return true; // pressed again while saving: the save under way writes the same
    // Another program's change to the stage's files is asked about before
    // anything is written.
    if (!ConfirmOverwriteChanged())
        return false;
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
    const vorn::Outcome saved = stage_->save(game_, [this](const QString& text) { ShowProgress(text); });
    lblStatus_->setText(kReady);
    if (!saved.ok()) {
        ShowMessage(saved.refusal(), QMessageBox::Warning);
        return false;
    }
    return true;
}

// Stored whatever the window state, so a window closed maximized keeps the
// placement it had maximized; start-up then skips it.
void frmVorn::Form_QueryUnload()
{
    settingsTimer_->stop();
    if (const QString failure = StoreSettings(); !failure.isEmpty())
        ShowMessage(QStringLiteral("The window's settings were not stored: ") + failure, QMessageBox::Warning);
}

QString frmVorn::StoreSettings()
{
    const int state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    const QRect frame = frameGeometry();
    const QString main = QStringLiteral("Main");
    // Every value is tried; the user hears once why they were not stored.
    QString failure;
    const auto store = [&](const QString& key, const QString& value) {
        if (const vorn::Outcome written = INIWrite(main, key, value); !written.ok() && failure.isEmpty())
            failure = written.refusal();
    };
    store(QStringLiteral("State"), QString::number(state));
    store(QStringLiteral("Left"), QString::number(vorn::PixelsToTwips(frame.x())));
    store(QStringLiteral("Top"), QString::number(vorn::PixelsToTwips(frame.y())));
    store(QStringLiteral("Width"), QString::number(vorn::PixelsToTwips(frame.width())));
    store(QStringLiteral("Height"), QString::number(vorn::PixelsToTwips(frame.height())));
    store(QStringLiteral("Split"), QString::number(imgSplitter_->y()));
    store(QStringLiteral("Zoom"), QString::number(cboZoom_->currentIndex()));
    store(QStringLiteral("Last Stage"), QString::number(cboMap_->currentIndex()));
    // The views beyond the design are stored once the user turned one on,
    // so a settings file that never had them stays as it was.
    for (const auto& [key, box] : {std::pair{QStringLiteral("Show Sprites"), chkSprites_},
                                   std::pair{QStringLiteral("Show Tile Types"), chkTileTypes_},
                                   std::pair{QStringLiteral("Pick By Click"), chkPickByClick_}}) {
        if (box->isChecked() || !INIRead(main, key).isEmpty())
            store(key, box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    }
    const QString legend = QStringLiteral("Show Tile Type Legend");
    const bool legendShown = legend_ && legend_->isVisible();
    if (legendShown || !INIRead(main, legend).isEmpty())
        store(legend, legendShown ? QStringLiteral("1") : QStringLiteral("0"));
    if (paletteZoom_ != 1 || !INIRead(QStringLiteral("Palette"), QStringLiteral("Zoom")).isEmpty()) {
        if (const vorn::Outcome written =
                INIWrite(QStringLiteral("Palette"), QStringLiteral("Zoom"), QString::number(paletteZoom_));
            !written.ok() && failure.isEmpty())
            failure = written.refusal();
    }
    if (storeGameFolder)
        store(QStringLiteral("Game Folder"), game_.folder.root());
    return failure;
}

// A crash must not lose the view options and the zoom: a change the user
// makes is stored a few seconds later as well as at close.
void frmVorn::WatchSettingChanges()
{
    settingsTimer_ = new QTimer(this);
    settingsTimer_->setSingleShot(true);
    settingsTimer_->setInterval(kSettingsDelayMs);
    connect(settingsTimer_, &QTimer::timeout, this, [this] {
        const QString failure = StoreSettings();
        if (!failure.isEmpty() && failure != settingsFailure_)
            lblStatus_->setText(QStringLiteral("The window's settings were not stored: ") + failure);
        settingsFailure_ = failure;
    });
    const auto soon = [this] { StoreSettingsSoon(); };
    connect(cboZoom_, &QComboBox::activated, this, soon);
    connect(cboMap_, &QComboBox::activated, this, soon);
    for (QCheckBox* box : {chkSprites_, chkTileTypes_, chkPickByClick_, chkHideEnts_})
        connect(box, &QCheckBox::clicked, this, soon);
}

void frmVorn::StoreSettingsSoon()
{
    if (settingsTimer_)
        settingsTimer_->start();
}
