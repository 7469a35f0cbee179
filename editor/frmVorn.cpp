#include "frmVorn.h"
#include "toolbox.h"

#include "stageswindow.h"
#include "typeswindow.h"
#include "entitieswindow.h"

#include "scriptwindows.h"

#include "dialogwidgets.h"
#include "entitymarker.h"
#include "findbar.h"
#include "inifile.h"
#include "layoutwidgets.h"
#include "mapview.h"
#include "programicon.h"
#include "recovery.h"
#include "settingslocation.h"
#include "shapeframe.h"
#include "stagedocument.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>

namespace vorn {

int ButtonState(Qt::MouseButtons buttons)
{
    int state = 0;
    if (buttons & Qt::LeftButton)
        state |= 1;
    if (buttons & Qt::RightButton)
        state |= 2;
    if (buttons & Qt::MiddleButton)
        state |= 4;
    return state;
}

} // namespace vorn

namespace {

// A plain strip in a system colour.
QWidget* Surface(QWidget* parent, QPalette::ColorRole role)
{
    auto* w = new QWidget(parent);
    w->setAutoFillBackground(true);
    w->setBackgroundRole(role);
    return w;
}

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* b = Named(new QPushButton(caption, parent), name);
    b->setGeometry(geometry);
    return b;
}

// Scroll bars of the layout: steps of 1 both by arrow and by trough, and no
// value change until the thumb is released.
QScrollBar* LayoutScrollBar(Qt::Orientation orientation, QWidget* parent, const char* name)
{
    auto* bar = Named(new QScrollBar(orientation, parent), name);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setTracking(false);
    frmVorn::SetScrollMax(bar, 1);
    return bar;
}

// Shrinks a control's font in quarter points until `text` fits in `room`
// pixels. Where the design's fonts are missing, the platform's sans-serif is
// often wider, and a caption cut short reads wrong; placement stays as
// designed.
void FitFont(QWidget* control, const QString& text, int room)
{
    QFont font = control->font();
    const auto needed = [&font, &text] {
        const QFontMetrics metrics(font);
        return std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).right() + 1);
    };
    while (needed() > room && font.pointSizeF() > 6.0)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    control->setFont(font);
}

// The room a push button's style leaves for its caption.
int CaptionRoom(const QPushButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    // Half the style's margin on either side keeps the caption off the edge.
    return contents.width() - button->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
}

// The program's 16 x 16 picture: a tile square with a painted cell.
QPixmap IconPicture() { return QPixmap::fromImage(vorn::ProgramIcon(16)); }

} // namespace

