// Map rendering: the grabbed map view against the three-copy reference
// (backdrop, AND mask, OR tileset) at 16, and the scaling rules of the
// other zooms.
#include "frmVorn.h"
#include "unrecordededits.h"
#include "mapview.h"
#include "numtext.h"
#include "samplegame.h"
#include "shapeframe.h"
#include "testgame.h"
#include "threecopyreference.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPainter>
#include <QTest>
#include <memory>

namespace {

// The map view's own pixels, without markers or the cursor frame.
QImage Grab(QWidget* view, const QRect& area)
{
    QImage img(area.size(), QImage::Format_RGB32);
    img.fill(Qt::magenta);
    view->render(&img, QPoint(), QRegion(area), QWidget::DrawWindowBackground);
    return img;
}
QImage Grab(QWidget* view) { return Grab(view, view->rect()); }

} // namespace

class RenderingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestGame> game;
    std::unique_ptr<frmVorn> w;

    void load(int stage)
    {
        w->cboMap()->setCurrentIndex(stage);
        QCOMPARE(w->stage().index(), stage);
    }
    void zoom(const char* text) { w->cboZoom()->setCurrentIndex(w->cboZoom()->findText(QString::fromLatin1(text))); }

private slots:
    void init()
    {
        game = std::make_unique<TestGame>();
        w = std::make_unique<frmVorn>(game->gameDir(), game->programDir());
        w->messageHook = [](const QString& text, QMessageBox::Icon) { QFAIL(qPrintable(text)); };
        QVERIFY(w->Form_Load());
    }
    void cleanup()
    {
        w.reset();
        game.reset();
    }

    void zoom16EqualsThreeCopies()
    {
        // 13: the default stage; 16: a small tileset, with tiles beyond it.
        for (int stage : {vorn::kSampleSmallStage, vorn::kSampleSmallTilesetStage}) {
            load(stage);
            const QImage grabbed = Grab(w->picMap());
            QCOMPARE(grabbed.size(), QSize(w->stage().width() * 16, w->stage().height() * 16));
            QVERIFY(grabbed == ThreeCopyReference(*w));
        }
    }

    void tileSquaresAndTransparency()
    {
        // Tile 26 comes from (160, 16); a black tileset pixel shows the
        // backdrop, (0, 0, 1) covers it.
        QImage tiles = w->stage().tileset();
        tiles.setPixel(160, 16, qRgb(0, 0, 0));
        tiles.setPixel(161, 16, qRgb(0, 0, 1));
        tiles.setPixel(162, 16, qRgb(200, 10, 30));
        w->stage().setTileset(tiles); // its mask made anew
        QCOMPARE(w->stage().mask().pixel(160, 16), qRgb(255, 255, 255));
        QCOMPARE(w->stage().mask().pixel(161, 16), qRgb(0, 0, 0));
        vorn::UnrecordedEdits::setCell(w->stage(), 3, 2, 26);
        w->DrawTile(3, 2, 26);
        const QImage cell = Grab(w->picMap(), QRect(48, 32, 16, 16));
        const QRgb backdrop =
            w->stage().backdrop().pixel(48 % w->stage().backdrop().width(), 32 % w->stage().backdrop().height());
        QCOMPARE(cell.pixel(0, 0), backdrop);
        QCOMPARE(cell.pixel(1, 0), qRgb(0, 0, 1));
        QCOMPARE(cell.pixel(2, 0), qRgb(200, 10, 30));
        QVERIFY(Grab(w->picMap()) == ThreeCopyReference(*w));
    }

    void otherZoomsSampleTheZoom16Picture()
    {
        load(vorn::kSampleSmallTilesetStage);
        const QImage at16 = Grab(w->picMap());
        for (const char* text : {"8", "24", "32", "56", "64"}) {
            zoom(text);
            const int z = QByteArray(text).toInt();
            QCOMPARE(int(w->ZoomSize()), z);
            QCOMPARE(w->shpCursor()->size(), QSize(z, z));
            const QImage img = Grab(w->picMap());
            QCOMPARE(img.size(), QSize(w->stage().width() * z, w->stage().height() * z));
            // Above 16 each source pixel repeats; at 8 the top-left of each
            // 2 x 2 block shows.
            bool same = true;
            for (int y = 0; y < img.height() && same; ++y)
                for (int x = 0; x < img.width() && same; ++x)
                    same = img.pixel(x, y) == at16.pixel(x * 16 / z, y * 16 / z);
            QVERIFY2(same, text);
        }
    }

    void exposedPartsMatchTheWhole()
    {
        load(vorn::kSampleWideStage);
        for (const char* text : {"8", "16", "56"}) {
            zoom(text);
            const QRect part(37, 21, 301, 157);
            const QImage whole = Grab(w->picMap(), QRect(0, 0, 400, 200));
            QVERIFY2(Grab(w->picMap(), part) == whole.copy(part), text);
        }
    }

    void exposedPartsAtWholeMultiples()
    {
        // 32 and 64 widen whole source pixels: a part may start inside one.
        load(vorn::kSampleWideStage);
        for (const char* text : {"32", "64"}) {
            zoom(text);
            const QRect part(37, 21, 301, 157);
            const QImage whole = Grab(w->picMap(), QRect(0, 0, 400, 200));
            QVERIFY2(Grab(w->picMap(), part) == whole.copy(part), text);
        }
    }

    void aReplacedTilesetIsDrawn()
    {
        // The new mask lives where the old one did: what was transparent
        // in the first drawing is covered in the second, and the reverse.
        load(vorn::kSampleSmallTilesetStage);
        QVERIFY(Grab(w->picMap()) == ThreeCopyReference(*w));
        QImage tiles = w->stage().tileset();
        tiles.invertPixels();
        w->stage().setTileset(tiles);
        QVERIFY(Grab(w->picMap()) == ThreeCopyReference(*w));
    }

    void mapSizesInPixels()
    {
        load(vorn::kSampleHugeStage);
        zoom("64");
        QCOMPARE(w->picMap()->size(), QSize(513 * 64, 513 * 64));
        const QImage corner = Grab(w->picMap(), QRect(513 * 64 - 64, 513 * 64 - 64, 64, 64));
        QCOMPARE(corner.pixel(63, 63), corner.pixel(60, 60)); // one source pixel, 4 x 4
        QVERIFY(corner.pixel(0, 0) != qRgb(255, 0, 255));
        w->stage().setMapSize(0, w->stage().height());
        w->RedrawMap();
        QCOMPARE(w->picMap()->width(), 0);
        QCOMPARE(w->picMap()->height(), 513 * 64);
        QCOMPARE(w->cboZoom()->count(), 6);
        QCOMPARE(w->cboZoom()->findText("48"), -1);
    }
};

QTEST_MAIN(RenderingTest)
#include "rendering_test.moc"
