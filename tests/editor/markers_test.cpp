// Entity markers: placement, pointing, dragging, hiding, the count, and
// the outlines that take their place over sprites.
#include "windowdriver.h"
#include "unrecordededits.h"

#include "entitymarker.h"
#include "mapview.h"
#include "markerdrawing.h"
#include "samplegame.h"
#include "shapeframe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>

namespace {

// Placed markers sit on their records' cells and show unless hidden;
// parked ones are out of reach.
void VerifyLayout(frmVorn& w, bool hidden)
{
    const int z = w.ZoomSize();
    for (int i = 0; i < 256; ++i) {
        const vorn::EntityRecord& r = w.stage().record(i);
        const bool placed = i < w.stage().entityCount();
        QCOMPARE(w.entity(i)->geometry(), placed ? QRect(r.X * z, r.Y * z, z, z) : QRect(-32, -32, z, z));
        QCOMPARE(w.entity(i)->isHidden(), hidden || !placed);
    }
    QCOMPARE(w.hsbEntity()->maximum(), std::max(w.stage().entityCount() - 1, 0));
}

} // namespace

class MarkersTest : public QObject {
    Q_OBJECT
private slots:
    void markersFollowRecordsZoomAndHiding()
    {
        OpenWindow w;
        QVERIFY(w.started);
        QVERIFY(w->stage().entityCount() > 0);
        VerifyLayout(*w.window, false);
        w->cboZoom()->setCurrentIndex(3);
        VerifyLayout(*w.window, false);

        w->chkHideEnts()->click();
        w->cboMap()->setCurrentIndex(14);
        QCOMPARE(w->stage().index(), 14);
        VerifyLayout(*w.window, true);
        w->chkHideEnts()->click();
        VerifyLayout(*w.window, false);
        w->cboMap()->setCurrentIndex(13); // fewer entities: none of the extra show
        VerifyLayout(*w.window, false);

        // Zoom 64 far out needs more than 16 bits.
        vorn::UnrecordedEdits::setRecord(w->stage(), 0, {512, 600, 0, 0, 0, 0});
        w->cboZoom()->setCurrentIndex(5);
        QCOMPARE(w->entity(0)->pos(), QPoint(512 * 64, 600 * 64));
    }

    void pointingSelectsAndLeftDragMovesCellByCell()
    {
        OpenWindow w;
        QVERIFY(w.started);
        vorn::UnrecordedEdits::setEntityCount(w->stage(), 6);
        vorn::UnrecordedEdits::setRecord(w->stage(), 5, {4, 2, 0, 0, 0, 0});
        w->PositionEntities();
        vorn::EntityMarker* marker = w->entity(5);

        Send(marker, QEvent::MouseMove, QPoint(3, 3), Qt::NoButton);
        QCOMPARE(w->fraEntity()->title(), QStringLiteral("Entity #5"));
        QCOMPARE(w->lblPos()->text(), QStringLiteral("4x2"));

        // 3 pixels right of the boundary between cells 4 and 5.
        Send(marker, QEvent::MouseButtonPress, QPoint(3, 3), Qt::LeftButton, Qt::LeftButton);
        Send(marker, QEvent::MouseMove, QPoint(80 + 3 - 64, 3), Qt::LeftButton);
        QCOMPARE(marker->pos(), QPoint(80, 32));
        QCOMPARE(w->stage().record(5).X, qint16(5));
        Send(marker, QEvent::MouseMove, QPoint(-200, -100), Qt::LeftButton);
        QCOMPARE(marker->pos(), QPoint(0, 0));
        QCOMPARE(w->stage().record(5), (vorn::EntityRecord{0, 0, 0, 0, 0, 0}));
        Send(marker, QEvent::MouseMove, QPoint(40, 40), Qt::LeftButton | Qt::RightButton);
        QCOMPARE(marker->pos(), QPoint(0, 0));
    }

    void onlyPlacedMarkersTakeThePointer()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        vorn::UnrecordedEdits::setEntityCount(w->stage(), 2);
        vorn::UnrecordedEdits::setRecord(w->stage(), 0, {5, 5, 0, 0, 0, 0});
        vorn::UnrecordedEdits::setRecord(w->stage(), 1, {3, 3, 0, 0, 0, 0});
        w->PositionEntities();
        w->hsbEntity()->setValue(0);
        vorn::UnrecordedEdits::setCell(w->stage(), 3, 3, 9);
        w->SetSelectedTile(40);

        // Through the window, so that events land on whatever lies on top.
        QWindow* window = w->windowHandle();
        const QPoint onMarker = w->entity(1)->mapTo(w.window.get(), QPoint(8, 8));
        QTest::mouseMove(window, onMarker);
        QCOMPARE(w->hsbEntity()->value(), 1);
        QTest::mouseClick(window, Qt::LeftButton, {}, onMarker);
        QTest::mouseClick(window, Qt::MiddleButton, {}, onMarker);
        QCOMPARE(w->stage().cell(3, 3), quint8(9));
        QCOMPARE(w->SelectedTile(), quint8(40));