frmVorn::frmVorn(const QString& gameDir, const QString& settingsDir, QWidget* parent)
    : QWidget(parent)
    , game_(gameDir)
    , stage_(std::make_unique<vorn::StageDocument>())
    , recovery_(
          std::make_unique<vorn::RecoveryKeeper>(*stage_, vorn::RecoveryStore(vorn::RecoveryStore::DefaultFolder())))
    , settingsPath_(vorn::SettingsFilePath(settingsDir))
{
    editing_ = std::make_unique<vorn::EditingState>();
    recovery_->setLocator([this](const QString& builtName) { return game_.folder.findEntry(builtName); });
    setObjectName(QStringLiteral("frmVorn"));
    setWindowTitle(QStringLiteral("Vorn"));
    setWindowIcon(QIcon(IconPicture()));
    setFont(vorn::DesignFont(QStringLiteral("Tahoma"), 8.25));

    // Toolbar strip.
    picToolbar_ = Named(Surface(this, QPalette::Button), "picToolbar");
    Label1_ = Named(new QLabel(QStringLiteral("&Stage:"), picToolbar_), "Label1");
    Label1_->setGeometry(4, 4, 41, 17);
    cboMap_ = Named(new QComboBox(picToolbar_), "cboMap");
    cboMap_->setEditable(false);
    cboMap_->setGeometry(48, 2, 185, 21);
    vorn::UseListPopup(cboMap_);
    Label1_->setBuddy(cboMap_);
    cmdLoad_ = Button(picToolbar_, "cmdLoad", QStringLiteral("Load"), {240, 2, 57, 21});
    cmdSave_ = Button(picToolbar_, "cmdSave", QStringLiteral("Save"), {304, 2, 57, 21});
    cmdMapProps_ = Button(picToolbar_, "cmdMapProps", QStringLiteral("Properties"), {368, 2, 65, 21});
    cmdAbout_ = Button(picToolbar_, "cmdAbout", QStringLiteral("About"), {440, 2, 57, 21});
    imgIcon_ = Named(new QLabel(picToolbar_), "imgIcon");
    imgIcon_->setPixmap(IconPicture());
    imgIcon_->resize(16, 16);
    lblCaption_ = Named(new QLabel(QStringLiteral("VORN"), picToolbar_), "lblCaption");
    lblCaption_->setFont(vorn::DesignFont(QStringLiteral("Verdana"), 12, true, true));
    lblCaption_->resize(49, 20);

    // Sidebar strip.
    picSidebar_ = Named(Surface(this, QPalette::Button), "picSidebar");
    fraEntity_ = Named(new QGroupBox(picSidebar_), "fraEntity");
    fraEntity_->setGeometry(8, 2, 153, 241);
    txtEntity_ = Named(new QPlainTextEdit(fraEntity_), "txtEntity");
    txtEntity_->setReadOnly(true);
    // Tab stops every eight average characters, as a plain Windows text box
    // has them; Qt's default of 80 pixels would break every field line.
    txtEntity_->setTabStopDistance(QFontMetricsF(txtEntity_->font()).averageCharWidth() * 8);
    // Seven lines fill the box; a scroll bar would only narrow them into wrapping.
    txtEntity_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtEntity_->setGeometry(8, 16, 137, 105);
    hsbEntity_ = Named(new QScrollBar(Qt::Horizontal, fraEntity_), "hsbEntity");
    hsbEntity_->setGeometry(8, 128, 137, 17);
    hsbEntity_->setRange(0, 255);
    hsbEntity_->setSingleStep(1);
    hsbEntity_->setPageStep(1);
    hsbEntity_->setTracking(false);
    cmdEditEnt_ = Button(fraEntity_, "cmdEditEnt", QStringLiteral("Entity properties"), {8, 152, 137, 25});
    cmdChangEntCt_ =
        Button(fraEntity_, "cmdChangEntCt", QStringLiteral("Change number of entities"), {8, 184, 137, 25});
    chkHideEnts_ = Named(new QCheckBox(QStringLiteral("Hide entities"), fraEntity_), "chkHideEnts");
    chkHideEnts_->setGeometry(8, 216, 137, 17);
    Frame1_ = Named(new QGroupBox(QStringLiteral("TSC script"), picSidebar_), "Frame1");
    Frame1_->setGeometry(8, 250, 153, 49);
    cmdTSCDec_ = Button(Frame1_, "cmdTSCDec", QStringLiteral("Decode"), {8, 16, 65, 25});
    cmdTSCEnc_ = Button(Frame1_, "cmdTSCEnc", QStringLiteral("Encode"), {80, 16, 65, 25});
    Label2_ = Named(new QLabel(QStringLiteral("Zoom"), picSidebar_), "Label2");
    Label2_->setGeometry(8, 306, 65, 17);
    cboZoom_ = Named(new QComboBox(picSidebar_), "cboZoom");
    cboZoom_->setEditable(false);
    cboZoom_->setGeometry(80, 306, 81, 21);
    cboZoom_->addItems({QStringLiteral("8"), QStringLiteral("16"), QStringLiteral("24"), QStringLiteral("32"),
                        QStringLiteral("56"), QStringLiteral("64")});
    cboZoom_->setCurrentIndex(1); // matches ZoomSize 16 until start-up selects
    vorn::UseListPopup(cboZoom_);
    // Below the zoom list, where the design leaves room; both start off.
    chkSprites_ = Named(new QCheckBox(QStringLiteral("Sprites"), picSidebar_), "chkSprites");
    chkSprites_->setGeometry(8, 332, 65, 17);
    chkSprites_->setToolTip(QStringLiteral("Draw each entity as the game shows it (S)"));
    chkTileTypes_ = Named(new QCheckBox(QStringLiteral("Tile types"), picSidebar_), "chkTileTypes");
    chkTileTypes_->setGeometry(80, 332, 81, 17);
    chkTileTypes_->setToolTip(
        QStringLiteral("Show what each tile does: solid, spikes, water, slopes, wind... (Shift+T)"));
    chkPickByClick_ = Named(new QCheckBox(QStringLiteral("Pick by click"), picSidebar_), "chkPickByClick");
    chkPickByClick_->setGeometry(8, 352, 153, 17);
    chkPickByClick_->setToolTip(QStringLiteral("The inspector and the entity commands stay on the entity you "
                                               "clicked; pointing at others no longer changes it (K)"));

    // Status bar strip.
    picStatusbar_ = Named(new vorn::StatusBar(this), "picStatusbar");
    const QFont statusFont = vorn::DesignFont(QStringLiteral("Tahoma"), 9.75, true);
    lblPos_ = Named(new QLabel(QStringLiteral("0x0"), picStatusbar_), "lblPos");
    lblPos_->setGeometry(16, 3, 57, 17);
    lblPos_->setFont(statusFont);
    lblStatus_ = Named(new QLabel(QStringLiteral("Ready..."), picStatusbar_), "lblStatus");
    lblStatus_->setGeometry(88, 3, 297, 17);
    lblStatus_->setFont(statusFont);
    picStatusbar_->setFramedLabel(lblPos_);
    // Beside the designed status text, in the room the design leaves.
    lblModified_ = Named(new QLabel(picStatusbar_), "lblModified");
    lblModified_->setGeometry(392, 3, 73, 17);
    lblModified_->setFont(statusFont);
    lblTileType_ = Named(new QLabel(picStatusbar_), "lblTileType");
    lblTileType_->setGeometry(472, 3, 297, 17);
    lblTileType_->setFont(statusFont);
    lblTileType_->setToolTip(QStringLiteral("The tile under the pointer and its type; T sets the type of the "
                                            "tile selected in the palette"));

    // Panels: a sunken 2-pixel border around an inner area that clips the
    // surface and holds the scroll bars.
    auto makePanel = [this](const char* name, QWidget*& inner) {
        auto* panel = Named(new QFrame(this), name);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setLineWidth(2);
        inner = new QWidget(panel);
        inner->setObjectName(QString::fromLatin1(name) + QStringLiteral("Inner"));
        inner->setAutoFillBackground(true);
        QPalette pal = inner->palette();
        pal.setColor(QPalette::Window, pal.color(QPalette::Mid)); // application workspace
        inner->setPalette(pal);
        inner->move(2, 2);
        return panel;
    };

    picTilePanel_ = makePanel("picTilePanel", tilePanelInner_);
    picTileset_ = Named(new vorn::TilesetView([this] { return PalettePicture(); }, tilePanelInner_), "picTileset");
    picTileset_->setGeometry(0, 0, 0, 0);
    vsbTile_ = LayoutScrollBar(Qt::Vertical, tilePanelInner_, "vsbTile");
    vsbTile_->setGeometry(256, 0, 17, 17);
    shpTile_ = Named(new vorn::ShapeFrame(picTileset_), "shpTile");
    shpTile_->setGeometry(0, 0, 17, 17);

    picMapPanel_ = makePanel("picMapPanel", mapPanelInner_);
    picMap_ =
        Named(new vorn::MapView([this](QImage& target, const QRect& area) { RenderMap(target, area); }, mapPanelInner_),
              "picMap");
    picMap_->setGeometry(0, 0, 0, 0);
    hsbMap_ = LayoutScrollBar(Qt::Horizontal, mapPanelInner_, "hsbMap");
    hsbMap_->resize(17, 17);
    vsbMap_ = LayoutScrollBar(Qt::Vertical, mapPanelInner_, "vsbMap");
    vsbMap_->resize(17, 17);
    picCorner_ = Named(Surface(mapPanelInner_, QPalette::Button), "picCorner");
    picCorner_->resize(17, 17);
    picCorner_->hide();
    // Over the map's bottom edge, in its own strip; Form_Resize places it.
    findBar_ = new vorn::FindBar(mapPanelInner_);
    shpCursor_ = Named(new vorn::ShapeFrame(picMap_), "shpCursor");
    shpCursor_->setGeometry(0, 0, ZoomSize_, ZoomSize_);
    entity_[0] = NewMarker(0);
    entity_[0]->setGeometry(-32, -32, 16, 16);

    // Splitter: the hit area stays put during a drag while the visible bar
    // follows the pointer.
    imgSplitter_ = Named(new vorn::SplitterHandle(this, this), "imgSplitter");
    imgSplitter_->setGeometry(0, 136, 570, 6);
    picSplitter_ = Named(Surface(this, QPalette::Dark), "picSplitter"); // button shadow
    picSplitter_->setGeometry(0, 136, 570, 6);
    picSplitter_->hide();

    imgSplitter_Tag_ = picTileset_Tag_ = picMap_Tag_ = QString();

    // Wiring.
    connect(cmdLoad_, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(cmdSave_, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdMapProps_, &QPushButton::clicked, this, [this] { cmdMapProps_Click(); });
    connect(cmdAbout_, &QPushButton::clicked, this, [this] { cmdAbout_Click(); });
    connect(cmdEditEnt_, &QPushButton::clicked, this, [this] { cmdEditEnt_Click(); });
    connect(cmdChangEntCt_, &QPushButton::clicked, this, [this] { cmdChangEntCt_Click(); });
    connect(cmdTSCDec_, &QPushButton::clicked, this, [this] { cmdTSCDec_Click(); });
    connect(cmdTSCEnc_, &QPushButton::clicked, this, [this] { cmdTSCEnc_Click(); });
    connect(chkHideEnts_, &QCheckBox::clicked, this, [this] { chkHideEnts_Click(); });
    connect(chkSprites_, &QCheckBox::clicked, this, [this] { chkSprites_Click(); });
    connect(chkTileTypes_, &QCheckBox::clicked, this, [this] { chkTileTypes_Click(); });
    connect(picMap_, &vorn::MapView::pressed, this, [this](int button, int shift, int x, int y, QPoint global) {
        if (button == 1 && BeginPan(global))
            return;
        picMap_MouseDown(button, shift, x, y);
    });
    connect(picMap_, &vorn::MapView::moved, this, [this](int buttons, int shift, int x, int y, QPoint global) {
        if (PanTo(global))
            return;
        picMap_MouseMove(buttons, shift, x, y);
    });
    connect(picMap_, &vorn::MapView::released, this, [this](int button, int shift, int x, int y, QPoint) {
        if (EndPan())
            return;
        picMap_MouseUp(button, shift, x, y);
    });
    connect(picMap_, &vorn::MapView::wheeled, this,
            [this](QPoint angle, Qt::KeyboardModifiers modifiers, QPoint pos) { picMap_Wheel(angle, modifiers, pos); });
    connect(picTileset_, &vorn::TilesetView::pressed, this, &frmVorn::picTileset_MouseDown);
    connect(picTileset_, &vorn::TilesetView::moved, this, &frmVorn::picTileset_MouseMove);
    connect(picTileset_, &vorn::TilesetView::released, this, &frmVorn::picTileset_MouseUp);
    connect(picTileset_, &vorn::TilesetView::wheeled, this, &frmVorn::picTileset_Wheel);
    connect(hsbMap_, &QScrollBar::valueChanged, this, [this] { hsbMap_Change(); });
    connect(vsbMap_, &QScrollBar::valueChanged, this, [this] { vsbMap_Change(); });
    connect(vsbTile_, &QScrollBar::valueChanged, this, [this] { vsbTile_Change(); });
    // The outline's second colour follows the picked entity (Pick), not the selector.
    connect(hsbEntity_, &QScrollBar::valueChanged, this, [this] { hsbEntity_Change(); });
    // A change of selection runs the handler whether the user or the
    // program made it; a revert is made with the signals blocked.
    connect(cboMap_, &QComboBox::currentIndexChanged, this, [this] { cboMap_Click(); });
    connect(cboZoom_, &QComboBox::currentIndexChanged, this, [this] { cboZoom_Click(); });
    InstallHistoryKeys();
    InstallViewKeys();
    InstallNavigationKeys();
    BindKey(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { findBar_->open(); });
    connect(findBar_, &vorn::FindBar::shownOrHidden, this, [this] { Form_Resize(); });
    connect(findBar_, &vorn::FindBar::findNext, this, [this] { FindNextEntity(); });
    BuildTools();
    BuildScriptCommands();
    BuildWindowsMenu();
    WatchSettingChanges();
    AddMenuCommand(QStringLiteral("Stages"), QKeySequence(Qt::CTRL | Qt::Key_T), [this] { OpenStagesWindow(); });
    AddMenuCommand(QStringLiteral("Resize map..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
                   [this] { ResizeOpenStage(); });
    AddMenuCommand(QStringLiteral("Entity Types"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
                   [this] { OpenTypesWindow(); });
    AddMenuCommand(QStringLiteral("Entities"), QKeySequence(Qt::CTRL | Qt::Key_L), [this] { OpenEntitiesWindow(); });
    AddMenuCommand(QStringLiteral("Play"), QKeySequence(Qt::Key_F5), [this] { Play(); });
    AddMenuCommand(QStringLiteral("Play here"), QKeySequence(Qt::SHIFT | Qt::Key_F5), [this] { PlayHere(); });
    AddMenuCommand(QStringLiteral("Play settings..."), QKeySequence(Qt::CTRL | Qt::Key_F5),
                   [this] { (void)PlaySettings(); });
    InstallTileTypeLegend();
    InstallEditKeys();
    ConnectStage();

    for (QPushButton* button : findChildren<QPushButton*>())
        FitFont(button, button->text(), CaptionRoom(button));
    FitFont(lblCaption_, lblCaption_->text(), lblCaption_->width());
    FitFont(lblPos_, QStringLiteral("512x512"), lblPos_->width()); // the largest cell

    resize(739, 418);
    DockStrips();
    Form_Resize();
}

frmVorn::~frmVorn()
{
    scriptWindows_.reset(); // its windows read the game and the stage
    delete entitiesWindow_; // before the stage and names it shows
    entitiesWindow_ = nullptr;
    delete typesWindow_; // before the table it shows
    typesWindow_ = nullptr;
}

// The three strips as the window system docks them: toolbar on top,
// status bar at the bottom, sidebar on the right between them.
void frmVorn::DockStrips()
{
    const int w = width();
    const int h = height();
    picToolbar_->setGeometry(0, 0, w, 25);
    picStatusbar_->setGeometry(0, std::max(0, h - 21), w, 21);
    picSidebar_->setGeometry(std::max(0, w - 169), 25, 169, std::max(0, h - 25 - 21));
}

void frmVorn::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    DockStrips();
    Form_Resize();
    if (event->spontaneous() && isVisible())
        StoreSettingsSoon(); // the user resized the window
}

void frmVorn::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (event->spontaneous() && isVisible())
        StoreSettingsSoon();
}

void frmVorn::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    ApplyRestoredOuterSize(0);
}

