// The entity inspector's text, caption and status label.
#include "windowdriver.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

class InspectorTest : public QObject {
    Q_OBJECT
private slots:
    void showsFieldsInHexAndDecimalWithTheName()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->hsbEntity->setValue(1); // by the name the program ships
        QCOMPARE(w->lblStatus->text(), QStringLiteral("2 - Behemoth"));
        w->stage().setEntityCount(8);
        w->PositionEntities();
        w->stage().setRecord(5, {10, 3, 0, 200, 1, 256});
        w->stage().setRecord(6, {0, -1, -32768, 32767, 1, -256});
        w->stage().setRecord(7, {0, 0, 0, 0, -5, 0});
        w->EntityNames[1].clear();
        w->hsbEntity->setValue(5);
        QCOMPARE(w->fraEntity->title(), QStringLiteral("Entity #5"));
        QCOMPARE(w->lblStatus->text(), QStringLiteral("1"));
        // The text box shows the CR LF-joined lines one per line.
        QCOMPARE(w->txtEntity->toPlainText(),
                 QStringLiteral("X:\t0xA\t (10)\nY:\t0x3\t (3)\nFlag:\t0x0\t (0)\n"
                                "TSC:\t0xC8\t (200)\nType:\t0x1\t (1)\n???:\t0x100\t (256)"));

        w->EntityNames[1] = QStringLiteral("Behemoth");
        w->hsbEntity->setValue(6);
        QCOMPARE(w->lblStatus->text(), QStringLiteral("1 - Behemoth"));
        QCOMPARE(w->txtEntity->toPlainText(),
                 QStringLiteral("X:\t0x0\t (0)\nY:\t0xFFFF\t (-1)\nFlag:\t0x8000\t (-32768)\n"
                                "TSC:\t0x7FFF\t (32767)\nType:\t0x1\t (1)\n???:\t0xFF00\t (-256)\nBehemoth"));

        // Each field line fits the box on one line, TABs and all.
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        w->hsbEntity->setValue(5);
        w->txtEntity->viewport()->repaint();
        for (QTextBlock block = w->txtEntity->document()->begin(); block.isValid(); block = block.next())
            QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));

        // A type outside the name table has no name.
        w->hsbEntity->setValue(7);
        QCOMPARE(w->lblStatus->text(), QStringLiteral("-5"));
        QVERIFY(w->txtEntity->toPlainText().endsWith(QStringLiteral("???:\t0x0\t (0)")));
    }
};

QTEST_MAIN(InspectorTest)
#include "inspector_test.moc"
