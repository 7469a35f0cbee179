#pragma once
// The main window: owns all editing state for the life of the process.
// Handlers keep the names of the controls and events they serve
// (cmdLoad_Click, picMap_MouseMove, Form_Resize, ...). Each concern lives in
// its own source file, named in the comments below.
#include "cellsclip.h"
#include "editingstate.h"
#include "entityfile.h"
#include "maptool.h"
#include "game.h"
#include "mapfile.h"
#include "settingslocation.h"
#include "stagedocument.h"
#include "stagetable.h"
#include "tileblock.h"

#include <QImage>
#include <QMessageBox>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QAction;
class GameRun;
class PlayDialog;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTimer;
class QToolButton;
class ScriptWindow;
class StagesWindow;
class EntityTypesWindow;
class EntitiesWindow;
class ScriptWindows;

// A modal question titled "Vorn" over `parent`: the caption of the button chosen.
QString AskInBox(QWidget* parent, const QString& text, const QStringList& buttons, int defaultButton, int escapeButton);
// A modal message titled "Vorn" over `parent`, with an OK button.
void TellInBox(QWidget* parent, const QString& text, QMessageBox::Icon icon);

namespace vorn {
class EntityMarker; // entitymarker.h
struct MarkerHooks;
class FindBar; // findbar.h: the Ctrl+F strip over the map
class MapView; // mapview.h: picMap
class RecoveryKeeper; // recovery.h: the copy of unsaved edits
class ToolBox; // toolbox.h: the map's tools
class ShapeFrame; // shapeframe.h: shpCursor, shpTile
class SplitterHandle; // layout widgets: imgSplitter
class StatusBar; // layout widgets: picStatusbar
class TilesetView; // mapview.h: picTileset
class TileTypeLegend; // tiletypelegend.h
class TypeTable; // typetable.h: the entity types being edited

} // namespace vorn

class frmVorn : public QWidget {
    Q_OBJECT
public:
    // gameDir: the game's folder (the current directory in normal use);
    // settingsDir: the folder that holds "vorn.ini", beside the program
    // unless that cannot be written (settingslocation.h).
    frmVorn(const QString& gameDir, const QString& settingsDir, QWidget* parent = nullptr);
    ~frmVorn() override;

    // ---- start-up (startup.cpp) -------------------------------------------
    // Runs the start-up steps. False when the program must end (missing game
    // files, unreadable stage table); the message has been shown then.
    bool Form_Load();
    // Sets the code page of the game's texts from "Code Page" in "Main", or
    // from the user's locale when that is absent or 0.
    void ApplyCodePageSetting();

    // ---- stage loading (loading.cpp) --------------------------------------
    // Loads the stage selected in cboMap. Validates every file before any of
    // the open stage is replaced; false when the stage was refused (the
    // previous stage stays open and cboMap goes back to it). When the open
    // stage has unsaved edits it asks first; false too when the user keeps
    // them.
    bool cmdLoad_Click();
    void cboMap_Click();

    // ---- saving and shutdown (saving.cpp) ---------------------------------
    // Writes the map file, then the entity file, of the open stage. False
    // (after a message) when a file could not be written, or when the user
    // chose not to overwrite another program's change; nothing when no
    // stage is open.
    bool cmdSave_Click();
    void Form_QueryUnload(); // stores the eight settings
    // Stores the settings as a close does; the reason when one was not
    // stored. A change the user makes is stored kSettingsDelayMs later too.
    QString StoreSettings();
    static constexpr int kSettingsDelayMs = 3000;
    void StoreSettingsSoon();
    // Asks what to do with the open stage's unsaved edits before they would
    // be thrown away: true when the user saved them (and the save went
    // through) or discarded them, false to keep everything as it is. True
    // at once when there is nothing unsaved.
    bool ConfirmLeavingStage();

    // ---- rendering (rendering.cpp) ----------------------------------------
    void DrawTile(int x, int y, quint8 tile);
    void RedrawMap();
    // Builds picMask from the tileset: white where the pixel is exactly the
    // transparent colour, black elsewhere.
    static QImage CreateMaskImage(const QImage& picFrom, QRgb lTransparentColor);
    void cboZoom_Click();
    // Renders `area` (pixels of picMap) into the top-left of `target`
    // (RGB32, at least area's size): what picMap shows there.
    void RenderMap(QImage& target, const QRect& area) const;
    // The open stage's pictures and cells, as the drawing library takes them.
    vorn::MapScene Scene() const;
    // Redraws the cells given as y * kGridSide + x, in any order, as DrawTile
    // would one by one, with the neighbours in a row asked for as one strip.
    void DrawCells(std::span<const quint32> cells);