// "Width" and "Height" are the outer frame, so the frame has to be taken off
// the stored size. A window manager may frame the window only some time after
// it is shown; until then the frame reads as nothing, and taking the stored
// size as the client size would grow the window by its frame at every run.
void frmVorn::ApplyRestoredOuterSize(int attempt)
{
    if (!restoredOuterSize_.isValid())
        return;
    if (windowState() != Qt::WindowNoState) {
        restoredOuterSize_ = QSize();
        return;
    }
    const QSize frame = frameGeometry().size() - geometry().size();
    constexpr int kAttempts = 20; // 50 ms apart: a second for the window manager
    if (frame.isNull() && attempt < kAttempts) {
        QTimer::singleShot(50, this, [this, attempt] { ApplyRestoredOuterSize(attempt + 1); });
        return;
    }
    const QSize client = restoredOuterSize_ - frame;
    restoredOuterSize_ = QSize();
    if (client.width() > 0 && client.height() > 0)
        resize(client);
}

// Unsaved edits are asked about first; the settings are only stored by a
// close that goes through.
void frmVorn::closeEvent(QCloseEvent* event)
{
    closing_ = true;
    const bool confirmed = ConfirmLeavingStage() && scriptWindows_->closeAll() &&
                           (!stagesWindow_ || stagesWindow_->confirmClose()) &&
                           (!typesWindow_ || typesWindow_->confirmClose());
    closing_ = false;
    if (!confirmed) {
        event->ignore();
        return;
    }
    recovery_->discard(); // a clean close leaves nothing to recover
    Form_QueryUnload();
    event->accept();
}

