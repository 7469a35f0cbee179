// Entity markers: placement, pointing, dragging, hiding and the count.
#include "windowdriver.h"

#include "entitymarker.h"
#include "mapview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace {

// Placed markers sit on their records' cells and show unless hidden; the
// rest are parked out of reach.
void VerifyLayout(frmVorn& w, bool hidden)
{
    const int z = w.ZoomSize;
    for (int i = 0; i < 256; ++i) {
        const vorn::EntityMarker* marker = w.entity[i];
        QVERIFY(marker);
        if (i < w.EntityCount) {
            const vorn::EntityRecord& r = w.EntityRecords[i];
            QCOMPARE(marker->geometry(), QRect(r.X * z, r.Y * z, z, z));
            QCOMPARE(marker->isHidden(), hidden);
        } else {
            QCOMPARE(marker->geometry(), QRect(-32, -32, z, z));
            QVERIFY(marker->isHidden());
        }
    }
    QCOMPARE(w.hsbEntity->maximum(), std::max(w.EntityCount - 1, 0));
}

QStringList Shown(frmVorn& w)
{
    QStringList shown;
    for (int i = 0; i < 256; ++i)
        if (!w.entity[i]->isHidden())
            shown << QString::number(i);
    return shown;
}

} // namespace

class MarkersTest : public QObject {
    Q_OBJECT
private slots:
    void pictureIsTheDesignedSixteenBySixteen()
    {
        const QImage& picture = vorn::EntityMarker::Picture();
        QCOMPARE(picture.size(), QSize(16, 16));
        QCOMPARE(picture.pixel(0, 0), qRgba(0, 0, 0, 0));
        QCOMPARE(picture.pixel(2, 0), qRgba(0, 0, 0, 255));
        QCOMPARE(picture.pixel(7, 3), qRgba(255, 255, 255, 255));
        QCOMPARE(picture.pixel(15, 15), qRgba(0, 0, 0, 255));
        QCOMPARE(picture.pixel(14, 15), qRgba(0, 0, 0, 0));
    }

    void markersFollowRecordsAndZoom()
    {
        StartedWindow w;
        QVERIFY(w.started);
        QVERIFY(w->EntityCount > 0);
        VerifyLayout(*w, false);

        w->cboZoom->setCurrentIndex(3); // 32
        VerifyLayout(*w, false);

        // Zoom 64 far out: the product needs more than 16 bits.
        w->EntityRecords[0].X = 512;
        w->EntityRecords[0].Y = 600;
        w->cboZoom->setCurrentIndex(5);
        QCOMPARE(w->entity[0]->pos(), QPoint(512 * 64, 600 * 64));

        w->EntityCount = 0;
        w->PositionEntities();
        VerifyLayout(*w, false);
        QCOMPARE(w->hsbEntity->value(), 0);
    }

    void pointingSelectsAndLeftDragMovesCellByCell()
    {
        StartedWindow w;
        QVERIFY(w.started);
        w->EntityCount = 6;
        w->EntityRecords[5] = {4, 2, 0, 0, 0, 0};
        w->EntityRecords[2] = {7, 7, 0, 0, 0, 0};
        w->PositionEntities();
        vorn::EntityMarker* marker = w->entity[5];
        QCOMPARE(marker->pos(), QPoint(64, 32));

        // Pointing alone selects, and the cursor follows the marker's cell.
        SendMove(marker, QPoint(3, 3), Qt::NoButton);
        QCOMPARE(w->hsbEntity->value(), 5);
        QCOMPARE(w->fraEntity->title(), QStringLiteral("Entity #5"));
        QCOMPARE(w->lblPos->text(), QStringLiteral("4x2"));
        const QString shown = w->txtEntity->toPlainText();

        // Pointer 3 pixels right of the boundary between cells 4 and 5.
        SendPress(marker, QPoint(3, 3), Qt::LeftButton, Qt::LeftButton);
        SendMove(marker, QPoint(80 + 3 - 64, 3), Qt::LeftButton);
        QCOMPARE(marker->pos(), QPoint(80, 32));
        QCOMPARE(w->EntityRecords[5].X, qint16(5));
        QCOMPARE(w->EntityRecords[5].Y, qint16(2));
        QCOMPARE(w->txtEntity->toPlainText(), shown); // a drag step does not rebuild

        // Past the map's left and top edges the marker stops at 0.
        SendMove(marker, QPoint(-200, -100), Qt::LeftButton);
        QCOMPARE(marker->pos(), QPoint(0, 0));
        QCOMPARE(w->EntityRecords[5].X, qint16(0));
        QCOMPARE(w->EntityRecords[5].Y, qint16(0));
        // No bound to the right or down.
        SendMove(marker, QPoint(w->MapWidth * 16 + 40, 5), Qt::LeftButton);
        QCOMPARE(int(w->EntityRecords[5].X), w->MapWidth + 2);
        SendRelease(marker, QPoint(0, 0), Qt::LeftButton, Qt::NoButton);

        // Left and right together move nothing.
        const QPoint at = marker->pos();
        SendMove(marker, QPoint(40, 40), Qt::LeftButton | Qt::RightButton);
        QCOMPARE(marker->pos(), at);

        // Pointing at another marker moves the selection.
        SendMove(w->entity[2], QPoint(1, 1), Qt::NoButton);
        QCOMPARE(w->fraEntity->title(), QStringLiteral("Entity #2"));
    }