    // ---- layout (layout.cpp) ----------------------------------------------
    void Form_Resize();
    void imgSplitter_MouseDown(int button, int shift, int x, int y);
    void imgSplitter_MouseMove(int button, int shift, int x, int y); // y in pixels
    void imgSplitter_MouseUp(int button, int shift, int x, int y);
    // The splitter position within the drag's limits: at least 112, at most
    // the client height less 64 (that limit wins in a very short window).
    int ClampSplitter(int p) const;

    // ---- palette and painting (painting.cpp) ------------------------------
    void picTileset_MouseDown(int button, int shift, int x, int y);
    void picTileset_MouseMove(int button, int shift, int x, int y);
    void picTileset_MouseUp(int button, int shift, int x, int y);
    void picMap_MouseDown(int button, int shift, int x, int y);
    void picMap_MouseMove(int button, int shift, int x, int y);
    void picMap_MouseUp(int button, int shift, int x, int y);
    // A left-button move's cell: SelectedTile into the stroke under way.
    void PaintCell(int cx, int cy);
    void hsbMap_Change();
    void vsbMap_Change();
    void vsbTile_Change();

    // ---- tile tools (tools.cpp) --------------------------------------------
    // Checkable buttons right of "About" (keys B, P, F, R); the pencil is
    // the designed painting.
    // In toolbar order, as the tool box lists them (document/tools).
    enum class Tool { Pencil, Rectangle, Fill, Select };
    void SetTool(Tool tool);
    Tool CurrentTool() const;
    // What the tools paint: the palette's tile, or a block taken with
    // Shift+drag on the palette or Shift+right-drag on the map.
    vorn::TileBlock Brush() const;
    // The selected cells (Select, Ctrl+A); fill stays inside them.
    const std::optional<QRect>& Selection() const;
    // The palette's tile, which a one-tile brush paints.
    quint8 SelectedTile() const;
    void SetSelectedTile(quint8 tile);
    vorn::EditingState& Editing() { return *editing_; }
    vorn::ToolBox& Tools() { return *tools_; }
    void SelectAll();
    void CancelToolDrag(); // Escape

    // ---- copy, paste and entity commands (clipboard.cpp) ------------------
    // Ctrl+C copies the selection (false without one); Ctrl+V floats the
    // clipboard's copy under the pointer until a left click places it.
    bool CopySelection();
    void StartPaste();
    void PlacePaste();
    bool Pasting() const;
    // Insert (at `cell`) and Ctrl+D (one cell right of the selected one).
    void InsertEntity(const QPoint& cell, int right);

    // ---- moving around the map (navigation.cpp) --------------------------
    // The wheel over the map, `pos` in picMap's pixels: scrolls down or
    // across (Shift) in scroll bar steps, or with Ctrl steps the zoom list
    // about the pointer.
    void picMap_Wheel(const QPoint& angleDelta, Qt::KeyboardModifiers modifiers, const QPoint& pos);
    void ZoomAbout(int step, const QPoint& pos);
    // A left drag while Space is held pans the map instead of painting.
    bool BeginPan(const QPoint& globalPos);
    bool PanTo(const QPoint& globalPos);
    bool EndPan();
    bool SpaceHeld() const { return spaceHeld_; }

    // ---- entity markers (markers.cpp) -------------------------------------
    void PositionEntities();
    void entity_MouseMove(int index, int button, int shift, int x, int y);
    void entity_MouseDown(int index, int button, int shift, int x, int y);
    void entity_MouseUp(int index, int button, int shift, int x, int y); // ends a drag's step
    void chkHideEnts_Click();
    void cmdChangEntCt_Click();
    // The entity the entity commands act on (Delete, Ctrl+D, Ctrl+X, Ctrl+C
    // without a selection, Insert's template, Ctrl+Shift+E): the one whose
    // marker was last pressed, Ctrl+F found, or just inserted; -1 for none.
    int PickedEntity() const;
    void Pick(int index);
    // A left press on marker `index`: its entity, or on the picked entity's
    // cell the next entity there.
    void PickAt(int index);
    std::vector<int> EntitiesOnCell(QPoint cell) const;
    // "Pick by click" (K): hovering no longer changes the selector.
    bool PickByClick() const;
    QCheckBox* PickByClickBox() const { return chkPickByClick_; }

