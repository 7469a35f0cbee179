// Window layout: panels, scroll ranges, corner square, title and the
// splitter drag, at the designed client area.
#include "frmVorn.h"
#include "layoutwidgets.h"
#include "mapview.h"
#include "testgame.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace {

void SendMouse(QWidget* target, QEvent::Type type, int y, Qt::MouseButton button, Qt::MouseButtons held)
{
    const QPointF pos(10, y);
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestGame> game;
    std::unique_ptr<frmVorn> w;

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

    void designedRectangles()
    {
        QCOMPARE(w->size(), QSize(739, 418));
        QCOMPARE(w->picToolbar()->geometry(), QRect(0, 0, 739, 25));
        QCOMPARE(w->picStatusbar()->geometry(), QRect(0, 397, 739, 21));
        QCOMPARE(w->picSidebar()->geometry(), QRect(570, 25, 169, 372));
        QCOMPARE(w->picTilePanel()->geometry(), QRect(0, 26, 277, 110));
        QCOMPARE(w->picMapPanel()->geometry(), QRect(0, 142, 570, 255));
        QCOMPARE(w->imgSplitter()->geometry(), QRect(0, 136, 570, 6));
        QCOMPARE(w->lblCaption()->pos(), QPoint(682, 4));
        QCOMPARE(w->imgIcon()->pos(), QPoint(666, 4));
        QCOMPARE(w->cboMap()->geometry(), QRect(48, 2, 185, 21));
        QCOMPARE(w->cboZoom()->geometry(), QRect(80, 306, 81, 21));
        QCOMPARE(w->vsbTile()->geometry(), QRect(256, 0, 17, 106));
        QCOMPARE(w->findChild<QWidget*>("cmdMapProps")->geometry(), QRect(368, 2, 65, 21));
    }

    void scrollRanges()
    {
        // Palette: 110 outer against a 256-high tileset is -9.125: -9.
        w->picTileset()->resize(256, 256);
        w->Form_Resize();
        QVERIFY(!w->vsbTile()->isHidden());
        QCOMPARE(frmVorn::ScrollMax(w->vsbTile()), -9);
        // Halves go to the even step: -24 pixels (-1.5) and -40 (-2.5) both give -2.
        w->picTileset()->resize(256, 110 + 24);
        w->Form_Resize();
        QCOMPARE(frmVorn::ScrollMax(w->vsbTile()), -2);
        w->picTileset()->resize(256, 110 + 40);
        w->Form_Resize();
        QCOMPARE(frmVorn::ScrollMax(w->vsbTile()), -2);

        // Map panel 570 x 255 outer: the same rounding, unless it would leave
        // part of the map's last row out of reach.
        w->picMap()->resize(570 - 17, 255 + 24); // -1.5
        w->Form_Resize();
        QCOMPARE(frmVorn::ScrollMax(w->vsbMap()), -2);
        QVERIFY(w->hsbMap()->isHidden()); // as wide as the bar leaves: no bar, border or not
        QVERIFY(!w->vsbMap()->isHidden());
        QVERIFY(w->picCorner()->isHidden());
        w->picMap()->resize(570 - 17, 255 + 40); // -2.5, but two steps leave 12 pixels hidden
        w->Form_Resize();
        QCOMPARE(frmVorn::ScrollMax(w->vsbMap()), -3);

        // A value beyond a shrunken range follows to its nearest end.
        frmVorn::SetScrollValue(w->vsbMap(), -3);
        w->picMap()->resize(570 - 17, 255 + 16);
        w->Form_Resize();
        QCOMPARE(frmVorn::ScrollMax(w->vsbMap()), -2);
        QCOMPARE(frmVorn::ScrollValue(w->vsbMap()), -2);
    }

    void cornerSquareWhenBothBarsShow()
    {
        w->picMap()->resize(2000, 2000);
        w->Form_Resize();
        const int innerW = 570 - 4, innerH = 255 - 4;
        QVERIFY(!w->picCorner()->isHidden());
        QCOMPARE(w->picCorner()->geometry(), QRect(innerW - 17, innerH - 17, 17, 17));
        QCOMPARE(w->hsbMap()->geometry(), QRect(0, innerH - 17, innerW - 17, 17));
        QCOMPARE(w->vsbMap()->geometry(), QRect(innerW - 17, 0, 17, innerH - 17));
        QVERIFY(frmVorn::ScrollMax(w->hsbMap()) < 0);
    }

    // Scrolled to its ends, the map shows its last column and row whole, at
    // every zoom and wherever the splitter is: neither rounding nor a bar
    // lying over the map may keep a cell out of reach.
    void theMapsEndIsReachable()
    {
        const auto lastCellShows = [this] {
            frmVorn::SetScrollValue(w->hsbMap(), frmVorn::ScrollMax(w->hsbMap()));
            frmVorn::SetScrollValue(w->vsbMap(), frmVorn::ScrollMax(w->vsbMap()));
            QRect room = w->picMap()->parentWidget()->rect();
            if (!w->vsbMap()->isHidden())
                room.setRight(w->vsbMap()->x() - 1);
            if (!w->hsbMap()->isHidden())
                room.setBottom(w->hsbMap()->y() - 1);
            const int z = w->ZoomSize();
            const QRect last((w->stage().width() - 1) * z, (w->stage().height() - 1) * z, z, z);
            return room.contains(last.translated(w->picMap()->pos()));
        };
        w->cboMap()->setCurrentIndex(15); // 513 x 513
        for (int zoom = 0; zoom < 6; ++zoom) {
            w->cboZoom()->setCurrentIndex(zoom);
            for (int split : {112, 150, 173, 200}) {
                w->picSplitter()->move(0, split);
                w->Form_Resize();
                QVERIFY2(lastCellShows(), qPrintable(QString("zoom %1, split %2").arg(zoom).arg(split)));
            }
        }
        // As wide as the panel, but a vertical bar lies over its right edge.
        w->cboZoom()->setCurrentIndex(1);
        w->picMap()->resize(570, 2000);
        w->Form_Resize();
        QVERIFY(!w->hsbMap()->isHidden());
        QCOMPARE(frmVorn::ScrollMax(w->hsbMap()), -2); // 21 pixels under bar and border
    }

    void splitterDragIsClamped()
    {
        auto* hit = w->imgSplitter();
        SendMouse(hit, QEvent::MouseButtonPress, 2, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(w->imgSplitterTag(), QStringLiteral("^_^"));
        QVERIFY(!w->picSplitter()->isHidden());
        SendMouse(hit, QEvent::MouseMove, 60 - 136, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(w->picSplitter()->y(), 112);
        QCOMPARE(w->picTilePanel()->height(), 112 - 26);
        QCOMPARE(w->imgSplitter()->y(), 136); // the hit area waits for release
        SendMouse(hit, QEvent::MouseMove, 400 - 136, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(w->picSplitter()->y(), 418 - 64);
        QCOMPARE(w->picMapPanel()->height(), 418 - (418 - 64 + 6) - 21);
        SendMouse(hit, QEvent::MouseMove, 200 - 136, Qt::NoButton, Qt::LeftButton);
        SendMouse(hit, QEvent::MouseButtonRelease, 200 - 136, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(w->imgSplitterTag(), QStringLiteral("-_-"));
        QVERIFY(w->picSplitter()->isHidden());
        QCOMPARE(w->imgSplitter()->y(), 200);
        // Moves after release do nothing.
        SendMouse(hit, QEvent::MouseMove, 10, Qt::NoButton, Qt::NoButton);
        QCOMPARE(w->picSplitter()->y(), 200);
    }

    void tinyWindowGivesNoNegativeSizes()
    {
        w->show();
        w->resize(100, 60);
        QCOMPARE(w->size(), QSize(100, 60));
        QCOMPARE(w->picMapPanel()->size(), QSize(0, 0));
        QCOMPARE(w->picTilePanel()->height(), 110);
    }

    // Where the design's fonts are missing, captions still show whole in
    // their designed rectangles.
    void captionsFitTheirControls()
    {
        for (const QPushButton* button : w->findChildren<QPushButton*>()) {
            const int needed = button->fontMetrics().horizontalAdvance(button->text());
            QVERIFY2(needed <= button->width() - 6, qPrintable(button->text()));
        }
        const QFontMetrics title(w->lblCaption()->font());
        QVERIFY(title.boundingRect(w->lblCaption()->text()).right() < w->lblCaption()->width());
        QCOMPARE(w->lblCaption()->width(), 49);
        QVERIFY(w->lblPos()->fontMetrics().horizontalAdvance(QStringLiteral("512x512")) <= w->lblPos()->width());
    }

    // The "»" menu sits in the toolbar's free space after "Edit"; each entry
    // shows its key, and the key works without opening the menu.
    void windowsMenuAfterTheLastButton()
    {
        auto* more = w->findChild<QToolButton*>("cmdWindows");
        QCOMPARE(more->geometry(), QRect(628, 2, 18, 21));
        QCOMPARE(more->menu()->actions().first()->text(), QStringLiteral("Stages"));
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QVERIFY(more->isVisible());
        int runs = 0;
        QAction* entry =
            w->AddMenuCommand(QStringLiteral("Other"), QKeySequence(Qt::CTRL | Qt::Key_K), [&runs] { ++runs; });
        QVERIFY(more->isEnabled());
        QCOMPARE(more->menu()->actions().last(), entry);
        QCOMPARE(entry->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_K));
        QVERIFY(more->toolTip().contains(QStringLiteral("Stages (Ctrl+T)")));
        QVERIFY(more->toolTip().endsWith(QStringLiteral("Other (Ctrl+K)")));
        entry->trigger();
        QTest::keyClick(w.get(), Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(runs, 2);
    }

    void statusBarFrameLines()
    {
        QImage img(w->picStatusbar()->size(), QImage::Format_RGB32);
        w->picStatusbar()->render(&img, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        const QRgb shadow = w->picStatusbar()->palette().color(QPalette::Dark).rgb();
        const QRgb light = w->picStatusbar()->palette().color(QPalette::Light).rgb();
        QCOMPARE(img.pixel(8, 2), shadow);
        QCOMPARE(img.pixel(40, 2), shadow);
        QCOMPARE(img.pixel(8, 19), shadow);
        QCOMPARE(img.pixel(73, 10), light);
        QCOMPARE(img.pixel(40, 20), light);
        QCOMPARE(img.pixel(73, 20), light);
    }
};

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
