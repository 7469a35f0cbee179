// Speed and memory of the main window on the sample game's 513 x 513 stage
// with 256 entities, on the offscreen platform, with the straightforward
// whole-map drawing measured beside it for comparison, and the cost of the
// undo history.
#include "edithistory.h"
#include "unrecordededits.h"
#include "frmVorn.h"
#include "stagedocument.h"
#include "inifile.h"
#include "mapview.h"
#include "samplegame.h"
#include "spritedrawing.h"
#include "threecopyreference.h"
#include "script.h"
#include "scriptedit.h"
#include "scriptwindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <benchmark/benchmark.h>
#include <functional>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

frmVorn* window = nullptr;
QString gameRoot; // the sample game the window has open
std::map<std::string, double> meanMs; // per benchmark, for the closing summary

const QRect kView(2000, 3000, 1600, 900); // well inside the map at 16 and 64

double PeakResidentMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

void SetZoom(const char* text) { window->cboZoom()->setCurrentIndex(window->cboZoom()->findText(text)); }

// Runs `body` per iteration and keeps the mean for the summary.
template <typename Body> void Timed(benchmark::State& state, const std::string& name, Body body)
{
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        body();
    const std::chrono::duration<double, std::milli> total = std::chrono::steady_clock::now() - start;
    if (state.iterations() > 0)
        meanMs[name] = total.count() / double(state.iterations());
}

// A new history for the next figure: the stage read again, its edits dropped.
void ReloadStage()
{
    window->askHook = [](const QString&, const QStringList&) { return QStringLiteral("Discard"); };
    window->cmdLoad_Click();
}

void BM_LoadStage(benchmark::State& state)
{
    Timed(state, "load", [] { benchmark::DoNotOptimize(window->cmdLoad_Click()); });
}

void BM_PaintView(benchmark::State& state, const char* zoom)
{
    SetZoom(zoom);
    QImage target(kView.size(), QImage::Format_RGB32);
    Timed(state, std::string("paint") + zoom, [&] {
        window->RenderMap(target, kView);
        benchmark::DoNotOptimize(target.constBits());
    });
}

void ShowLooks(bool on)
{
    window->chkSprites()->setChecked(on);
    window->chkTileTypes()->setChecked(on);
}

// The view painted with `show(true)` against a plain paint (`show(false)`)
// timed just before it, so that their ratio holds while other programs load
// the machine; kept under `name` + zoom and `name`Plain + zoom.
void TimeAgainstPlain(benchmark::State& state, const char* zoom, const std::string& name,
                      const std::function<void(bool)>& show)
{
    SetZoom(zoom);
    QImage target(kView.size(), QImage::Format_RGB32);
    using Clock = std::chrono::steady_clock;
    std::chrono::duration<double, std::milli> plain{}, shown{};
    for (auto _ : state) {
        show(false);
        auto start = Clock::now();
        window->RenderMap(target, kView);
        plain += Clock::now() - start;
        show(true);
        start = Clock::now();
        window->RenderMap(target, kView);
        const std::chrono::duration<double> one = Clock::now() - start;
        shown += one;
        benchmark::DoNotOptimize(target.constBits());
        state.SetIterationTime(one.count());
    }
    show(false);
    if (state.iterations() > 0) {
        meanMs[name + zoom] = shown.count() / double(state.iterations());
        meanMs[name + "Plain" + zoom] = plain.count() / double(state.iterations());
        state.counters["plain_ms"] = meanMs[name + "Plain" + zoom];
    }
}

// The same paint with "Sprites" and "Tile types" checked: the marks over
// every typed cell, then each entity's sprite.
void BM_PaintViewLooks(benchmark::State& state, const char* zoom) { TimeAgainstPlain(state, zoom, "looks", ShowLooks); }

// The same paint with "Sprites" alone: the tiles in the game's order around
// each entity's first frame, against a plain paint timed alongside.
void BM_PaintViewSprites(benchmark::State& state, const char* zoom)
{
    TimeAgainstPlain(state, zoom, "sprites", [](bool on) { window->chkSprites()->setChecked(on); });
}