    // ---- how the stage looks (looks.cpp) -----------------------------------
    // "Sprites" (key S) and "Tile types" (Shift+T), both off until turned on.
    void chkSprites_Click();
    void chkTileTypes_Click();
    bool ShowsSprites() const;
    bool ShowsTileTypes() const;
    // Entity `index` shows its sprite, its marker only an outline of its cell.
    bool DrawsSprite(int index) const;
    // The tooltip of entity `index`: its type and name, place, flag, event
    // and the names of its set bits.
    QString EntityToolTip(int index) const;
    // The status bar's "18 · 0x41 solid" for the cell under the pointer.
    void ShowTileTypeAt(int cx, int cy);
    // Key T: the "Tile Type" dialog for the tile selected in the palette.
    void EditTileType();

    // ---- entity inspector (inspector.cpp) ---------------------------------
    void hsbEntity_Change();
    // The entity the inspector shows; -1 until the user has selected one.
    int SelectedEntity() const;

    // ---- finding entities (findbar.cpp) -----------------------------------
    // Ctrl+F shows findBar. Its Enter selects the next entity after the
    // selected one that matches the bar's boxes, scrolls it into view and
    // shows it in the inspector; the status text says when none matches.
    void FindNextEntity();
    // Moves the scroll bars, only where needed, until entity `index`'s cell
    // lies inside the part of the map that can be seen.
    void ScrollEntityIntoView(int index);

    // ---- dialogs and scripts (dialogcommands.cpp) -------------------------
    void cmdEditEnt_Click();
    void cmdMapProps_Click();
    void cmdAbout_Click();
    void cmdTSCDec_Click();
    void cmdTSCEnc_Click();
    void ConvertSelectedScript(bool decode);

    // ---- scripts (scripts.cpp) --------------------------------------------
    // Ctrl+E and "Edit": the open stage's script in its window. Ctrl+Shift+E:
    // the same at the selected entity's event.
    void cmdEditScript_Click();
    void EditEntityEvent();
    // Entity properties for entity `index`: the designed command opens the
    // selector's entity, a double-click on a marker the picked one.
    void EditEntity(int index);
    ScriptWindows& Scripts() { return *scriptWindows_; }

    // ---- the toolbar's "»" menu (windowsmenu.cpp) -------------------------
    // Adds an entry that runs `action`, shows `key` beside its text, and
    // binds `key` in the window as every other key is bound.
    QAction* AddMenuCommand(const QString& text, const QKeySequence& key, std::function<void()> action);

    // ---- the Stages window (stages.cpp) -----------------------------------
    // Ctrl+T: the stage table as a window of its own; null until opened.
    void OpenStagesWindow();
    StagesWindow* Stages() const { return stagesWindow_; }
    // The stage list after the table was written: new stages, new titles.
    void RefreshStageList();
    // Reads the stage table again when another program wrote it and no
    // change of the Stages window is pending; true when it was read.
    bool ReloadChangedTable();
    // Ctrl+Shift+R: the open stage's map resized from any edge, as one
    // edit in memory. ResizeMap asks first when cells or entities are cut;
    // false when the user kept the map as it was.
    void ResizeOpenStage();
    bool ResizeMap(int width, int height, int anchorX, int anchorY);

    // ---- the tile type legend (looks.cpp) ---------------------------------
    // L: shows or hides the legend of the marks the open stage's tile types
    // show; null until first shown.
    void ToggleTileTypeLegend();
    vorn::TileTypeLegend* TileTypeLegendWindow() const { return legend_; }

    // ---- the palette's zoom (palettezoom.cpp) ------------------------------
    // Ctrl+wheel over the palette: 1, 2 or 3 screen pixels a tileset pixel,
    // stored as Zoom= under [Palette]. Shift+wheel scrolls a zoomed palette
    // across.
    void SetPaletteZoom(int zoom);
    int PaletteZoom() const { return paletteZoom_; }

