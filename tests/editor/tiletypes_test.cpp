// Tile types a user can read: every value named, marks that leave the art
// in view, and the legend of the marks a stage shows.
#include "windowdriver.h"
#include "unrecordededits.h"

#include "inifile.h"
#include "mapview.h"
#include "samplegame.h"
#include "tiletypedrawing.h"
#include "tiletypelegend.h"
#include "tiletypes.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace {

// Pixels of a 16-pixel sample that the mark of `type` changed.
int MarkedPixels(quint8 type)
{
    const QImage sample = vorn::TileTypeSample(type, 16);
    int changed = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            changed += sample.pixel(x, y) != qRgb(128, 128, 128);
    return changed;
}

void Wheel(QWidget* target, QPoint angle, Qt::KeyboardModifiers modifiers)
{
    QWheelEvent event(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), angle, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

} // namespace

class TileTypesTest : public QObject {
    Q_OBJECT
private slots:
    void everyValueHasANameAndMarksKeepTheArt()
    {
        QCOMPARE(vorn::TileTypeText(0x01), QStringLiteral("0x01 background, no effect"));
        QCOMPARE(vorn::TileTypeText(0x40), QStringLiteral("0x40 foreground, no effect"));
        QCOMPARE(vorn::TileTypeText(0x45), QStringLiteral("0x45 foreground, no effect"));
        QCOMPARE(vorn::TileTypeText(0x06), QStringLiteral("0x06 no effect, behind"));
        QCOMPARE(vorn::TileTypeText(0x47), QStringLiteral("0x47 no effect, in front"));
        QCOMPARE(vorn::TileTypeText(0x3f), QStringLiteral("0x3f no effect, not drawn"));
        QCOMPARE(vorn::TileTypeText(0x84), QStringLiteral("0x84 no effect, not drawn"));

        // The commonest types showed a number over most of the tile.
        QCOMPARE(MarkedPixels(0x01), 0);
        for (const quint8 type : {0x40, 0x45, 0x47, 0xff})
            QVERIFY2(MarkedPixels(type) > 0 && MarkedPixels(type) <= 16 * 16 / 4, qPrintable(QString::number(type)));
        QVERIFY(MarkedPixels(0x41) > 0);
    }

    void legendNamesTheKindsOnTheMapAndIsKept()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QCOMPARE(w->stage().tileType(241), quint8(0x40));

        // The palette's tooltip names the tile's type.
        Send(w->picTileset(), QEvent::MouseMove, QPoint(1 * 16 + 3, 15 * 16 + 3), Qt::NoButton);
        QVERIFY(w->picTileset()->toolTip().startsWith(QStringLiteral("Tile 241 \u00b7 0x40 foreground, no effect\n")));

        const QAction* entry = nullptr;
        for (const QAction* each : w->findChild<QMenu*>("mnuWindows")->actions())
            if (each->text() == QStringLiteral("Tile Type Legend"))
                entry = each;
        QVERIFY(entry && entry->toolTip().contains("(L)"));

        QVERIFY(!w->TileTypeLegendWindow());
        w->picMap()->setFocus();
        QTest::keyClick(w->picMap(), Qt::Key_L);
        vorn::TileTypeLegend* legend = w->TileTypeLegendWindow();
        QVERIFY(legend && legend->isVisible());
        QVERIFY(!legend->meanings().contains("in front of entities"));
        QVERIFY(legend->meanings().contains("solid"));

        // It follows the map: a foreground tile painted in adds its kind.
        vorn::UnrecordedEdits::setCell(w->stage(), 0, 0, 241);
        QTRY_VERIFY(legend->meanings().contains("in front of entities"));

        QTest::qWait(frmVorn::kSettingsDelayMs + 500);
        QCOMPARE(vorn::INIRead(w.game.settingsPath(), "Main", "Show Tile Type Legend"), QStringLiteral("1"));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w->picMap()->setFocus();
        QTest::keyClick(w->picMap(), Qt::Key_L);
        QVERIFY(!legend->isVisible());
    }

    // Ctrl+wheel zooms the palette; picking and the frame follow the zoom.
    void paletteZoomsAndIsKept()
    {
        OpenWindow w;
        QVERIFY(w.started);
        vorn::TilesetView* palette = w->picTileset();
        const QSize plain = palette->size();
        Wheel(palette, QPoint(0, 120), Qt::NoModifier); // a plain wheel is the window's, as before
        QCOMPARE(w->PaletteZoom(), 1);
        Wheel(palette, QPoint(0, 120), Qt::ControlModifier);
        QCOMPARE(w->PaletteZoom(), 2);
        QCOMPARE(palette->size(), plain * 2);

        Send(palette, QEvent::MouseButtonPress, QPoint(3 * 32 + 5, 1 * 32 + 5), Qt::LeftButton, Qt::LeftButton);
        Send(palette, QEvent::MouseButtonRelease, QPoint(3 * 32 + 5, 1 * 32 + 5), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(w->SelectedTile(), quint8(19));
        QCOMPARE(w->findChild<QWidget*>("shpTile")->geometry(), QRect(96, 32, 33, 33));

        const int left = palette->x();
        Wheel(palette, QPoint(0, -120), Qt::ShiftModifier);
        QVERIFY(palette->x() < left);

        QTest::qWait(frmVorn::kSettingsDelayMs + 500);
        QCOMPARE(vorn::INIRead(w.game.settingsPath(), "Palette", "Zoom"), QStringLiteral("2"));
        Wheel(palette, QPoint(0, -120), Qt::ControlModifier);
        QCOMPARE(w->PaletteZoom(), 1);
        QCOMPARE(palette->size(), plain);
        QCOMPARE(palette->x(), left);
        QCOMPARE(w->findChild<QWidget*>("shpTile")->geometry(), QRect(48, 16, 17, 17));
    }
};

QTEST_MAIN(TileTypesTest)
#include "tiletypes_test.moc"