// What `kView` holds at `zoom`: cells with a type other than 0, of all its
// cells, and entities drawn as sprites (their zoomed box meets the view).
struct ViewContents {
    int typed = 0, cells = 0, sprites = 0;
};
ViewContents ContentsOf(int zoom)
{
    const vorn::StageDocument& stage = window->stage();
    ViewContents contents;
    for (int y = kView.top() / zoom; y <= kView.bottom() / zoom; ++y)
        for (int x = kView.left() / zoom; x <= kView.right() / zoom; ++x) {
            ++contents.cells;
            contents.typed += stage.tileType(stage.cell(x, y)) != 0;
        }
    for (int i = 0; i < stage.entityCount(); ++i) {
        const auto sprite = vorn::PlaceSprite(stage.records()[size_t(i)], stage.sheets(), stage.npcTable(),
                                              vorn::SpriteMoment::FirstFrame);
        if (!sprite)
            continue;
        const QRect box(sprite->topLeft * zoom / 16, sprite->frame.size() * zoom / 16);
        contents.sprites += box.intersects(kView);
    }
    return contents;
}

// The floor a paint is held against: the same number of pixels copied from
// one image to another.
void BM_CopyView(benchmark::State& state)
{
    QImage from(kView.size(), QImage::Format_RGB32);
    QImage to(kView.size(), QImage::Format_RGB32);
    from.fill(0xFF336699u);
    to.fill(0xFF000000u); // its pages mapped before the first timed copy
    const uchar* source = from.constBits();
    uchar* target = to.bits();
    const size_t bytes = size_t(from.sizeInBytes());
    Timed(state, "copy", [&] {
        std::memcpy(target, source, bytes);
        benchmark::DoNotOptimize(target);
        benchmark::ClobberMemory();
    });
}

// The same view through the widget's own paint, markers included.
void BM_PaintWidget(benchmark::State& state)
{
    SetZoom("16");
    QImage target(kView.size(), QImage::Format_RGB32);
    Timed(state, "widget16", [&] {
        window->picMap()->render(&target, QPoint(), QRegion(kView));
        benchmark::DoNotOptimize(target.constBits());
    });
}

// A zoom change as the user sees it: the handler, then the view's paint.
void BM_ZoomChange(benchmark::State& state)
{
    SetZoom("16");
    QImage target(kView.size(), QImage::Format_RGB32);
    bool wide = false;
    Timed(state, "zoom", [&] {
        wide = !wide;
        SetZoom(wide ? "32" : "16");
        window->RenderMap(target, kView);
        benchmark::DoNotOptimize(target.constBits());
    });
}

void BM_OneCell(benchmark::State& state)
{
    SetZoom("16");
    QImage target(16, 16, QImage::Format_RGB32);
    int n = 0;
    Timed(state, "cell", [&] {
        const int x = 100 + (n & 63), y = 200;
        const quint8 tile = quint8(n++ & 0xFF);
        vorn::UnrecordedEdits::setCell(window->stage(), x, y, tile); // its signal asks for the cell's redraw
        window->RenderMap(target, QRect(x * 16, y * 16, 16, 16));
        benchmark::DoNotOptimize(target.constBits());
    });
}

void BM_PeakMemoryZoom64(benchmark::State& state)
{
    SetZoom("64");
    QImage target(kView.size(), QImage::Format_RGB32);
    for (auto _ : state)
        window->RenderMap(target, kView);
    const double peak = PeakResidentMB();
    state.counters["VmHWM_MB"] = peak;
    meanMs["peakMB"] = peak;
}

// For comparison: the whole map at 16 pixels a cell, three copies per cell
// (backdrop, AND mask, OR tileset), from a map-sized backdrop surface.
void BM_StraightforwardWholeMap(benchmark::State& state)
{
    Timed(state, "straight", [] { benchmark::DoNotOptimize(ThreeCopyReference(*window).constBits()); });
    state.counters["VmHWM_MB"] = PeakResidentMB();
}

