// The map view with sprites on follows an entity's event number where the
// game picks its frame by it: an edit shows at once, and so does its undo.
#include "frmVorn.h"
#include "mapview.h"
#include "samplegame.h"
#include "spritedrawing.h"
#include "stagedocument.h"
#include "testgame.h"
#include "unrecordededits.h"

#include <QCheckBox>
#include <QTest>

class FirstFrameTest : public QObject {
    Q_OBJECT

private slots:
    void aSpikeTurnsWithItsEventAndBackOnUndo()
    {
        TestGame game;
        // A sheet reaching the spikes' frames, each pixel telling its place.
        QImage sheet(320, 240, QImage::Format_RGB32);
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x)
                sheet.setPixel(x, y, qRgb(x % 256, y, 1 + x / 256));
        QVERIFY(sheet.save(game.path(QStringLiteral("data/Npc/NpcSym.pbm")), "BMP"));
        frmVorn w(game.gameDir(), game.programDir());
        w.messageHook = [](const QString& text, QMessageBox::Icon) { QFAIL(qPrintable(text)); };
        QVERIFY(w.Form_Load());
        QCOMPARE(w.stage().index(), vorn::kSampleSmallStage);
        w.chkSprites()->click();

        // The last entity, drawn over all others, becomes spikes on a cell
        // whose tile stands behind the entities.
        vorn::StageDocument& stage = w.stage();
        const int last = stage.entityCount() - 1;
        int behind = 0;
        while (stage.tileType(behind) >= 0x20)
            ++behind;
        vorn::UnrecordedEdits::setCell(stage, 2, 2, quint8(behind));
        vorn::EntityRecord spikes = stage.record(last);
        spikes.X = 2;
        spikes.Y = 2;
        spikes.Type = 211;
        spikes.TSC = 0;
        stage.editRecord(last, spikes);
        const auto shows = [&](int left) {
            const auto placed =
                vorn::PlaceSprite(stage.record(last), stage.sheets(), stage.npcTable(), vorn::SpriteMoment::FirstFrame);
            if (!placed || placed->frame != QRect(left, 200, 16, 16))
                return false;
            QImage drawn(16, 16, QImage::Format_RGB32);
            w.picMap()->render(&drawn, QPoint(), QRegion(QRect(placed->topLeft, QSize(16, 16))),
                               QWidget::DrawWindowBackground);
            return drawn == sheet.copy(left, 200, 16, 16);
        };
        QVERIFY(shows(256));
        spikes.TSC = 2;
        stage.editRecord(last, spikes);
        QVERIFY(shows(288));
        QVERIFY(w.EntityToolTip(last).contains(QLatin1String("event number")));
        w.UndoEdit();
        QCOMPARE(stage.record(last).TSC, qint16(0));
        QVERIFY(shows(256));
    }
};

QTEST_MAIN(FirstFrameTest)
#include "firstframe_test.moc"
