// The tile palette and painting on the map, driven with the pointer.
#include "windowdriver.h"
#include "unrecordededits.h"

#include "mapview.h"
#include "samplegame.h"
#include "shapeframe.h"

#include <QComboBox>
#include <QLabel>
#include <QClipboard>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

class PaintingTest : public QObject {
    Q_OBJECT
private slots:
    void paletteChoosesTheTileUnderThePointer()
    {
        OpenWindow w;
        QVERIFY(w.started);
        QWidget* palette = w->picTileset();
        QTest::mousePress(palette, Qt::LeftButton, {}, QPoint(37, 20));
        QCOMPARE(w->SelectedTile(), quint8(18));
        QCOMPARE(w->shpTile()->pos(), QPoint(32, 16));

        // The choice follows the held button; off the 16 x 16 grid of tile
        // numbers it stays.
        Send(palette, QEvent::MouseMove, QPoint(20, 21), Qt::LeftButton);
        for (QPoint off : {QPoint(-1, 21), QPoint(20, -3), QPoint(258, 21), QPoint(20, 258)})
            Send(palette, QEvent::MouseMove, off, Qt::LeftButton);
        QCOMPARE(w->SelectedTile(), quint8(17));
        QCOMPARE(w->shpTile()->pos(), QPoint(16, 16));
        QTest::mouseRelease(palette, Qt::LeftButton, {}, QPoint(20, 21));
        Send(palette, QEvent::MouseMove, QPoint(100, 100), Qt::NoButton);
        QCOMPARE(w->SelectedTile(), quint8(17));
    }

    void leftPaintsOneCellOtherButtonsPick()
    {
        OpenWindow w;
        QVERIFY(w.started);
        QWidget* map = w->picMap();
        w->cboZoom()->setCurrentIndex(2);
        QCOMPARE(int(w->ZoomSize()), 24);
        vorn::UnrecordedEdits::setCell(w->stage(), 2, 0, 5);
        vorn::UnrecordedEdits::setCell(w->stage(), 3, 1, 255);
        const QImage before = map->grab(QRect(48, 0, 24, 24)).toImage();

        w->SetSelectedTile(18);
        QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(50, 23));
        QCOMPARE(w->stage().cell(2, 0), quint8(18));
        QCOMPARE(w->lblPos()->text(), QStringLiteral("2x0"));
        QCOMPARE(w->shpCursor()->pos(), QPoint(48, 0));
        QVERIFY(map->grab(QRect(48, 0, 24, 24)).toImage() != before);

        QTest::mouseClick(map, Qt::RightButton, {}, QPoint(80, 30));
        QCOMPARE(w->SelectedTile(), quint8(255));
        QCOMPARE(w->shpTile()->pos(), QPoint(240, 240));
        QCOMPARE(w->stage().cell(3, 1), quint8(255));

        // Left and right together pick, also while dragging.
        Send(map, QEvent::MouseButtonPress, QPoint(1, 1), Qt::LeftButton, Qt::LeftButton);
        Send(map, QEvent::MouseMove, QPoint(50, 5), Qt::LeftButton | Qt::RightButton);
        QCOMPARE(w->SelectedTile(), quint8(18));
        QCOMPARE(w->stage().cell(0, 0), quint8(255));

        // Off the map nothing happens, not even to the read-out.
        Send(map, QEvent::MouseMove, QPoint(-1, 5), Qt::LeftButton);
        Send(map, QEvent::MouseMove, QPoint(w->stage().width() * 24, 5), Qt::LeftButton);
        QCOMPARE(w->lblPos()->text(), QStringLiteral("2x0"));
        Send(map, QEvent::MouseButtonRelease, QPoint(1, 1), Qt::NoButton, Qt::LeftButton);
        const vorn::TileGrid grid = w->stage().grid();
        Send(map, QEvent::MouseMove, QPoint(12 * 24, 5 * 24 + 23), Qt::NoButton);
        QCOMPARE(w->lblPos()->text(), QStringLiteral("12x5"));
        QVERIFY(w->stage().grid() == grid);