// The same cell written the way a left-button move writes it, with the
// undo history noting every change (each write here changes the tile).
void BM_OneCellRecorded(benchmark::State& state)
{
    SetZoom("16");
    ReloadStage();
    QImage target(16, 16, QImage::Format_RGB32);
    int n = 0;
    Timed(state, "cellRecorded", [&] {
        const int x = 100 + (n & 63), y = 200;
        window->SetSelectedTile(quint8(n++ & 0xFF));
        window->PaintCell(x, y);
        window->RenderMap(target, QRect(x * 16, y * 16, 16, 16));
        benchmark::DoNotOptimize(target.constBits());
    });
    ReloadStage();
}

// One stroke that changes every cell of the map, undone and redone from
// the keyboard's handlers in a large shown window; each figure includes the
// repaint of the map the step asks for.
void BM_UndoRedoWholeMap(benchmark::State& state)
{
    SetZoom("16");
    window->resize(1920, 1080);
    window->show();
    QCoreApplication::processEvents();
    ReloadStage();
    for (int y = 0; y < window->stage().height(); ++y) {
        for (int x = 0; x < window->stage().width(); ++x) {
            window->SetSelectedTile(quint8(window->stage().cell(x, y) + 1));
            window->PaintCell(x, y);
        }
    }
    window->picMap_MouseUp(1, 0, 0, 0); // the stroke becomes one step
    QCoreApplication::processEvents();
    meanMs["strokeMB"] = double(window->History().Bytes()) / (1024.0 * 1024.0);
    meanMs["strokeSteps"] = window->History().Stack().count();

    using Clock = std::chrono::steady_clock;
    std::chrono::duration<double, std::milli> undo{}, redo{};
    for (auto _ : state) {
        auto start = Clock::now();
        window->UndoEdit();
        window->picMap()->repaint(); // the platform would paint at its next frame
        undo += Clock::now() - start;
        start = Clock::now();
        window->RedoEdit();
        window->picMap()->repaint();
        redo += Clock::now() - start;
    }
    if (state.iterations() > 0) {
        meanMs["undo"] = undo.count() / double(state.iterations());
        meanMs["redo"] = redo.count() / double(state.iterations());
        state.counters["undo_ms"] = meanMs["undo"];
        state.counters["redo_ms"] = meanMs["redo"];
    }
    ReloadStage();
}

// Region edits of the document in the same shown window, each followed by
// its undo: a fill over all 513 x 513 cells (made one region first), a
// rectangle over them all, and a 100 x 100 block pasted in sight. Each
// figure but the edit's own includes the repaint the step asks for.
void BM_RegionEdit(benchmark::State& state, const char* kind)
{
    SetZoom("16");
    window->resize(1920, 1080);
    window->show();
    QCoreApplication::processEvents();
    ReloadStage();
    vorn::StageDocument& stage = window->stage();
    const QRect whole(0, 0, stage.width(), stage.height());
    const vorn::TileBlock checks{2, 2, {1, 2, 3, 4}};
    const std::string name(kind);
    if (name == "fill")
        stage.paintRegion(whole, vorn::TileBlock::One(0));
    const vorn::TileBlock block = stage.copyBlock(QRect(200, 200, 100, 100));
    const auto edit = [&] {
        if (name == "fill")
            stage.fill(256, 256, checks);
        else if (name == "rect")
            stage.paintRegion(whole, checks);
        else if (!stage.pasteBlock(QPoint(10, 10), block, {}).ok())
            std::abort();
    };
    QCoreApplication::processEvents();

    using Clock = std::chrono::steady_clock;
    std::chrono::duration<double, std::milli> alone{}, shown{}, undo{};
    for (auto _ : state) {
        auto start = Clock::now();
        edit();
        const auto edited = Clock::now();
        window->picMap()->repaint();
        alone += edited - start;
        shown += Clock::now() - start;
        start = Clock::now();
        window->UndoEdit();
        window->picMap()->repaint();
        undo += Clock::now() - start;
    }
    if (state.iterations() > 0) {
        const double n = double(state.iterations());
        meanMs[name + "Edit"] = alone.count() / n;
        meanMs[name + "Shown"] = shown.count() / n;
        meanMs[name + "Undo"] = undo.count() / n;
        state.counters["edit_ms"] = meanMs[name + "Edit"];
        state.counters["undo_ms"] = meanMs[name + "Undo"];
    }
    ReloadStage();
}