    void pressesOnAMarkerNeverReachTheMap()
    {
        StartedWindow w;
        QVERIFY(w.started);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        w->EntityCount = 2;
        w->EntityRecords[0] = {5, 5, 0, 0, 0, 0};
        w->EntityRecords[1] = {3, 3, 0, 0, 0, 0};
        w->PositionEntities();
        w->hsbEntity->setValue(0);
        w->TileGrid.at(3, 3) = 9;
        w->SelectedTile = 40;

        // Through the window, so that the event lands on whatever lies on top.
        QWindow* window = w->windowHandle();
        const QPoint onMarker = w->entity[1]->mapTo(w.window.get(), QPoint(8, 8));
        QTest::mouseMove(window, onMarker);
        QCOMPARE(w->hsbEntity->value(), 1);
        QTest::mouseClick(window, Qt::LeftButton, {}, onMarker);
        QTest::mouseClick(window, Qt::MiddleButton, {}, onMarker);
        QCOMPARE(w->TileGrid.at(3, 3), quint8(9));
        QCOMPARE(w->SelectedTile, quint8(40));

        // At zoom 64 a parked marker reaches into the map's corner: there
        // the map gets the press, not a marker beyond the count.
        w->cboZoom->setCurrentIndex(5);
        w->chkHideEnts->click();
        w->chkHideEnts->click();
        w->TileGrid.at(0, 0) = 7;
        const QPoint corner = w->picMap->mapTo(w.window.get(), QPoint(10, 10));
        QTest::mouseClick(window, Qt::RightButton, {}, corner);
        QCOMPARE(w->SelectedTile, quint8(7));
        QCOMPARE(w->hsbEntity->maximum(), 1);
    }

    void hideEntitiesHoldsAcrossStageLoads()
    {
        StartedWindow w;
        QVERIFY(w.started);
        w->chkHideEnts->click();
        QVERIFY(w->chkHideEnts->isChecked());
        QVERIFY(Shown(*w).isEmpty());

        w->cboMap->setCurrentIndex(14);
        QCOMPARE(w->openStage, 14);
        VerifyLayout(*w, true);

        w->chkHideEnts->click();
        VerifyLayout(*w, false);
        QCOMPARE(Shown(*w).size(), int(w->EntityCount));

        // A stage with fewer entities leaves none of the extra markers shown.
        w->cboMap->setCurrentIndex(13);
        VerifyLayout(*w, false);
    }

    void countPromptAnswers()
    {
        StartedWindow w;
        QVERIFY(w.started);
        QString prompt, preset;
        std::optional<QString> answer;
        w->inputHook = [&](const QString& p, const QString& s) {
            prompt = p;
            preset = s;
            return answer;
        };
        const qint16 original = w->EntityCount;

        for (const std::optional<QString>& unchanged :
             {std::optional<QString>(), std::optional<QString>(""), std::optional<QString>("0"),
              std::optional<QString>("abc"), std::optional<QString>("0.7")}) {
            answer = unchanged;
            w->cmdChangEntCt_Click();
            QCOMPARE(w->EntityCount, original);
        }
        QCOMPARE(prompt, QStringLiteral("Enter desired number of entities."));
        QCOMPARE(preset, QString::number(original));
        QVERIFY(w.messages.isEmpty());

        for (const QString& refused : {QStringLiteral("-1"), QStringLiteral("257"),
                                       QStringLiteral("-0.5"), QStringLiteral("1e9")}) {
            answer = refused;
            w->cmdChangEntCt_Click();
            QCOMPARE(w->EntityCount, original);
        }
        QCOMPARE(w.messages.size(), 4);
        QCOMPARE(w.messages.first(), QStringLiteral("The number of entities must be from 1 to 256."));

        answer = QStringLiteral("12 entities");
        w->cmdChangEntCt_Click();
        QCOMPARE(w->EntityCount, qint16(12));
        VerifyLayout(*w, false);

        answer = QStringLiteral(" 3.9");
        w->cmdChangEntCt_Click();
        QCOMPARE(w->EntityCount, qint16(3));
        VerifyLayout(*w, false);
        QCOMPARE(w->hsbEntity->maximum(), 2);

        answer = QStringLiteral("256");
        w->cmdChangEntCt_Click();
        QCOMPARE(w->EntityCount, qint16(256));
        VerifyLayout(*w, false);
    }
};

QTEST_MAIN(MarkersTest)
#include "markers_test.moc"