    // ---- the Entity Types window (types.cpp) ------------------------------
    // Ctrl+Shift+T: npc.tbl as a window of its own; null until opened. Its
    // edits place the map's sprites at once, before they are written.
    void OpenTypesWindow();
    EntityTypesWindow* Types() const { return typesWindow_; }

    // ---- the Entities window (entities.cpp) --------------------------------
    // Ctrl+L: the open stage's entities as a sortable list of their own; a
    // row clicked picks its entity and scrolls the map to it. Null until
    // opened.
    void OpenEntitiesWindow();
    EntitiesWindow* Entities() const { return entitiesWindow_; }

    // ---- play-testing (play.cpp) --------------------------------------------
    // F5 runs the game command in the game folder. Shift+F5 runs it in a
    // copy of the folder holding what the editor holds, saved or not, with
    // a Profile.dat that starts in the open stage at PlayCell. Ctrl+F5 the
    // "Play" dialog that sets the command; true when it was accepted.
    void Play();
    void PlayHere();
    bool PlaySettings();
    // `Command=` under `[Play]`, else "wine {exe}" when wine is on the PATH;
    // empty when neither.
    QString PlayCommand() const;
    // The cell under the pointer when over the map, else the picked
    // entity's, else the centre of what is seen of the map.
    QPoint PlayCell() const;
    GameRun* PlayingGame() const { return gameRun_; }
    // Tests answer the dialog instead of the user: true for OK.
    std::function<bool(PlayDialog& dialog)> playDialogHook;

    // ---- undo history (history.cpp; the steps are the document's) -------
    // Ctrl+Z, and Ctrl+Y or Ctrl+Shift+Z, from anywhere in the window. They
    // do nothing while a modal dialog is up or a load or save is under way.
    void UndoEdit();
    void RedoEdit();
    const vorn::EditHistory& History() const;

    // ---- messages (frmVorn.cpp) -------------------------------------------
    // A modal box titled "Vorn" with an OK button. Tests may set messageHook
    // to receive the text instead.
    void ShowMessage(const QString& text, QMessageBox::Icon icon = QMessageBox::NoIcon);
    // A modal input box titled "Vorn"; nullopt when cancelled. Tests may set
    // inputHook to answer instead.
    std::optional<QString> InputBox(const QString& prompt, const QString& preset);
    std::function<void(const QString& text, QMessageBox::Icon icon)> messageHook;
    std::function<std::optional<QString>(const QString& prompt, const QString& preset)> inputHook;
    // A modal question titled "Vorn" with the buttons given, by caption;
    // returns the caption of the one chosen. `defaultButton` is chosen by
    // Enter; `escapeButton` by Escape or closing the box (-1: neither may
    // end it). Tests may set askHook to answer instead.
    QString Ask(const QString& text, const QStringList& buttons, int defaultButton, int escapeButton);
    std::function<QString(const QString& text, const QStringList& buttons)> askHook;

    // Settings file access: the file "vorn.ini" in the settings folder.
    QString INIRead(const QString& section, const QString& key) const;
    vorn::Outcome INIWrite(const QString& section, const QString& key, const QString& value) const;
    QString settingsPath() const { return settingsPath_; }
    // The default settings installed with the program: read while the
    // settings file does not exist, copied into it before its first write.
    QString settingsSeed;
    QString settingsToRead() const { return vorn::SettingsFileToRead(settingsPath_, settingsSeed); }
    // Set when the game folder was named or chosen at start: close then
    // stores it as "Game Folder", where the folder chooser opens next time.
    bool storeGameFolder = false;
    vorn::Game& game() { return game_; }
    const vorn::Game& game() const { return game_; }
    vorn::StageDocument& stage() { return *stage_; }
    const vorn::StageDocument& stage() const { return *stage_; }
    // Where the copies of unsaved edits go (recovery.h); the user's state
    // folder unless set.
    void SetRecoveryFolder(const QString& folder);

    // Scroll values as the handlers see them: 0 at the left or top end down
    // to a negative maximum at the right or bottom end.
    static int ScrollValue(const QScrollBar* bar);
    static void SetScrollValue(QScrollBar* bar, int value);
    static void SetScrollMax(QScrollBar* bar, int max);
    static int ScrollMax(const QScrollBar* bar);