// The same three through the document alone, no window listening: a load
// of the largest stage, a cell of a stroke, and the undo and redo of a
// stroke over every cell.
struct OpenDocument {
    OpenDocument()
        : game(gameRoot)
    {
        if (!game.readTable().ok() || !stage.load(game, vorn::kSampleHugeStage).ok())
            std::abort();
    }
    vorn::Game game;
    vorn::StageDocument stage;
};

void BM_DocumentLoad(benchmark::State& state)
{
    OpenDocument open;
    Timed(state, "docLoad", [&] { benchmark::DoNotOptimize(open.stage.load(open.game, vorn::kSampleHugeStage)); });
}

void BM_DocumentPaintCell(benchmark::State& state)
{
    OpenDocument open;
    int n = 0;
    Timed(state, "docCell", [&] {
        const int x = 100 + (n & 63);
        open.stage.paintCell(x, 200, quint8(n++ & 0xFF));
    });
    open.stage.finishEdit();
}

void BM_DocumentUndoRedo(benchmark::State& state)
{
    OpenDocument open;
    vorn::StageDocument& stage = open.stage;
    for (int y = 0; y < stage.height(); ++y)
        for (int x = 0; x < stage.width(); ++x)
            stage.paintCell(x, y, quint8(stage.cell(x, y) + 1));
    stage.finishEdit();
    using Clock = std::chrono::steady_clock;
    std::chrono::duration<double, std::milli> undo{}, redo{};
    for (auto _ : state) {
        auto start = Clock::now();
        stage.undo();
        undo += Clock::now() - start;
        start = Clock::now();
        stage.redo();
        redo += Clock::now() - start;
    }
    if (state.iterations() > 0) {
        meanMs["docUndo"] = undo.count() / double(state.iterations());
        meanMs["docRedo"] = redo.count() / double(state.iterations());
    }
}

// The 513 x 513 map cut by 4 cells on every side from the centre anchor (the
// costlier way, with cut entities), and the resize undone.
void BM_DocumentResizeUndo(benchmark::State& state)
{
    OpenDocument open;
    vorn::StageDocument& stage = open.stage;
    const int width = stage.width(), height = stage.height();
    Timed(state, "docResize", [&] {
        stage.resizeAnchored(width - 8, height - 8, 1, 1);
        stage.undo();
    });
}

// A 3 MB settings file of lines without "=" or "]" before the key looked
// for: reading must stay in proportion to the file.
void BM_SettingsLongFile(benchmark::State& state)
{
    QByteArray bytes = "[Main]\n";
    for (int i = 0; i < 500000; ++i)
        bytes += "[a\nb c\n";
    bytes += "[Main]\nZoom=3\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(vorn::IniValue(bytes, "Main", "Zoom"));
}

// A script of about 10,000 bytes in the shape of the game's: events that
// talk, set flags, move entities and jump.
QByteArray TenKilobyteScript()
{
    QByteArray script;
    for (int event = 100; script.size() < 10000; ++event) {
        script += "#" + QByteArray::number(event).rightJustified(4, '0') + "\r\n";
        script += "<KEY<FLJ0" + QByteArray::number(event) + ":" + QByteArray::number(event + 1).rightJustified(4, '0') +
                  "<MSG<FAC0005Twenty-six columns of text.\r\nAnother row of words.<NOD<CLO\r\n";
        script += "<CNP0300:0061:0000<FL+0" + QByteArray::number(event) + "<SOU0011" +
                  (event % 3 == 0 ? "<TRA0013:0100:0005:0005\r\n" : "<END\r\n");
    }
    return script;
}