void frmVorn::ShowMessage(const QString& text, QMessageBox::Icon icon)
{
    if (messageHook) {
        messageHook(text, icon);
        return;
    }
    TellInBox(this, text, icon);
}

void TellInBox(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, QStringLiteral("Vorn"), text, QMessageBox::Ok, parent);
    box.exec();
}

QString AskInBox(QWidget* parent, const QString& text, const QStringList& buttons, int defaultButton, int escapeButton)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Vorn"), text, QMessageBox::NoButton, parent);
    std::vector<QAbstractButton*> made;
    for (int i = 0; i < buttons.size(); ++i) {
        // Roles only place the buttons; which one Escape takes is set below.
        const auto role = i == escapeButton ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
        made.push_back(box.addButton(buttons[i], role));
    }
    if (defaultButton >= 0 && defaultButton < buttons.size())
        box.setDefaultButton(static_cast<QPushButton*>(made[size_t(defaultButton)]));
    if (escapeButton >= 0 && escapeButton < buttons.size())
        box.setEscapeButton(made[size_t(escapeButton)]);
    // Without an escape button, Escape and the frame's close do nothing: the
    // box waits for one of its buttons.
    while (true) {
        box.exec();
        for (size_t i = 0; i < made.size(); ++i) {
            if (box.clickedButton() == made[i])
                return buttons[qsizetype(i)];
        }
    }
}

