// The tile palette and painting on the map, driven with the pointer.
#include "windowdriver.h"

#include "mapview.h"
#include "shapeframe.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollBar>

namespace {

// A tile number the cell does not hold, so a paint shows.
quint8 OtherTile(quint8 tile) { return quint8(tile == 18 ? 19 : 18); }

QImage Shown(frmVorn& w, const QRect& cell)
{
    return w.picMap->grab(cell).toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class PaintingTest : public QObject {
    Q_OBJECT
private slots:
    void paletteChoosesTheTileUnderThePointer()
    {
        StartedWindow w;
        QVERIFY(w.started);
        QWidget* palette = w->picTileset;

        // Before any choice a left press paints tile 0.
        QCOMPARE(w->SelectedTile, quint8(0));

        QTest::mousePress(palette, Qt::LeftButton, {}, QPoint(37, 20));
        QCOMPARE(w->picTileset_Tag, QStringLiteral("^_^"));
        QCOMPARE(w->SelectedTile, quint8(18));
        QCOMPARE(w->shpTile->pos(), QPoint(32, 16));
        QCOMPARE(w->shpTile->size(), QSize(17, 17));

        // The choice follows the held button; off the 16 x 16 grid of tile
        // numbers nothing changes.
        SendMove(palette, QPoint(20, 5), Qt::LeftButton);
        SendMove(palette, QPoint(20, 21), Qt::LeftButton);
        QCOMPARE(w->SelectedTile, quint8(17));
        SendMove(palette, QPoint(-1, 21), Qt::LeftButton);
        SendMove(palette, QPoint(20, -3), Qt::LeftButton);
        SendMove(palette, QPoint(16 * 16 + 2, 21), Qt::LeftButton);
        SendMove(palette, QPoint(20, 16 * 16 + 2), Qt::LeftButton);
        QCOMPARE(w->SelectedTile, quint8(17));
        QCOMPARE(w->shpTile->pos(), QPoint(16, 16));

        QTest::mouseRelease(palette, Qt::LeftButton, {}, QPoint(20, 21));
        QCOMPARE(w->picTileset_Tag, QStringLiteral("-_-"));
        // Released: moving chooses nothing.
        SendMove(palette, QPoint(100, 100), Qt::NoButton);
        QCOMPARE(w->SelectedTile, quint8(17));
    }

    void leftPressAtZoom24PaintsOneCell()
    {
        StartedWindow w;
        QVERIFY(w.started);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        w->cboZoom->setCurrentIndex(2);
        QCOMPARE(int(w->ZoomSize), 24);

        const quint8 tile = OtherTile(w->TileGrid.at(2, 0));
        w->SelectedTile = tile;
        const quint8 neighbour = w->TileGrid.at(3, 0);
        const QRect cell(48, 0, 24, 24);
        const QImage before = Shown(*w, cell);

        QTest::mousePress(w->picMap, Qt::LeftButton, {}, QPoint(50, 23));
        QCOMPARE(w->TileGrid.at(2, 0), tile);
        QCOMPARE(w->TileGrid.at(3, 0), neighbour);
        QCOMPARE(w->lblPos->text(), QStringLiteral("2x0"));
        QCOMPARE(w->shpCursor->pos(), QPoint(48, 0));
        QVERIFY(Shown(*w, cell) != before);
        QTest::mouseRelease(w->picMap, Qt::LeftButton, {}, QPoint(50, 23));
        QCOMPARE(w->picMap_Tag, QStringLiteral("-_-"));
    }

    void otherButtonsPickInsteadOfPainting()
    {
        StartedWindow w;
        QVERIFY(w.started);
        QWidget* map = w->picMap;
        w->TileGrid.at(4, 3) = 255;
        w->TileGrid.at(5, 3) = 33;
        const QPoint onCell43(4 * 16 + 5, 3 * 16 + 5);

        QTest::mousePress(map, Qt::RightButton, {}, onCell43);
        QTest::mouseRelease(map, Qt::RightButton, {}, onCell43);
        QCOMPARE(w->SelectedTile, quint8(255));
        QCOMPARE(w->shpTile->pos(), QPoint(240, 240));
        QCOMPARE(w->TileGrid.at(4, 3), quint8(255));

        // Left and right together (button state 3) pick too, while dragging.
        SendPress(map, onCell43, Qt::LeftButton, Qt::LeftButton);
        SendMove(map, QPoint(5 * 16 + 1, 3 * 16 + 1), Qt::LeftButton | Qt::RightButton);
        QCOMPARE(w->SelectedTile, quint8(33));
        QCOMPARE(w->TileGrid.at(5, 3), quint8(33));
        QCOMPARE(w->TileGrid.at(4, 3), quint8(255)); // the left press painted the picked tile
        SendRelease(map, onCell43, Qt::LeftButton, Qt::NoButton);

        w->SelectedTile = 0;
        const QPoint onCell53(5 * 16 + 8, 3 * 16 + 8);
        QTest::mousePress(map, Qt::MiddleButton, {}, onCell53);
        QTest::mouseRelease(map, Qt::MiddleButton, {}, onCell53);
        QCOMPARE(w->SelectedTile, quint8(33));
        QCOMPARE(w->shpTile->pos(), QPoint(16, 32));
    }

    void pointerOffTheMapChangesNothing()
    {
        StartedWindow w;
        QVERIFY(w.started);
        QWidget* map = w->picMap;
        const QString before = w->lblPos->text();
        const QPoint cursor = w->shpCursor->pos();
        const vorn::TileGrid grid = w->TileGrid;
        w->SelectedTile = OtherTile(w->TileGrid.at(0, 0));

        QTest::mousePress(map, Qt::LeftButton, {}, QPoint(-1, 5));
        SendMove(map, QPoint(w->MapWidth * 16, 5), Qt::LeftButton);
        SendMove(map, QPoint(5, w->MapHeight * 16 + 3), Qt::LeftButton);
        QCOMPARE(w->lblPos->text(), before);
        QCOMPARE(w->shpCursor->pos(), cursor);
        QVERIFY(w->TileGrid == grid);

        // Back on the map with the button still held, painting resumes.
        SendMove(map, QPoint(1, 1), Qt::LeftButton);
        QCOMPARE(w->TileGrid.at(0, 0), w->SelectedTile);
        SendRelease(map, QPoint(1, 1), Qt::LeftButton, Qt::NoButton);

        // With no press the pointer only moves the read-out and the cursor.
        const vorn::TileGrid painted = w->TileGrid;
        SendMove(map, QPoint(12 * 16 + 3, 5 * 16 + 15), Qt::NoButton);
        QCOMPARE(w->lblPos->text(), QStringLiteral("12x5"));
        QCOMPARE(w->shpCursor->pos(), QPoint(12 * 16, 5 * 16));
        QVERIFY(w->TileGrid == painted);
    }

    void paintedStrokeIsSavedByteForByte()
    {
        StartedWindow w;
        QVERIFY(w.started);
        QWidget* map = w->picMap;
        const QString path =
            w->game().findFile(QStringLiteral("data\\stage\\") + w->openMapName + QStringLiteral(".pxm"));
        QByteArray expected = FileBytes(path);
        QVERIFY(expected.size() >= 8 + w->MapWidth * w->MapHeight);

        w->SelectedTile = 77;
        SendPress(map, QPoint(2, 18), Qt::LeftButton, Qt::LeftButton);
        for (int x = 0; x < 6 * 16; x += 7)
            SendMove(map, QPoint(x, 18), Qt::LeftButton);
        SendMove(map, QPoint(6 * 16 + 1, 2 * 16 + 1), Qt::LeftButton);
        SendRelease(map, QPoint(6 * 16 + 1, 2 * 16 + 1), Qt::LeftButton, Qt::NoButton);
        for (int x = 0; x < 6; ++x)
            expected[8 + 1 * w->MapWidth + x] = char(77);
        expected[8 + 2 * w->MapWidth + 6] = char(77);

        QVERIFY(w->cmdSave_Click());
        QCOMPARE(FileBytes(path), expected);
        QVERIFY(w.messages.isEmpty());
    }

    void scrollBarsMoveSurfacesSixteenPixelsAStep()
    {
        StartedWindow w;
        QVERIFY(w.started);
        w->cboMap->setCurrentIndex(14); // a map larger than its panel
        w->cboZoom->setCurrentIndex(3);
        QVERIFY(frmVorn::ScrollMax(w->vsbMap) <= -3);
        QVERIFY(frmVorn::ScrollMax(w->hsbMap) <= -2);

        const QPoint origin = w->picMap->pos();
        frmVorn::SetScrollValue(w->vsbMap, -3);
        QCOMPARE(w->picMap->y(), origin.y() - 48);
        frmVorn::SetScrollValue(w->hsbMap, -2);
        QCOMPARE(w->picMap->pos(), origin - QPoint(32, 48));
        frmVorn::SetScrollValue(w->vsbMap, 0);
        frmVorn::SetScrollValue(w->hsbMap, 0);
        QCOMPARE(w->picMap->pos(), origin);

        if (frmVorn::ScrollMax(w->vsbTile) < 0) {
            const int top = w->picTileset->y();
            frmVorn::SetScrollValue(w->vsbTile, -1);
            QCOMPARE(w->picTileset->y(), top - 16);
        }
    }
};

QTEST_MAIN(PaintingTest)
#include "painting_test.moc"