// One keystroke in the script window over a 10,000-byte script: the text
// checked again, its lines coloured again, and the marks placed, as the
// window does before it next paints. "text" types into a message;
// "exit" takes the D off an <END in the middle and puts it back, which
// changes what is reached down to the next event.
void BM_ScriptKeystroke(benchmark::State& state, const char* where)
{
    const QString name = QStringLiteral("data\\stage\\Bench.tsc");
    if (!QFile(gameRoot + "/data/Stage/Bench.tsc").exists()) {
        QFile file(gameRoot + "/data/Stage/Bench.tsc");
        if (!file.open(QIODevice::WriteOnly) || file.write(vorn::EncodeScript(TenKilobyteScript())) < 0)
            std::abort();
    }
    ScriptWindow* scriptWindow = window->Scripts().open(name);
    if (!scriptWindow)
        std::abort();
    QCoreApplication::processEvents();
    QTextDocument& text = *scriptWindow->script().text();
    const QString plain = text.toPlainText();
    const bool exit = std::string(where) == "exit";
    const int at = exit ? int(plain.indexOf(QStringLiteral("<END"), plain.size() / 2)) + 3
                        : int(plain.indexOf(QStringLiteral("columns"), plain.size() / 2));
    QTextCursor cursor(&text);
    using Clock = std::chrono::steady_clock;
    std::chrono::duration<double, std::milli> total{};
    for (auto _ : state) {
        const auto start = Clock::now();
        cursor.setPosition(at);
        if (exit) {
            cursor.deleteChar();
        } else {
            cursor.insertText(QStringLiteral("x"));
        }
        const auto typed = Clock::now();
        total += typed - start;
        if (exit) {
            cursor.insertText(QStringLiteral("D"));
        } else {
            cursor.deletePreviousChar();
        }
    }
    if (state.iterations() > 0) {
        meanMs[std::string("key") + where] = total.count() / double(state.iterations());
        state.counters["keystroke_ms"] = meanMs[std::string("key") + where];
    }
    scriptWindow->script().text()->setModified(false);
    scriptWindow->close();
}

// A script of `bytes` bytes or a little more, events in the shape of the
// ten-kilobyte one, their numbers going round past 9999: what a generator
// or a damaged file gives.
QByteArray LargeScript(qsizetype bytes)
{
    const QByteArray ten = TenKilobyteScript();
    QByteArray script;
    script.reserve(bytes + ten.size());
    while (script.size() < bytes)
        script += ten;
    return script;
}

// Opens `plain` as Bench<tag>.tsc in a shown script window.
ScriptWindow* OpenBenchScript(const QString& tag, const QByteArray& plain)
{
    const QString file = QStringLiteral("Bench%1.tsc").arg(tag);
    QFile out(gameRoot + "/data/Stage/" + file);
    if (!out.exists() && (!out.open(QIODevice::WriteOnly) || out.write(vorn::EncodeScript(plain)) < 0))
        std::abort();
    out.close();
    ScriptWindow* scriptWindow = window->Scripts().open(QStringLiteral("data\\stage\\") + file);
    if (!scriptWindow)
        std::abort();
    scriptWindow->resize(900, 600);
    QCoreApplication::processEvents();
    return scriptWindow;
}