        // A new zoom keeps the frame on the cell the read-out names.
        w->cboZoom()->setCurrentIndex(3);
        QCOMPARE(w->lblPos()->text(), QStringLiteral("12x5"));
        QCOMPARE(w->shpCursor()->geometry(), QRect(12 * 32, 5 * 32, 32, 32));
    }

    void paintedStrokeIsSavedByteForByte()
    {
        OpenWindow w;
        QVERIFY(w.started);
        QWidget* map = w->picMap();
        const QString path = w->game().folder.findFile("data\\stage\\" + w->stage().files().mapName + ".pxm");
        QByteArray expected = FileBytes(path);
        w->SetSelectedTile(77);
        Send(map, QEvent::MouseButtonPress, QPoint(2, 18), Qt::LeftButton, Qt::LeftButton);
        for (int x = 0; x < 6 * 16; x += 7)
            Send(map, QEvent::MouseMove, QPoint(x, 18), Qt::LeftButton);
        Send(map, QEvent::MouseButtonRelease, QPoint(90, 18), Qt::NoButton, Qt::LeftButton);
        for (int x = 0; x < 6; ++x)
            expected[8 + w->stage().width() + x] = char(77);

        QVERIFY(w->cmdSave_Click());
        QCOMPARE(FileBytes(path), expected);
    }

    void scrollingMovesSurfacesSixteenPixelsAStep()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->cboMap()->setCurrentIndex(14); // larger than its panel
        w->cboZoom()->setCurrentIndex(3);
        const QPoint origin = w->picMap()->pos();
        frmVorn::SetScrollValue(w->vsbMap(), -3);
        frmVorn::SetScrollValue(w->hsbMap(), -2);
        QCOMPARE(w->picMap()->pos(), origin - QPoint(32, 48));
    }

    // Each tool on the map, by the pointer, as one step; the saved map holds it.
    void toolsPaintRegionsAsOneStepEach()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->show(); // window keys reach the active window
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QWidget* map = w->picMap();
        auto* rectangle = w->picToolbar()->findChild<QToolButton*>(QStringLiteral("cmdRectangle"));
        QVERIFY(rectangle && rectangle->x() == 504 + 21 && rectangle->toolTip().endsWith(QStringLiteral("(P)")));
        QCOMPARE(w->CurrentTool(), frmVorn::Tool::Pencil);

        // A 2 x 1 block from the palette, then a rectangle of 3 x 2 cells.
        QTest::mousePress(w->picTileset(), Qt::LeftButton, Qt::ShiftModifier, QPoint(5 * 16 + 3, 3));
        Send(w->picTileset(), QEvent::MouseMove, QPoint(6 * 16 + 3, 3), Qt::LeftButton, Qt::NoButton,
             Qt::ShiftModifier);
        QTest::mouseRelease(w->picTileset(), Qt::LeftButton, Qt::ShiftModifier, QPoint(6 * 16 + 3, 3));
        QCOMPARE(w->Brush(), (vorn::TileBlock{2, 1, {5, 6}}));
        QTest::keyClick(map, Qt::Key_P);
        QCOMPARE(w->CurrentTool(), frmVorn::Tool::Rectangle);
        const int steps = w->History().Stack().count();
        QTest::mousePress(map, Qt::LeftButton, {}, QPoint(2 * 16, 2 * 16));
        Send(map, QEvent::MouseMove, QPoint(4 * 16 + 5, 3 * 16 + 5), Qt::LeftButton);
        QTest::mouseRelease(map, Qt::LeftButton, {}, QPoint(4 * 16 + 5, 3 * 16 + 5));
        QCOMPARE(w->History().Stack().count(), steps + 1);
        for (int y = 2; y <= 3; ++y)
            for (int x = 2; x <= 4; ++x)
                QCOMPARE(w->stage().cell(x, y), quint8(x % 2 == 0 ? 5 : 6));

        // Fill stays inside the selection; Shift+right-drag takes a block.
        QTest::keyClick(map, Qt::Key_R);
        QTest::mousePress(map, Qt::LeftButton, {}, QPoint(1 * 16, 5 * 16));
        Send(map, QEvent::MouseMove, QPoint(3 * 16, 6 * 16), Qt::LeftButton);
        QTest::mouseRelease(map, Qt::LeftButton, {}, QPoint(3 * 16, 6 * 16));
        QCOMPARE(w->Selection(), std::optional<QRect>(QRect(1, 5, 3, 2)));
        QTest::mouseClick(w->picTileset(), Qt::LeftButton, {}, QPoint(9 * 16 + 3, 3)); // a one-tile brush again
        QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(2 * 16 + 1, 6 * 16 + 1)); // outside clears...
        QTest::keyClick(map, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(w->Selection(), std::optional<QRect>(QRect(0, 0, 20, 15)));
        QTest::keyClick(map, Qt::Key_F);
        const quint8 under = w->stage().cell(1, 1);
        QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(16 + 1, 16 + 1));
        QCOMPARE(w->stage().cell(1, 1), quint8(9));
        QVERIFY(under != 9);
        QTest::mousePress(map, Qt::RightButton, Qt::ShiftModifier, QPoint(2 * 16, 2 * 16));
        Send(map, QEvent::MouseMove, QPoint(3 * 16, 2 * 16), Qt::RightButton, Qt::NoButton, Qt::ShiftModifier);
        QTest::mouseRelease(map, Qt::RightButton, Qt::ShiftModifier, QPoint(3 * 16, 2 * 16));
        QCOMPARE(w->Brush(), (vorn::TileBlock{2, 1, {5, 6}}));

        QVERIFY(w->cmdSave_Click());
        const QByteArray saved = FileBytes(w.game.path("data/Stage/Hollow.pxm"));
        QCOMPARE(quint8(saved[8 + 3 * 20 + 3]), quint8(6));
        QCOMPARE(quint8(saved[8 + 1 * 20 + 1]), quint8(9));
    }

    // Cells and their entities copied on one stage and pasted on another,
    // through the clipboard's text; entity commands as one step each.
    void copyPasteAcrossStagesAndEntityCommands()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QWidget* map = w->picMap();
        const vorn::EntityRecord behemoth = w->stage().record(1); // at (5, 9)
        w->SetTool(frmVorn::Tool::Select);
        QTest::mousePress(map, Qt::LeftButton, {}, QPoint(4 * 16, 8 * 16));
        Send(map, QEvent::MouseMove, QPoint(6 * 16, 9 * 16), Qt::LeftButton);
        QTest::mouseRelease(map, Qt::LeftButton, {}, QPoint(6 * 16, 9 * 16));
        QTest::keyClick(map, Qt::Key_C, Qt::ControlModifier);
        const std::optional<vorn::CellsClip> clip = vorn::CellsClip::fromText(QApplication::clipboard()->text());
        QVERIFY(clip && clip->cells.width == 3 && clip->cells.height == 2 && clip->entities.size() == 1);
        QCOMPARE(clip->entities[0].X, qint16(1));
        QVERIFY(!vorn::CellsClip::fromText(QStringLiteral("Vorn cells 1\n2 1\n1 300\nentities 0\n")));

        w->cboMap()->setCurrentIndex(vorn::kSampleNoEntityStage);
        QCOMPARE(w->stage().entityCount(), qint16(0));
        QTest::keyClick(map, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(w->Pasting());
        Send(map, QEvent::MouseMove, QPoint(10 * 16 + 3, 4 * 16 + 3), Qt::NoButton);
        QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(10 * 16 + 3, 4 * 16 + 3));
        QVERIFY(!w->Pasting());
        QCOMPARE(w->stage().entityCount(), qint16(1));
        QCOMPARE(w->stage().record(0).X, qint16(11));
        QCOMPARE(w->stage().record(0).Type, behemoth.Type);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(w->stage().cell(10 + i % 3, 4 + i / 3), clip->cells.at(i % 3, i / 3));
        w->UndoEdit(); // cells and entity in one step
        QCOMPARE(w->stage().entityCount(), qint16(0));

        // Insert, Ctrl+D and Delete, each undone as one step.
        w->hsbEntity()->setValue(0);
        Send(map, QEvent::MouseMove, QPoint(2 * 16, 3 * 16), Qt::NoButton);
        QTest::keyClick(map, Qt::Key_Insert);
        QCOMPARE(w->stage().entityCount(), qint16(1));
        QCOMPARE(w->stage().record(0).X, qint16(2));
        QTest::keyClick(map, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(w->stage().entityCount(), qint16(2));
        QCOMPARE(w->stage().record(1).X, qint16(3));
        QCOMPARE(w->SelectedEntity(), 1);
        w->SetTool(frmVorn::Tool::Pencil);
        QTest::keyClick(map, Qt::Key_Escape);
        QTest::keyClick(map, Qt::Key_Delete);
        QCOMPARE(w->stage().entityCount(), qint16(1));
        w->UndoEdit();
        QCOMPARE(w->stage().entityCount(), qint16(2));
    }

    // The wheel scrolls in scroll bar steps, Shift+wheel across, Ctrl+wheel
    // steps the zoom about the pointer; Ctrl+S saves as the button does.
    void wheelScrollsAndZoomsAndCtrlSSaves()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->show();
        w->cboMap()->setCurrentIndex(14); // larger than its panel
        const auto wheel = [&](QPoint delta, Qt::KeyboardModifiers modifiers, QPoint at) {
            QWheelEvent event(at, w->picMap()->mapToGlobal(at), {}, delta, Qt::NoButton, modifiers, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(w->picMap(), &event);
        };
        const int lines = QApplication::wheelScrollLines();
        wheel({0, -120}, {}, {40, 40});
        QCOMPARE(frmVorn::ScrollValue(w->vsbMap()), -lines);
        wheel({0, -60}, Qt::ShiftModifier, {40, 40});
        QCOMPARE(frmVorn::ScrollValue(w->hsbMap()), 0); // half a notch waits for the rest
        wheel({0, -60}, Qt::ShiftModifier, {40, 40});
        QCOMPARE(frmVorn::ScrollValue(w->hsbMap()), -lines);

        // The cell under the pointer stays within a scroll step of it.
        const QPoint at(200, 150);
        const QPoint inPanel = w->picMap()->pos() + at;
        const QPoint cell(at.x() / 16, at.y() / 16);
        wheel({0, 120}, Qt::ControlModifier, at);
        QCOMPARE(w->cboZoom()->currentText(), QStringLiteral("24"));
        const QPoint nowAt = w->picMap()->pos() + QPoint(cell.x() * 24 + 12, cell.y() * 24 + 12);
        QVERIFY2((nowAt - inPanel).manhattanLength() <= 2 * (16 + 12),
                 qPrintable(QString::number((nowAt - inPanel).manhattanLength())));
        wheel({0, -120}, Qt::ControlModifier, at);
        QCOMPARE(w->cboZoom()->currentText(), QStringLiteral("16"));

        w->stage().paintCell(1, 1, 77);
        w->stage().finishEdit();
        QTest::keyClick(w.window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w->lblModified()->text(), QString());
        QCOMPARE(quint8(FileBytes(w.game.path("data/Stage/Ledges.pxm"))[8 + 224 + 1]), quint8(77));
    }
};

QTEST_MAIN(PaintingTest)
#include "painting_test.moc"