        // At zoom 64 parked markers would reach into the map's corner.
        w->cboZoom()->setCurrentIndex(5);
        w->chkHideEnts()->click();
        w->chkHideEnts()->click();
        vorn::UnrecordedEdits::setCell(w->stage(), 0, 0, 7);
        QTest::mouseClick(window, Qt::RightButton, {}, w->picMap()->mapTo(w.window.get(), QPoint(10, 10)));
        QCOMPARE(w->SelectedTile(), quint8(7));
    }

    // With "Sprites" on (key S) an entity drawn as its sprite keeps only an
    // outline of its cell, the selected one's in a colour of its own; one
    // without a sprite keeps the marker picture.
    void spritesTakeTheMarkersPlaceOnlyWhereTheyDraw()
    {
        using namespace vorn;
        OpenWindow w;
        QVERIFY(w.started);
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        // The map view's pixel at `at` in entity `index`'s cell, markers included.
        const auto shown = [&](int index, QPoint at) {
            w->shpCursor()->hide();
            QImage img(w->picMap()->size(), QImage::Format_RGB32);
            w->picMap()->render(&img, QPoint(), QRegion(w->picMap()->rect()),
                                QWidget::DrawWindowBackground | QWidget::DrawChildren);
            return img.pixel(w->entity(index)->pos() + at);
        };
        const QRgb pictureBlack = qRgb(0, 0, 0); // the marker picture's pixel (2,0)
        QCOMPARE(shown(kSampleRightFacingEntity, {2, 0}), pictureBlack);

        w->picMap()->setFocus();
        QTest::keyClick(w->picMap(), Qt::Key_S);
        QVERIFY(w->ShowsSprites());
        QVERIFY(w->DrawsSprite(kSampleRightFacingEntity) && w->DrawsSprite(kSampleOffCentreEntity));
        QVERIFY(!w->DrawsSprite(kSampleZeroFrameEntity));
        QCOMPARE(shown(kSampleRightFacingEntity, {15, 15}), kOutline);
        QCOMPARE(shown(0, {0, 0}), kOutline); // the selector rests on 0, but nothing is selected yet
        QCOMPARE(shown(kSampleZeroFrameEntity, {2, 0}), pictureBlack);
        // The outline's second colour marks the picked entity: pointing
        // selects, a press picks.
        Send(w->entity(kSampleRightFacingEntity), QEvent::MouseMove, QPoint(3, 3), Qt::NoButton);
        QCOMPARE(shown(kSampleRightFacingEntity, {0, 0}), kOutline);
        Send(w->entity(kSampleRightFacingEntity), QEvent::MouseButtonPress, QPoint(3, 3), Qt::LeftButton,
             Qt::LeftButton);
        Send(w->entity(kSampleRightFacingEntity), QEvent::MouseButtonRelease, QPoint(3, 3), Qt::NoButton,
             Qt::LeftButton);
        QCOMPARE(shown(kSampleRightFacingEntity, {0, 0}), kSelectedOutline);
        QCOMPARE(shown(kSampleOffCentreEntity, {0, 0}), kOutline);
        QCOMPARE(w->EntityToolTip(kSampleRightFacingEntity),
                 QStringLiteral("Entity 4: type 60 Toroko\nX 11, Y 2\nFlag 0, event 0\n"
                                "spawns facing right, event on touch"));

        // An unknown type and a sheet the game lacks: markers, and the
        // status bar names the sheet.
        w->cboMap()->setCurrentIndex(kSampleMissingSheet2Stage);
        QCOMPARE(w->stage().index(), kSampleMissingSheet2Stage);
        QVERIFY(!w->DrawsSprite(kSampleUnknownTypeEntity) && !w->DrawsSprite(kSampleMissingSheetEntity));
        QVERIFY(w->DrawsSprite(kSampleTilesetEntity));
        QCOMPARE(shown(kSampleMissingSheetEntity, {2, 0}), pictureBlack);
        QVERIFY2(w->lblStatus()->text().contains("npcLantern.pbm"), qPrintable(w->lblStatus()->text()));
        QTest::keyClick(w->picMap(), Qt::Key_S);
        QVERIFY(!w->ShowsSprites() && !w->DrawsSprite(kSampleTilesetEntity));
    }

    void countPromptAnswers()
    {
        OpenWindow w;
        QVERIFY(w.started);
        std::optional<QString> answer;
        w->inputHook = [&](const QString& prompt, const QString& preset) {
            if (prompt != "Enter desired number of entities." || preset != QString::number(w->stage().entityCount()))
                qFatal("unexpected prompt");
            return answer;
        };
        const qint16 original = w->stage().entityCount();
        for (auto given :
             {std::optional<QString>(), std::optional<QString>(""), std::optional<QString>("0"),
              std::optional<QString>("0.7"), std::optional<QString>("-1"), std::optional<QString>("343")}) {
            answer = given;
            w->cmdChangEntCt_Click();
            QCOMPARE(w->stage().entityCount(), original);
        }
        QCOMPARE(w.messages, QStringList(2, "The number of entities must be from 1 to 342."));

        answer = QStringLiteral("12 entities");
        w->cmdChangEntCt_Click();
        QCOMPARE(w->stage().entityCount(), qint16(12));
        VerifyLayout(*w.window, false);
        answer = QStringLiteral(" 3.9");
        w->cmdChangEntCt_Click();
        QCOMPARE(w->stage().entityCount(), qint16(3));
        VerifyLayout(*w.window, false);
    }
};

QTEST_MAIN(MarkersTest)
#include "markers_test.moc"