    // ---- controls (created in frmVorn.cpp, placed in pixels) ---------------
    // Each by its control name; the window owns them.
    QWidget* picToolbar() const { return picToolbar_; }
    QLabel* Label1() const { return Label1_; }
    QComboBox* cboMap() const { return cboMap_; }
    QPushButton* cmdLoad() const { return cmdLoad_; }
    QPushButton* cmdSave() const { return cmdSave_; }
    QPushButton* cmdMapProps() const { return cmdMapProps_; }
    QPushButton* cmdAbout() const { return cmdAbout_; }
    QLabel* imgIcon() const { return imgIcon_; }
    QLabel* lblCaption() const { return lblCaption_; }
    QWidget* picSidebar() const { return picSidebar_; }
    QGroupBox* fraEntity() const { return fraEntity_; }
    QPlainTextEdit* txtEntity() const { return txtEntity_; }
    QScrollBar* hsbEntity() const { return hsbEntity_; }
    QPushButton* cmdEditEnt() const { return cmdEditEnt_; }
    QPushButton* cmdChangEntCt() const { return cmdChangEntCt_; }
    QCheckBox* chkHideEnts() const { return chkHideEnts_; }
    QGroupBox* Frame1() const { return Frame1_; }
    QPushButton* cmdTSCDec() const { return cmdTSCDec_; }
    QPushButton* cmdTSCEnc() const { return cmdTSCEnc_; }
    QLabel* Label2() const { return Label2_; }
    QComboBox* cboZoom() const { return cboZoom_; }
    QCheckBox* chkSprites() const { return chkSprites_; } // below the zoom list: entities as their sprites
    QCheckBox* chkTileTypes() const { return chkTileTypes_; } // beside it: the tiles' types over map and palette
    vorn::StatusBar* picStatusbar() const { return picStatusbar_; }
    QLabel* lblPos() const { return lblPos_; }
    QLabel* lblStatus() const { return lblStatus_; }
    QLabel* lblModified() const { return lblModified_; } // "Modified" while the open stage has unsaved edits
    QLabel* lblTileType() const { return lblTileType_; } // the tile and type under the pointer
    QFrame* picTilePanel() const { return picTilePanel_; }
    vorn::TilesetView* picTileset() const { return picTileset_; }
    QScrollBar* vsbTile() const { return vsbTile_; }
    vorn::ShapeFrame* shpTile() const { return shpTile_; }
    QFrame* picMapPanel() const { return picMapPanel_; }
    vorn::MapView* picMap() const { return picMap_; }
    QScrollBar* hsbMap() const { return hsbMap_; }
    QScrollBar* vsbMap() const { return vsbMap_; }
    QWidget* picCorner() const { return picCorner_; }
    vorn::ShapeFrame* shpCursor() const { return shpCursor_; }
    vorn::FindBar* findBar() const { return findBar_; } // over the map's bottom, hidden until Ctrl+F
    vorn::SplitterHandle* imgSplitter() const { return imgSplitter_; }
    QWidget* picSplitter() const { return picSplitter_; }
    // Marker `index` of the kMaxEntities (entitymarker.h).
    vorn::EntityMarker* entity(int index) const { return entity_[index]; }