QString frmVorn::Ask(const QString& text, const QStringList& buttons, int defaultButton, int escapeButton)
{
    if (askHook)
        return askHook(text, buttons);
    return AskInBox(this, text, buttons, defaultButton, escapeButton);
}

std::optional<QString> frmVorn::InputBox(const QString& prompt, const QString& preset)
{
    if (inputHook)
        return inputHook(prompt, preset);
    bool ok = false;
    const QString answer = QInputDialog::getText(this, QStringLiteral("Vorn"), prompt, QLineEdit::Normal, preset, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

QString frmVorn::INIRead(const QString& section, const QString& key) const
{
    return vorn::INIRead(settingsToRead(), section, key);
}

vorn::Outcome frmVorn::INIWrite(const QString& section, const QString& key, const QString& value) const
{
    if (const vorn::Outcome prepared = vorn::PrepareSettingsFile(settingsPath_, settingsSeed); !prepared.ok())
        return prepared;
    return vorn::INIWrite(settingsPath_, section, key, value);
}

// Qt scroll bars need minimum <= maximum, while the handlers count from 0
// at the left/top end down to a negative maximum. The bar holds the negated
// value: thumb right or down still means a larger negative offset.
int frmVorn::ScrollValue(const QScrollBar* bar) { return -bar->value(); }

void frmVorn::SetScrollValue(QScrollBar* bar, int value) { bar->setValue(-value); }

void frmVorn::SetScrollMax(QScrollBar* bar, int max)
{
    // Qt moves a value outside the new range to its nearest end and reports
    // the change, so the surface follows.
    bar->setRange(std::min(0, -max), std::max(0, -max));
}

int frmVorn::ScrollMax(const QScrollBar* bar) { return bar->minimum() < 0 ? -bar->minimum() : -bar->maximum(); }