// A key typed into message text in the middle of a large script, from the
// key press to the repaint of the view that shows its line; the checks that
// follow a pause in typing are timed apart.
void BM_ScriptLargeKeystroke(benchmark::State& state, const char* size)
{
    const qsizetype bytes = std::string(size) == "1MB" ? qsizetype(1) << 20 : qsizetype(15) << 20;
    ScriptWindow* scriptWindow = OpenBenchScript(size, LargeScript(bytes));
    ScriptEdit* edit = scriptWindow->edit();
    const QString plain = edit->document()->toPlainText();
    QTextCursor place(edit->document());
    place.setPosition(int(plain.indexOf(QStringLiteral("columns"), plain.size() / 2)));
    edit->setTextCursor(place);
    edit->centerCursor();
    using Clock = std::chrono::steady_clock;
    std::chrono::duration<double, std::milli> total{};
    for (auto _ : state) {
        const auto start = Clock::now();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(edit, &press);
        edit->viewport()->repaint();
        total += Clock::now() - start;
        QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(edit, &back);
    }
    // What a pause in typing does: the checks, the colours and marks they
    // change, and (a moment later) the lists.
    edit->textCursor().insertText(QStringLiteral("x"));
    const auto start = Clock::now();
    scriptWindow->script().checkNow();
    const auto checked = Clock::now();
    scriptWindow->refreshLists();
    const double checks = std::chrono::duration<double, std::milli>(checked - start).count();
    const double lists = std::chrono::duration<double, std::milli>(Clock::now() - checked).count();
    if (state.iterations() > 0) {
        meanMs[std::string("key") + size] = total.count() / double(state.iterations());
        meanMs[std::string("checks") + size] = checks;
        meanMs[std::string("lists") + size] = lists;
        state.counters["keystroke_ms"] = meanMs[std::string("key") + size];
        state.counters["checks_ms"] = checks;
        state.counters["lists_ms"] = lists;
    }
    scriptWindow->script().text()->setModified(false);
    scriptWindow->close();
}