    // ---- view state ---------------------------------------------------------
    // The open stage (its map, entities, pictures and history) is stage();
    // the window keeps what is only about showing and editing it.
    std::array<QString, 513>& EntityNames() { return EntityNames_; }
    const std::array<QString, 513>& EntityNames() const { return EntityNames_; }
    quint8 ZoomSize() const { return ZoomSize_; }
    // The splitter's pressed flag: "^_^" pressed, "-_-" released.
    const QString& imgSplitterTag() const { return imgSplitter_Tag_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override; // Space over the map

private:
    void DockStrips();
    void RevertStageSelection();
    // A progress text of a load or save, shown before the work goes on.
    void ShowProgress(const QString& text);
    bool WriteOpenStage(); // the body of cmdSave_Click
    bool ConfirmReload();
    bool ConfirmOverwriteChanged();
    void OfferRecovery();
    // "Unsaved edits from an earlier run: Sand (stage 10), Cave.tsc."; empty
    // when no Vorn left any.
    QString LeftBehindNotice() const;

    // Views following the document (stagedocument.h signals).
    void ConnectStage();
    void StageOpened();
    void StageResized();
    void PlaceMarker(int index);
    void RefreshInspector();
    void PicturesChanged();
    void ShowModified(bool modified);
    void TileTypesChanged();
    void InstallViewKeys();
    // A key of the window, doing nothing while a load, a save or a dialog is
    // under way.
    void BindKey(const QKeySequence& keys, const std::function<void()>& action);
    void InstallNavigationKeys();
    void BuildTools();
    void InstallEditKeys();
    void PlaceTools();
    void UseOneTileBrush();
    void PlaceRegionFrames();
    void ShowPreview();
    QRect previewCells_; // where the tools' preview was last drawn
    vorn::ToolEvent ToolEventAt(int button, int shift, int x, int y) const;
    bool ToolMouseDown(int button, int shift, int x, int y);
    void ToolMouseMove(int button, int shift, int x, int y);
    void ToolMouseUp(int button, int shift, int x, int y);
    bool PaletteBlockDown(int shift, int x, int y);
    bool PaletteBlockMove(int x, int y);
    bool PaletteBlockUp();
    std::unique_ptr<vorn::EditingState> editing_;
    vorn::EntityMarker* NewMarker(int index);
    std::shared_ptr<const vorn::MarkerHooks> markerHooks_;
    QImage PalettePicture() const; // the tileset, its types over it when shown
    QCheckBox* chkPickByClick_ = nullptr;
    static const QString kNothingPicked;
    QString EntityCaption(int index) const;
    void RemovePickedEntity(const QString& verb);
    std::unique_ptr<vorn::ToolBox> tools_;
    std::vector<QToolButton*> toolButtons_;
    vorn::ShapeFrame* shpRegion_ = nullptr; // a rectangle or block being dragged
    vorn::ShapeFrame* shpSelection_ = nullptr; // the selection, dashed
    bool paletteDrag_ = false;
    QPoint paletteStart_, paletteEnd_;
    bool spaceHeld_ = false;
    int wheelRest_ = 0; // wheel turns short of a notch, kept for the next
    void ShowLooksNote(const QString& note);
    void InstallTileTypeLegend();
    void RefreshTileTypeLegend();
    vorn::TileTypeLegend* legend_ = nullptr;
    int paletteZoom_ = 1;
    int paletteAcross_ = 0; // pixels of a zoomed palette scrolled out on the left
    int paletteWheelRest_ = 0;
    void picTileset_Wheel(QPoint angle, Qt::KeyboardModifiers modifiers);
    void SizePalette(); // the tileset at the palette's zoom; the caller lays out and repaints
    void ScrollPaletteAcross(int pixels);
    // The palette's frame around `cells` (in tiles), or moved to `cell`
    // keeping its size, at the palette's zoom.
    void FrameTiles(const QRect& cells);
    void MoveTileFrame(QPoint cell);
    QTimer* legendTimer_ = nullptr; // many cell changes, one refresh
    void ShowLooksNotes();
    void BuildScriptCommands();
    // "Event 0200 is in Cave.tsc." for the entity tooltip; empty for event 0.
    QString EventPresence(int event) const;
    ScriptWindow* OpenStageScript();
    QToolButton* cmdEditScript_ = nullptr;
    void BuildWindowsMenu();
    QToolButton* cmdWindows_ = nullptr;
    QMenu* windowsMenu_ = nullptr;
    StagesWindow* stagesWindow_ = nullptr;
    EntityTypesWindow* typesWindow_ = nullptr;
    EntitiesWindow* entitiesWindow_ = nullptr;
    // Entity `index` picked, scrolled into view and shown in the inspector.
    void GoToEntity(int index);
    GameRun* gameRun_ = nullptr;
    bool StartGame(const QString& folder, const QString& status);
    void GameEnded(int status, qint64 msecs);
    vorn::TypeTable* types_ = nullptr;
    // The open stage's sprites placed by the types being edited, or by the
    // looks the settings give the game's added types.
    void ApplyTypeTable();
    // EntityNames from the settings: the game folder's own names first.
    void ReadEntityNames();
    void WatchStageTable();
    vorn::PictureWatcher* tableWatcher_ = nullptr;
    std::unique_ptr<ScriptWindows> scriptWindows_;

    vorn::Game game_;
    std::unique_ptr<vorn::StageDocument> stage_;
    bool inspectorBuilt_ = false; // the inspector shows nothing until an entity is selected
    std::unique_ptr<vorn::RecoveryKeeper> recovery_;
    QString settingsPath_;
    // The panels' inner areas: the panels' children measure from inside
    // the sunken border.
    QWidget* tilePanelInner_ = nullptr;
    QWidget* mapPanelInner_ = nullptr;
    // A load runs event processing; a stage chosen meanwhile loads after it.
    bool loading_ = false;
    bool reloadPending_ = false;
    // A save runs event processing too; a stage chosen meanwhile waits.
    bool saving_ = false;
    // A close is asking about unsaved edits; none is thrown away before
    // every question has been answered.
    bool closing_ = false;
    // The cell shpCursor marks (the one lblPos names), kept on its cell
    // when the zoom changes.
    QPoint cursorCell_;
    // Outer size restored from the settings, applied again once the window
    // frame is known (before the first show it is not).
    void ApplyRestoredOuterSize(int attempt);
    QSize restoredOuterSize_;

    // Undo history keys (history.cpp). An edit under way becomes a step at
    // its release; any press, undo, redo or new step closes it first, so
    // steps stay in the order the edits were made.
    void InstallHistoryKeys();

    void WatchSettingChanges();
    QTimer* settingsTimer_ = nullptr;
    QString settingsFailure_; // said once in the status bar

    // ---- view state and controls (accessors above) -------------------------
    std::array<QString, 513> EntityNames_;
    quint8 ZoomSize_ = 16;

    // Pressed flags kept as tag texts: "^_^" pressed, "-_-" released.
    QString picTileset_Tag_;
    QString picMap_Tag_;
    QString imgSplitter_Tag_;

    QWidget* picToolbar_ = nullptr;
    QLabel* Label1_ = nullptr;
    QComboBox* cboMap_ = nullptr;
    QPushButton* cmdLoad_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
    QPushButton* cmdMapProps_ = nullptr;
    QPushButton* cmdAbout_ = nullptr;
    QLabel* imgIcon_ = nullptr;
    QLabel* lblCaption_ = nullptr;

    QWidget* picSidebar_ = nullptr;
    QGroupBox* fraEntity_ = nullptr;
    QPlainTextEdit* txtEntity_ = nullptr;
    QScrollBar* hsbEntity_ = nullptr;
    QPushButton* cmdEditEnt_ = nullptr;
    QPushButton* cmdChangEntCt_ = nullptr;
    QCheckBox* chkHideEnts_ = nullptr;
    QGroupBox* Frame1_ = nullptr;
    QPushButton* cmdTSCDec_ = nullptr;
    QPushButton* cmdTSCEnc_ = nullptr;
    QLabel* Label2_ = nullptr;
    QComboBox* cboZoom_ = nullptr;
    QCheckBox* chkSprites_ = nullptr; // below the zoom list: entities as their sprites
    QCheckBox* chkTileTypes_ = nullptr; // beside it: the tiles' types over map and palette

    vorn::StatusBar* picStatusbar_ = nullptr;
    QLabel* lblPos_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QLabel* lblModified_ = nullptr; // "Modified" while the open stage has unsaved edits
    QLabel* lblTileType_ = nullptr; // the tile and type under the pointer

    QFrame* picTilePanel_ = nullptr;
    vorn::TilesetView* picTileset_ = nullptr;
    QScrollBar* vsbTile_ = nullptr;
    vorn::ShapeFrame* shpTile_ = nullptr;

    QFrame* picMapPanel_ = nullptr;
    vorn::MapView* picMap_ = nullptr;
    QScrollBar* hsbMap_ = nullptr;
    QScrollBar* vsbMap_ = nullptr;
    QWidget* picCorner_ = nullptr;
    vorn::ShapeFrame* shpCursor_ = nullptr;
    vorn::FindBar* findBar_ = nullptr; // over the map's bottom, hidden until Ctrl+F

    vorn::SplitterHandle* imgSplitter_ = nullptr;
    QWidget* picSplitter_ = nullptr;

    std::array<vorn::EntityMarker*, vorn::kMaxEntities> entity_{};
};
