// vorn-tool render: a stage's map to a PNG picture, drawn by the editor's
// own map drawing, band by band.
#include "command.h"

#include "mapdrawing.h"
#include "markerdrawing.h"
#include "pngwriter.h"
#include "spritedrawing.h"
#include "stagedocument.h"
#include "tiletypedrawing.h"
#include "stageloading.h"

#include <algorithm>
#include <unistd.h>

namespace vorn::cli {
namespace {

// A band of whole cell rows of at most about this many bytes is drawn at a
// time: memory stays flat however large the picture.
constexpr qint64 kBandBytes = 8 << 20;

QString ZoomList()
{
    QStringList zooms;
    for (const int zoom : kZoomSizes)
        zooms << QString::number(zoom);
    return zooms.join(QStringLiteral(", "));
}

class RenderCommand : public Command {
public:
    QString name() const override { return QStringLiteral("render"); }
    QString synopsis() const override
    {
        return QStringLiteral("render STAGE -o FILE.png [--zoom N] [--no-entities] [--sprites] [--tile-types]");
    }
    QString summary() const override { return QStringLiteral("draw a stage's map to a PNG picture"); }
    QString description() const override
    {
        return QStringLiteral(
            "Draws the stage's map exactly as the editor's map view shows it at that zoom, entity "
            "markers included, and writes it as a PNG picture (replaced whole, as the editor writes "
            "files), or with -o - to standard output, messages then going to standard error. A stage the "
            "editor refuses is refused with the same words; pictures it cannot read are drawn with the "
            "editor's stand-ins, with its warning and exit status 1. --sprites and --tile-types draw what the "
            "editor's \"Sprites\" and \"Tile types\" check boxes show.");
    }
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addOption(output_);
        parser.addOption(zoom_);
        parser.addOption(noEntities_);
        parser.addOption(sprites_);
        parser.addOption(tileTypes_);
        parser.addPositionalArgument(QStringLiteral("STAGE"), QStringLiteral("The stage number."));
    }
    Outcome take(const QCommandLineParser& parser) override
    {
        if (const Outcome parsed = ParseOneStage(parser.positionalArguments(), stage_); !parsed.ok())
            return parsed;
        if (!parser.isSet(output_) || parser.value(output_).isEmpty())
            return QStringLiteral("name the picture to write with -o FILE.png.");
        path_ = parser.value(output_);
        if (toStandardOutput() && ::isatty(STDOUT_FILENO))
            return QStringLiteral("standard output is a terminal: send it to a file or a program, or name the "
                                  "picture with -o FILE.png.");
        bool number = false;
        zoomSize_ = parser.value(zoom_).toInt(&number);
        if (!number || !IsZoomSize(zoomSize_))
            return QStringLiteral("the zoom is one of %1, not \"%2\".").arg(ZoomList(), parser.value(zoom_));
        markers_ = !parser.isSet(noEntities_);
        spritesOn_ = parser.isSet(sprites_);
        tileTypesOn_ = parser.isSet(tileTypes_);
        return {};
    }
    Outcome takeGame(const Game& game) override
    {
        QList<int> stages{stage_};
        return CheckStageNumbers(game, stages);
    }
    int run(const Game& game) override
    {
        LoadedStage stage;
        if (const Outcome loaded = LoadStage(game.folder, stage_, game.table[size_t(stage_)], stage); !loaded.ok()) {
            PrintError(loaded.refusal());
            return kFoundWrong;
        }
        const QString warning = UseStandInPictures(stage);
        if (!warning.isEmpty())
            PrintError(warning);

        // Read only when asked for: without them the picture is the plain map.
        StageLooks looks;
        if (spritesOn_ || tileTypesOn_) {
            looks = ReadStageLooks(game.folder, stage.files, stage.tileset.image);
            for (const QString& note :
                 {spritesOn_ ? looks.spriteNote : QString(), tileTypesOn_ ? looks.tileTypeNote : QString()})
                if (!note.isEmpty())
                    PrintError(note);
        }
        const QImage mask = CreateMaskImage(stage.tileset.image, qRgb(0, 0, 0));
        MapScene scene{&stage.tileset.image, &mask,           &stage.backdrop.image,
                       &stage.map.grid,      stage.map.width, stage.map.height};
        // With sprites the tiles take the game's order around them, as in the window.
        TileLooks tileLooks;
        if (spritesOn_) {
            tileLooks = GameTileLooks(scene, looks.tileTypes.types, looks.sheets);
            scene.looks = &tileLooks;
        }
        const QSize size = MapPixelSize(scene, zoomSize_);
        if (size.isEmpty()) {
            PrintError(QStringLiteral("Stage %1's map %2 has %3 x %4 cells: there is nothing to draw.")
                           .arg(stage_)
                           .arg(stage.files.map)
                           .arg(stage.map.width)
                           .arg(stage.map.height));
            return kFoundWrong;
        }

        const qint64 rowBytes = qint64(size.width()) * 4;
        const int cellRows = int(std::max<qint64>(1, kBandBytes / (rowBytes * zoomSize_)));
        const int bandRows = std::min(size.height(), cellRows * zoomSize_);
        QImage band(size.width(), bandRows, QImage::Format_RGB32);
        if (band.isNull()) {
            PrintError(QStringLiteral("Out of memory for a band of %1 x %2 pixels.").arg(size.width()).arg(bandRows));
            return kFoundWrong;
        }
        int bandTop = -bandRows; // no band drawn yet
        const RowSource row = [&](int y) -> const QRgb* {
            if (y >= bandTop + bandRows) {
                bandTop = y;
                const QRect area(0, bandTop, size.width(), std::min(bandRows, size.height() - bandTop));
                RenderMap(scene, zoomSize_, band, area, qRgb(255, 255, 255));
                // In the order the editor's view draws them.
                if (tileTypesOn_)
                    DrawTileTypes(band, area, zoomSize_, scene, looks.tileTypes.types);
                if (spritesOn_)
                    DrawSprites(band, area, zoomSize_, size, stage.entityCount, stage.records, looks.sheets,
                                looks.npcTable, &scene);
                if (markers_ && spritesOn_) {
                    DrawMarkers(band, area, zoomSize_, stage.entityCount, stage.records, [&](int i) {
                        return PlaceSprite(stage.records[size_t(i)], looks.sheets, looks.npcTable,
                                           SpriteMoment::FirstFrame)
                            .has_value();
                    });
                } else if (markers_) {
                    DrawMarkers(band, area, zoomSize_, stage.entityCount, stage.records);
                }
            }
            return reinterpret_cast<const QRgb*>(band.constScanLine(y - bandTop));
        };
        const auto produce = [&](const ByteSink& write) { return WritePng(write, size.width(), size.height(), row); };
        Outcome written;
        if (toStandardOutput()) {
            int code = 0;
            written =
                produce([&code](const char* data, qint64 count) { return WriteAll(STDOUT_FILENO, data, count, code); });
            if (code != 0)
                written = QStringLiteral("Cannot write the picture to standard output: %1.").arg(SystemReason(code));
        } else {
            written = ReplaceFileStreamed(path_, path_, {}, produce);
        }
        if (!written.ok()) {
            PrintError(written.refusal());
            return kFoundWrong;
        }
        const QString wrote = QStringLiteral("stage %1: wrote %2 (%3 x %4 pixels)")
                                  .arg(stage_)
                                  .arg(toStandardOutput() ? QStringLiteral("the picture to standard output") : path_)
                                  .arg(size.width())
                                  .arg(size.height());
        // Standard output holds nothing but the picture then.
        toStandardOutput() ? PrintError(wrote) : PrintLine(wrote);
        // A sheet that could not be read is a picture drawn with a stand-in
        // (the marker), as a tileset that could not be read is.
        const bool standIns = !warning.isEmpty() || (spritesOn_ && !looks.sheets.problems.isEmpty());
        return standIns ? kFoundWrong : kSuccess;
    }

private:
    bool toStandardOutput() const { return path_ == u"-"; }

    QCommandLineOption output_{QStringList{QStringLiteral("o"), QStringLiteral("output")},
                               QStringLiteral("The PNG picture to write; - for standard output."),
                               QStringLiteral("FILE.png")};
    QCommandLineOption zoom_{QStringLiteral("zoom"),
                             QStringLiteral("Pixels a map cell: %1 (default 16).").arg(ZoomList()), QStringLiteral("N"),
                             QStringLiteral("16")};
    QCommandLineOption noEntities_{QStringLiteral("no-entities"),
                                   QStringLiteral("Leave the entity markers out, as \"Hide entities\" does.")};
    QCommandLineOption sprites_{QStringLiteral("sprites"),
                                QStringLiteral("Draw each entity as its sprite, as \"Sprites\" does.")};
    QCommandLineOption tileTypes_{QStringLiteral("tile-types"),
                                  QStringLiteral("Mark each tile's type, as \"Tile types\" does.")};
    int stage_ = 0;
    QString path_;
    int zoomSize_ = 16;
    bool markers_ = true;
    bool spritesOn_ = false;
    bool tileTypesOn_ = false;
};

} // namespace

std::unique_ptr<Command> MakeRenderCommand() { return std::make_unique<RenderCommand>(); }

} // namespace vorn::cli