// A script whose one line holds 100,000 '<': opened, shown and typed into.
void BM_ScriptLongLine(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    const QByteArray plain = "#0100\r\n" + QByteArray(100000, '<') + "\r\n<END\r\n";
    for (auto _ : state) {
        const auto start = Clock::now();
        ScriptWindow* scriptWindow = OpenBenchScript(QStringLiteral("Long"), plain);
        scriptWindow->edit()->viewport()->repaint();
        const auto opened = Clock::now();
        QTextCursor onLine(scriptWindow->script().text()->findBlockByNumber(1));
        onLine.setPosition(onLine.position() + 50);
        scriptWindow->edit()->setTextCursor(onLine);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(scriptWindow->edit(), &press);
        scriptWindow->edit()->viewport()->repaint();
        meanMs["longLine"] = std::chrono::duration<double, std::milli>(opened - start).count();
        meanMs["longLineKey"] = std::chrono::duration<double, std::milli>(Clock::now() - opened).count();
        scriptWindow->script().text()->setModified(false);
        scriptWindow->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir gameDir, programDir;
    if (const vorn::Outcome written = vorn::WriteSampleGame(gameDir.path()); !written.ok()) {
        std::fprintf(stderr, "sample game: %s\n", qPrintable(written.refusal()));
        return 1;
    }
    auto w = std::make_unique<frmVorn>(gameDir.path(), programDir.path());
    w->messageHook = [](const QString& text, QMessageBox::Icon) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    };
    if (!w->Form_Load())
        return 1;
    w->cboMap()->setCurrentIndex(vorn::kSampleHugeStage);
    if (w->stage().width() != 513 || w->stage().entityCount() != 256) {
        std::fprintf(stderr, "stage %d is not 513 x 513 with 256 entities\n", vorn::kSampleHugeStage);
        return 1;
    }
    window = w.get();
    gameRoot = gameDir.path();

    using benchmark::kMillisecond;
    benchmark::RegisterBenchmark("LoadStage", BM_LoadStage)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("CopyView", BM_CopyView)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("PaintView/zoom16", BM_PaintView, "16")->Unit(kMillisecond);
    benchmark::RegisterBenchmark("PaintView/zoom64", BM_PaintView, "64")->Unit(kMillisecond);
    benchmark::RegisterBenchmark("PaintViewLooks/zoom16", BM_PaintViewLooks, "16")->UseManualTime()->Unit(kMillisecond);
    benchmark::RegisterBenchmark("PaintViewLooks/zoom64", BM_PaintViewLooks, "64")->UseManualTime()->Unit(kMillisecond);
    benchmark::RegisterBenchmark("PaintViewSprites/zoom16", BM_PaintViewSprites, "16")
        ->UseManualTime()
        ->Unit(kMillisecond);
    benchmark::RegisterBenchmark("PaintWidget/zoom16", BM_PaintWidget)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("ZoomChange", BM_ZoomChange)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("OneCell", BM_OneCell)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("PeakMemory/zoom64", BM_PeakMemoryZoom64)->Iterations(20)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Settings/long3MB", BM_SettingsLongFile)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Straightforward/wholeMap16", BM_StraightforwardWholeMap)
        ->Iterations(1)
        ->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Document/load", BM_DocumentLoad)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Document/paintCell", BM_DocumentPaintCell)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Document/undoRedoWholeMap", BM_DocumentUndoRedo)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Document/resizeAndUndo513", BM_DocumentResizeUndo)->Unit(kMillisecond);
    // Last: their history and the shown window would weigh on the figures above.
    benchmark::RegisterBenchmark("OneCellRecorded", BM_OneCellRecorded)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("UndoRedo/wholeMap", BM_UndoRedoWholeMap)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Region/fillWholeMap", BM_RegionEdit, "fill")->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Region/rectWholeMap", BM_RegionEdit, "rect")->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Region/paste100", BM_RegionEdit, "paste")->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Script/keystroke/text", BM_ScriptKeystroke, "text")->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Script/keystroke/exit", BM_ScriptKeystroke, "exit")->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Script/keystroke/1MB", BM_ScriptLargeKeystroke, "1MB")->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Script/keystroke/15MB", BM_ScriptLargeKeystroke, "15MB")
        ->Iterations(20)
        ->Unit(kMillisecond);
    benchmark::RegisterBenchmark("Script/longLine100000", BM_ScriptLongLine)->Iterations(1)->Unit(kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (meanMs.count("straight") && meanMs.count("zoom") && meanMs.count("paint16")) {
        std::printf("\nWhole map drawn the straightforward way: %.0f ms, against %.2f ms for a zoom change "
                    "(ratio %.0f) and %.2f ms for a 1600 x 900 view paint (ratio %.0f).\n",
                    meanMs["straight"], meanMs["zoom"], meanMs["straight"] / meanMs["zoom"], meanMs["paint16"],
                    meanMs["straight"] / meanMs["paint16"]);
    }
    if (meanMs.count("copy") && meanMs.count("paint16") && meanMs.count("paint64")) {
        std::printf("A 1600 x 900 view: its pixels (%.2f MB) copied in %.3f ms, painted at zoom 16 in %.3f ms "
                    "(ratio %.2f) and at zoom 64 in %.3f ms (ratio %.2f).\n",
                    double(kView.width()) * kView.height() * 4 / 1e6, meanMs["copy"], meanMs["paint16"],
                    meanMs["paint16"] / meanMs["copy"], meanMs["paint64"], meanMs["paint64"] / meanMs["copy"]);
    }
    for (const char* zoom : {"16", "64"}) {
        const std::string looks = std::string("looks") + zoom, plain = std::string("looksPlain") + zoom;
        if (!meanMs.count(looks))
            continue;
        const std::string paint = std::string("paint") + zoom;
        const ViewContents contents = ContentsOf(std::atoi(zoom));
        std::printf("The same view at zoom %s with sprites and tile types shown: %.3f ms, against %.3f ms for the "
                    "plain paint timed alongside (ratio %.2f; %.2f to the plain paint's own figure); it holds %d "
                    "typed cells of %d and %d sprites.\n",
                    zoom, meanMs[looks], meanMs[plain], meanMs[looks] / meanMs[plain],
                    meanMs.count(paint) ? meanMs[looks] / meanMs[paint] : 0.0, contents.typed, contents.cells,
                    contents.sprites);
    }
    if (meanMs.count("sprites16")) {
        const ViewContents contents = ContentsOf(16);
        std::printf("The same view at zoom 16 with sprites in the game's order: %.3f ms, against %.3f ms for the "
                    "plain paint timed alongside (ratio %.2f, target at most 1.5); %d sprites, %d typed cells.\n",
                    meanMs["sprites16"], meanMs["spritesPlain16"], meanMs["sprites16"] / meanMs["spritesPlain16"],
                    contents.sprites, contents.typed);
    }
    if (meanMs.count("cell") && meanMs.count("cellRecorded")) {
        std::printf("One map cell painted: %.3f us, %.3f us while the undo history records it (ratio %.2f).\n",
                    meanMs["cell"] * 1000.0, meanMs["cellRecorded"] * 1000.0, meanMs["cellRecorded"] / meanMs["cell"]);
    }
    if (meanMs.count("undo")) {
        std::printf("Stroke over all 513 x 513 cells: %.0f step of %.1f MB; undo %.2f ms, redo %.2f ms.\n",
                    meanMs["strokeSteps"], meanMs["strokeMB"], meanMs["undo"], meanMs["redo"]);
    }
    // The same operations before the stage became a document (commit
    // 31057bf, on a 2-core machine of the kind CI runs on), for comparison.
    constexpr double kBeforeLoadMs = 0.769, kBeforeCellUs = 0.526, kBeforeUndoMs = 5.87, kBeforeRedoMs = 6.42;
    if (meanMs.count("docLoad") && meanMs.count("load") && meanMs.count("cellRecorded") && meanMs.count("undo")) {
        std::printf("Through the window (and its document) / the document alone / before the document:\n"
                    "  load of the 513 x 513 stage: %.3f / %.3f / %.3f ms\n"
                    "  a cell of a stroke:          %.3f / %.3f / %.3f us\n"
                    "  undo of a whole-map stroke:  %.2f / %.2f / %.2f ms (redo %.2f / %.2f / %.2f ms)\n",
                    meanMs["load"], meanMs["docLoad"], kBeforeLoadMs, meanMs["cellRecorded"] * 1000.0,
                    meanMs["docCell"] * 1000.0, kBeforeCellUs, meanMs["undo"], meanMs["docUndo"], kBeforeUndoMs,
                    meanMs["redo"], meanMs["docRedo"], kBeforeRedoMs);
    }
    if (meanMs.count("fillEdit") || meanMs.count("rectEdit") || meanMs.count("pasteEdit"))
        std::printf("Region edits in a 1920 x 1080 shown window: the edit alone / with its repaint; its undo "
                    "with the repaint:\n");
    for (const auto& [kind, what] :
         {std::pair{"fill", "fill of all 513 x 513 cells"}, std::pair{"rect", "rectangle of 513 x 513 cells"},
          std::pair{"paste", "paste of a 100 x 100 block"}}) {
        const std::string k(kind);
        if (meanMs.count(k + "Edit"))
            std::printf("  %-30s %.2f / %.2f ms; undo %.2f ms\n", what, meanMs[k + "Edit"], meanMs[k + "Shown"],
                        meanMs[k + "Undo"]);
    }
    if (meanMs.count("peakMB"))
        std::printf("Peak resident memory with the stage open at zoom 64: %.1f MB.\n", meanMs["peakMB"]);
    if (meanMs.count("keytext") || meanMs.count("keyexit"))
        std::printf("One keystroke in a 10,000-byte script, checked and coloured again: %.3f ms in message text, "
                    "%.3f ms taking an <END apart (target: under 5 ms).\n",
                    meanMs["keytext"], meanMs["keyexit"]);
    for (const char* size : {"1MB", "15MB"})
        if (meanMs.count(std::string("key") + size))
            std::printf("One keystroke in a %s script, key press to repaint: %.3f ms (target: %s); after a pause "
                        "in typing, the checks with the colours and marks: %.0f ms, the lists: %.0f ms.\n",
                        size, meanMs[std::string("key") + size], std::string(size) == "1MB" ? "20 ms" : "200 ms",
                        meanMs[std::string("checks") + size], meanMs[std::string("lists") + size]);
    if (meanMs.count("longLine"))
        std::printf("A script line of 100,000 '<': opened and shown in %.0f ms, a key typed into it and shown in "
                    "%.0f ms.\n",
                    meanMs["longLine"], meanMs["longLineKey"]);
    return 0;
}
