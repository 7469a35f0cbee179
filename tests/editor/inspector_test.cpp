// The entity inspector's text, caption and status label.
#include "windowdriver.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace {

// Selects `index` so that the inspector rebuilds, even if it was selected.
void Select(frmVorn& w, int index)
{
    w.hsbEntity->setValue(index == 0 ? 1 : 0);
    w.hsbEntity->setValue(index);
}

} // namespace

class InspectorTest : public QObject {
    Q_OBJECT
private slots:
    void showsFieldsInHexAndDecimal()
    {
        StartedWindow w;
        QVERIFY(w.started);
        w->EntityCount = 8;
        w->PositionEntities();
        w->EntityRecords[5] = {10, 3, 0, 200, 1, 256};
        w->EntityNames[1].clear();
        Select(*w, 5);

        QCOMPARE(w->fraEntity->title(), QStringLiteral("Entity #5"));
        QCOMPARE(w->lblStatus->text(), QStringLiteral("1"));
        // The text box shows the CR LF-joined lines one per line.
        QCOMPARE(w->txtEntity->toPlainText(), QStringLiteral("X:\t0xA\t (10)\n"
                                                             "Y:\t0x3\t (3)\n"
                                                             "Flag:\t0x0\t (0)\n"
                                                             "TSC:\t0xC8\t (200)\n"
                                                             "Type:\t0x1\t (1)\n"
                                                             "???:\t0x100\t (256)"));

        w->EntityNames[1] = QStringLiteral("Behemoth");
        Select(*w, 5);
        QCOMPARE(w->lblStatus->text(), QStringLiteral("1 - Behemoth"));
        QVERIFY(w->txtEntity->toPlainText().endsWith(QStringLiteral("(256)\nBehemoth")));
    }

    void negativeFieldsAndTypesWithoutNames()
    {
        StartedWindow w;
        QVERIFY(w.started);
        w->EntityCount = 4;
        w->PositionEntities();
        w->EntityNames[0] = QStringLiteral("Nothing");
        w->EntityRecords[3] = {0, -1, -32768, 32767, -5, -256};
        Select(*w, 3);
        QCOMPARE(w->lblStatus->text(), QStringLiteral("-5"));
        QCOMPARE(w->txtEntity->toPlainText(), QStringLiteral("X:\t0x0\t (0)\n"
                                                             "Y:\t0xFFFF\t (-1)\n"
                                                             "Flag:\t0x8000\t (-32768)\n"
                                                             "TSC:\t0x7FFF\t (32767)\n"
                                                             "Type:\t0xFFFB\t (-5)\n"
                                                             "???:\t0xFF00\t (-256)"));

        // Beyond the name table, and in it without a name: no name either way.
        for (qint16 type : {qint16(513), qint16(600), qint16(400)}) {
            w->EntityRecords[3].Type = type;
            Select(*w, 3);
            QCOMPARE(w->lblStatus->text(), QString::number(type));
            QCOMPARE(w->txtEntity->toPlainText().count('\n'), 5);
        }
    }

    void rebuildsOnlyWhenTheSelectionChanges()
    {
        StartedWindow w;
        QVERIFY(w.started);
        w->EntityCount = 3;
        w->PositionEntities();
        Select(*w, 1);
        const QString shown = w->txtEntity->toPlainText();
        w->EntityRecords[1].X = qint16(w->EntityRecords[1].X + 1);
        w->hsbEntity->setValue(1);
        QCOMPARE(w->txtEntity->toPlainText(), shown);

        // Stepping past the maximum changes nothing.
        w->hsbEntity->setValue(2);
        w->lblStatus->setText(QStringLiteral("marker"));
        w->hsbEntity->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(w->hsbEntity->value(), 2);
        QCOMPARE(w->lblStatus->text(), QStringLiteral("marker"));

        // A smaller count pulls the selection down, which rebuilds.
        w->EntityCount = 1;
        w->PositionEntities();
        QCOMPARE(w->hsbEntity->value(), 0);
        QCOMPARE(w->fraEntity->title(), QStringLiteral("Entity #0"));
    }
};

QTEST_MAIN(InspectorTest)
#include "inspector_test.moc"
