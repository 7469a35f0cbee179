// The entity inspector's text, caption and status label, and the find bar
// that selects the entity it shows.
#include "findbar.h"
#include "unrecordededits.h"
#include "mapview.h"
#include "samplegame.h"
#include "windowdriver.h"

#include <QComboBox>
#include <QLineEdit>

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
        w->hsbEntity()->setValue(1); // by the name the program ships
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("2 - Behemoth"));
        vorn::UnrecordedEdits::setEntityCount(w->stage(), 8);
        w->PositionEntities();
        vorn::UnrecordedEdits::setRecord(w->stage(), 5, {10, 3, 0, 200, 1, 256});
        vorn::UnrecordedEdits::setRecord(w->stage(), 6, {0, -1, -32768, 32767, 1, -256});
        vorn::UnrecordedEdits::setRecord(w->stage(), 7, {0, 0, 0, 0, -5, 0});
        w->EntityNames()[1].clear();
        w->hsbEntity()->setValue(5);
        QCOMPARE(w->fraEntity()->title(), QStringLiteral("Entity #5"));
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("1"));
        // The text box shows the CR LF-joined lines one per line.
        QCOMPARE(w->txtEntity()->toPlainText(),
                 QStringLiteral("X:\t0xA\t (10)\nY:\t0x3\t (3)\nFlag:\t0x0\t (0)\n"
                                "TSC:\t0xC8\t (200)\nType:\t0x1\t (1)\n???:\t0x100\t (256)"));

        w->EntityNames()[1] = QStringLiteral("Behemoth");
        w->hsbEntity()->setValue(6);
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("1 - Behemoth"));
        QCOMPARE(w->txtEntity()->toPlainText(),
                 QStringLiteral("X:\t0x0\t (0)\nY:\t0xFFFF\t (-1)\nFlag:\t0x8000\t (-32768)\n"
                                "TSC:\t0x7FFF\t (32767)\nType:\t0x1\t (1)\n???:\t0xFF00\t (-256)\nBehemoth"));

        // Each field line fits the box on one line, TABs and all.
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        w->hsbEntity()->setValue(5);
        w->txtEntity()->viewport()->repaint();
        for (QTextBlock block = w->txtEntity()->document()->begin(); block.isValid(); block = block.next())
            QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));

        // A type outside the name table has no name.
        w->hsbEntity()->setValue(7);
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("-5"));
        QVERIFY(w->txtEntity()->toPlainText().endsWith(QStringLiteral("???:\t0x0\t (0)")));
    }

    void findBarSelectsTheNextMatchingEntity()
    {
        OpenWindow w;
        QVERIFY(w.started);
        vorn::UnrecordedEdits::setEntityCount(w->stage(), 6);
        w->PositionEntities();
        w->EntityNames()[3] = QStringLiteral("Door");
        w->EntityNames()[7] = QStringLiteral("Hopping Critter");
        w->EntityNames()[8] = QStringLiteral("Critter (flying)");
        vorn::UnrecordedEdits::setRecord(w->stage(), 0, {1, 1, 0, 100, 3, 0});
        vorn::UnrecordedEdits::setRecord(w->stage(), 1, {2, 1, 0, 200, 7, 0});
        vorn::UnrecordedEdits::setRecord(w->stage(), 2, {3, 1, 5, 300, 8, 0});
        vorn::UnrecordedEdits::setRecord(w->stage(), 3, {4, 1, 0, 200, 7, 0});
        vorn::UnrecordedEdits::setRecord(w->stage(), 4, {5, 1, 0, 400, 3, 0});
        vorn::UnrecordedEdits::setRecord(w->stage(), 5, {6, 1, 0, 200, 8, 0});

        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        vorn::FindBar* bar = w->findBar();
        QVERIFY(bar->isHidden());
        w->picMap()->setFocus();
        QTest::keyClick(w.window.get(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(bar->isVisible());
        QVERIFY(bar->typeEdit->hasFocus());
        // Over the map, above its horizontal bar, as wide as the map's part.
        QCOMPARE(bar->parentWidget(), w->picMap()->parentWidget());
        const int mapBottom = w->hsbMap()->isHidden() ? bar->parentWidget()->height() : w->hsbMap()->y();
        QCOMPARE(bar->geometry().bottom() + 1, mapBottom);

        const auto find = [&](QLineEdit* box, const QString& text) {
            box->setText(text);
            QTest::keyClick(box, Qt::Key_Return);
            return w->SelectedEntity();
        };
        // A number is the type exactly, going round past the last entity.
        QCOMPARE(find(bar->typeEdit, QStringLiteral("7")), 1);
        QCOMPARE(w->fraEntity()->title(), QStringLiteral("Entity #1"));
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("7 - Hopping Critter"));
        QCOMPARE(find(bar->typeEdit, QStringLiteral("7")), 3);
        QCOMPARE(find(bar->typeEdit, QStringLiteral("7")), 1);
        // Text is a part of the name in any case.
        QList<int> order;
        for (int n = 0; n < 4; ++n)
            order << find(bar->typeEdit, QStringLiteral("CRITTER"));
        QCOMPARE(order, (QList<int>{2, 3, 5, 1}));
        // All boxes must match.
        QCOMPARE(find(bar->eventEdit, QStringLiteral("200")), 3);
        QCOMPARE(find(bar->eventEdit, QStringLiteral("200")), 5);
        QCOMPARE(find(bar->typeEdit, QStringLiteral("door")), 5); // type 3 with event 200: none
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("No entity matches."));
        bar->eventEdit->clear();
        QCOMPARE(find(bar->flagEdit, QStringLiteral("x5")), 5);
        QCOMPARE(w->lblStatus()->text(), QStringLiteral("The flag must be a number."));
        QCOMPARE(find(bar->flagEdit, QStringLiteral("")), 0);
        QCOMPARE(find(bar->typeEdit, QStringLiteral("3")), 4);

        // Escape hides the bar and gives the focus back.
        QTest::keyClick(bar->typeEdit, Qt::Key_Escape);
        QVERIFY(bar->isHidden());
        QVERIFY(w->picMap()->hasFocus());

        // On a wide stage a far entity is scrolled into view, and a next
        // one already in view leaves the scroll bars where they are.
        w->cboMap()->setCurrentIndex(vorn::kSampleWideStage);
        QCOMPARE(w->stage().index(), vorn::kSampleWideStage);
        vorn::UnrecordedEdits::setRecord(w->stage(), 0, {220, 110, 0, 0, 360, 0});
        vorn::UnrecordedEdits::setRecord(w->stage(), 1, {218, 109, 0, 0, 360, 0});
        QCOMPARE(w->hsbMap()->value(), 0);
        QTest::keyClick(w.window.get(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(bar->isVisible());
        const auto seen = [&](int index) {
            const vorn::EntityRecord& r = w->stage().record(index);
            const int z = w->ZoomSize();
            const QRect cell(w->picMap()->mapTo(bar->parentWidget(), QPoint(r.X * z, r.Y * z)), QSize(z, z));
            const QRect area(0, 0, w->vsbMap()->isHidden() ? bar->width() : w->vsbMap()->x(), bar->y());
            return area.contains(cell);
        };
        QVERIFY(!seen(0));
        QCOMPARE(find(bar->typeEdit, QStringLiteral("360")), 0);
        QVERIFY(seen(0));
        QVERIFY(w->hsbMap()->value() > 0);
        const QPoint scrolled(w->hsbMap()->value(), w->vsbMap()->value());
        QCOMPARE(find(bar->typeEdit, QStringLiteral("360")), 1);
        QVERIFY(seen(1));
        QCOMPARE(QPoint(w->hsbMap()->value(), w->vsbMap()->value()), scrolled);
    }
};

QTEST_MAIN(InspectorTest)
#include "inspector_test.moc"
