// The entity properties dialog: filling, normalising as typed, the OK
// check, and the command that commits to the open stage.
#include "entitymarker.h"
#include "frmEntEd.h"
#include "modalanswer.h"
#include "openwindow.h"
#include "unrecordededits.h"
#include "../editor/windowdriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using vorn::EntityRecord;

class EntityPropertiesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString ini;

    EntityRecord Record(qint16 x, qint16 y, qint16 tsc, qint16 type, qint16 flag, qint16 unknown)
    {
        EntityRecord r;
        r.X = x;
        r.Y = y;
        r.TSC = tsc;
        r.Type = type;
        r.Flag = flag;
        r.Unknown = unknown;
        return r;
    }

private slots:
    void initTestCase()
    {
        ini = dir.filePath("vorn.ini");
        QVERIFY(WriteBytes(ini, "[Entities]\r\n1=Coin\r\n386=Last one\r\n"));
    }

    void opensWithTheRecordsValues()
    {
        frmEntEd dialog(nullptr);
        dialog.LoadTypeList(ini);
        QCOMPARE(dialog.cboType->count(), 387);
        QCOMPARE(dialog.cboType->itemText(1), QStringLiteral("1 - Coin"));
        QCOMPARE(dialog.cboType->itemText(5), QStringLiteral("5 - Critter (hopping, green)")); // shipped
        QCOMPARE(dialog.cboType->itemText(361), QStringLiteral("361 - "));
        QCOMPARE(dialog.cboType->itemText(386), QStringLiteral("386 - Last one"));

        dialog.ShowRecord(Record(10, 3, 200, 1, 0, 256));
        QCOMPARE(dialog.txtX->text(), QStringLiteral("10"));
        QCOMPARE(dialog.txtY->text(), QStringLiteral("3"));
        QCOMPARE(dialog.txtTSC->text(), QStringLiteral("200"));
        QCOMPARE(dialog.cboType->currentIndex(), 1);
        QCOMPARE(dialog.txtFlag->text(), QStringLiteral("0"));
        QCOMPARE(dialog.txtUnknown->text(), QStringLiteral("&H100"));
    }

    void normalisesNumberBoxesAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("fraction pasted") << "7.9"
                                         << "7";
        QTest::newRow("negative half floors") << "-2.5"
                                              << "-3";
        QTest::newRow("minus zero") << "-0.4"
                                    << "-1";
        QTest::newRow("zero") << "-0"
                              << "0";
        QTest::newRow("number then letters kept") << "12abc"
                                                  << "12abc";
    }
    void normalisesNumberBoxesAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        frmEntEd dialog(nullptr);
        for (QLineEdit* box : {dialog.txtX, dialog.txtY, dialog.txtTSC, dialog.txtFlag}) {
            box->setText(typed);
            QCOMPARE(box->text(), shown);
        }
    }

    void unknownBoxTurnsNumbersIntoHex()
    {
        frmEntEd dialog(nullptr);
        dialog.LoadTypeList(ini);
        dialog.ShowRecord(EntityRecord{});
        dialog.show();

        dialog.txtUnknown->setText("255"); // pasted
        QCOMPARE(dialog.txtUnknown->text(), QStringLiteral("&HFF"));

        // Key by key: the first digit turns hexadecimal, the next ones count as hex.
        dialog.txtUnknown->clear();
        dialog.txtUnknown->setFocus();
        QTest::keyClicks(dialog.txtUnknown, "2f");
        QCOMPARE(dialog.txtUnknown->text(), QStringLiteral("&H2F"));

        // Typed key by key, fractions never get in: "7." is 7 again at once.
        dialog.txtX->clear();
        dialog.txtX->setFocus();
        QTest::keyClicks(dialog.txtX, "7.5");
        QCOMPARE(dialog.txtX->text(), QStringLiteral("75"));

        EntityRecord r;
        dialog.txtUnknown->setText("255");
        dialog.cmdOk->click();
        QVERIFY(!dialog.isVisible());
        dialog.CommitTo(r);
        QCOMPARE(r.Unknown, qint16(255));
    }

    void unknownWithTopBitSetRoundTrips()
    {
        frmEntEd dialog(nullptr);
        dialog.LoadTypeList(ini);
        for (qint16 value : {qint16(-1), qint16(-32768), qint16(-2)}) {
            dialog.ShowRecord(Record(0, 0, 0, 0, 0, value));
            EntityRecord r;
            dialog.CommitTo(r);
            QCOMPARE(r.Unknown, value);
        }
        dialog.ShowRecord(Record(0, 0, 0, 0, 0, -1));
        QCOMPARE(dialog.txtUnknown->text(), QStringLiteral("&HFFFF"));
        dialog.txtUnknown->setText("-5"); // typed negatives keep their 16-bit pattern
        QCOMPARE(dialog.txtUnknown->text(), QStringLiteral("&HFFFB"));
    }

    void typeOutsideTheListIsKept()
    {
        frmEntEd dialog(nullptr);
        dialog.LoadTypeList(ini);
        dialog.ShowRecord(Record(1, 2, 3, 400, 5, 6));
        QCOMPARE(dialog.cboType->currentIndex(), -1);
        EntityRecord r = Record(0, 0, 0, 400, 0, 0);
        dialog.CommitTo(r);
        QCOMPARE(r, Record(1, 2, 3, 400, 5, 6));

        dialog.ShowRecord(Record(1, 2, 3, -1, 5, 6));
        QCOMPARE(dialog.cboType->currentIndex(), -1);
        dialog.cboType->setCurrentIndex(7);
        dialog.CommitTo(r);
        QCOMPARE(r.Type, qint16(7));
    }

    void okRefusesWhatDoesNotFitAndStaysOpen_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("label");
        QTest::newRow("x too large") << "txtX"
                                     << "32768"
                                     << "Position";
        QTest::newRow("flag letters") << "txtFlag"
                                      << "abc"
                                      << "Flag";
        QTest::newRow("unknown beyond 16 bits") << "txtUnknown"
                                                << "&H10000"
                                                << "Unknown";
        QTest::newRow("unknown bare prefix") << "txtUnknown"
                                             << "&H"
                                             << "Unknown";
    }
    void okRefusesWhatDoesNotFitAndStaysOpen()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, label);
        frmEntEd dialog(nullptr);
        QStringList messages;
        dialog.showMessage = [&](const QString& m) { messages << m; };
        dialog.LoadTypeList(ini);
        dialog.ShowRecord(Record(1, 1, 1, 1, 1, 1));
        dialog.show();
        dialog.findChild<QLineEdit*>(box)->setText(text);
        dialog.cmdOk->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.Tag.isEmpty());
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(label), qPrintable(messages[0]));
        // The limits themselves are accepted.
        const bool hex = box == "txtUnknown";
        dialog.findChild<QLineEdit*>(box)->setText(hex ? "&HFFFF" : "-32768");
        dialog.cmdOk->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(messages.size(), 1);
    }

    void escapeAndCloseBoxCountAsCancel()
    {
        frmEntEd first(nullptr);
        first.show();
        QTest::keyClick(&first, Qt::Key_Escape);
        QCOMPARE(first.Tag, QStringLiteral("-_-"));
        frmEntEd second(nullptr);
        second.show();
        second.close();
        QCOMPARE(second.Tag, QStringLiteral("-_-"));
    }

    // ---- through the main window ----------------------------------------

    void okMovesTheMarkerAndTheInspectorShowsTheNewFields()
    {
        OpenWindow w;
        QVERIFY(w.started);
        QVERIFY(w->stage().entityCount() > 1);
        w->hsbEntity()->setValue(1);
        const EntityRecord before = w->stage().record(1);
        AnswerModal<frmEntEd>([](frmEntEd* d) {
            d->txtX->setText("5");
            d->txtY->setText("4");
            d->cboType->setCurrentIndex(3);
            d->cmdOk->click();
        });
        w->cmdEditEnt_Click();
        const EntityRecord after = w->stage().record(1);
        QCOMPARE(after.X, qint16(5));
        QCOMPARE(after.Y, qint16(4));
        QCOMPARE(after.Type, qint16(3));
        QCOMPARE(after.Flag, before.Flag);
        QCOMPARE(after.Unknown, before.Unknown);
        const int z = w->ZoomSize();
        QCOMPARE(w->entity(1)->geometry(), QRect(5 * z, 4 * z, z, z));
        const QString inspector = w->findChild<QWidget*>("txtEntity")->property("plainText").toString();
        QVERIFY2(inspector.startsWith("X:\t0x5\t (5)\nY:\t0x4\t (4)\n"), qPrintable(inspector));
        QVERIFY(w.messages.isEmpty());
    }

    // Beyond the design: a type found by its name, bits as 0x2000 or by
    // name, and a double-click that opens the entity its first press picked.
    void typesAndBitsByNameAndDoubleClick()
    {
        frmEntEd dialog(nullptr);
        dialog.LoadTypeList(ini);
        dialog.ShowRecord(EntityRecord{});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.cboType->setFocus();
        QTest::keyClicks(dialog.cboType, "curl");
        QVERIFY(dialog.lstTypeMatches->isVisible());
        QVERIFY(dialog.lstTypeMatches->count() >= 1);
        const QString first = dialog.lstTypeMatches->item(0)->text();
        QVERIFY2(first.contains("Curly"), qPrintable(first));
        QTest::keyClick(dialog.cboType, Qt::Key_Return);
        QVERIFY(!dialog.lstTypeMatches->isVisible());
        QCOMPARE(dialog.cboType->currentText(), first);
        QVERIFY(dialog.isVisible()); // Enter picked; it did not press OK

        dialog.txtUnknown->clear();
        dialog.txtUnknown->setFocus();
        QTest::keyClicks(dialog.txtUnknown, "0x2000");
        QCOMPARE(dialog.txtUnknown->text(), QStringLiteral("&H2000"));
        dialog.txtUnknown->setText("0x41");
        QCOMPARE(dialog.txtUnknown->text(), QStringLiteral("&H41"));

        AnswerModal<QDialog>([](QDialog* bits) {
            QVERIFY(bits->findChild<QCheckBox*>("chkBit0")->isChecked());
            bits->findChild<QCheckBox*>("chkBit12")->click(); // spawns facing right
            bits->findChild<QCheckBox*>("chkBit0")->click();
            bits->accept();
        });
        dialog.cmdBits_Click();
        QCOMPARE(dialog.txtUnknown->text(), QStringLiteral("&H1040"));
        dialog.close();

        OpenWindow w;
        QVERIFY(w.started);
        EntityRecord a = w->stage().record(0), b = w->stage().record(1);
        b.X = a.X;
        b.Y = a.Y;
        b.TSC = qint16(a.TSC + 7);
        vorn::UnrecordedEdits::setRecord(w->stage(), 1, b);
        w->PositionEntities();
        vorn::EntityMarker* top = w->entity(1)->isVisible() ? w->entity(1) : w->entity(0);
        Send(top, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
        Send(top, QEvent::MouseButtonRelease, QPoint(2, 2), Qt::NoButton, Qt::LeftButton);
        const int picked = w->PickedEntity();
        QVERIFY(picked == 0 || picked == 1);
        QString shownEvent;
        AnswerModal<frmEntEd>([&shownEvent](frmEntEd* d) {
            shownEvent = d->txtTSC->text();
            d->Command1->click();
        });
        Send(top, QEvent::MouseButtonDblClick, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
        Send(top, QEvent::MouseButtonRelease, QPoint(2, 2), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(w->PickedEntity(), picked);
        QCOMPARE(shownEvent, QString::number(w->stage().record(picked).TSC));
    }

    void cancelLeavesTheRecord()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->hsbEntity()->setValue(0);
        const EntityRecord before = w->stage().record(0);
        const QRect marker = w->entity(0)->geometry();
        AnswerModal<frmEntEd>([](frmEntEd* d) {
            d->txtX->setText("77");
            d->txtUnknown->setText("12");
            d->Command1->click();
        });
        w->cmdEditEnt_Click();
        QCOMPARE(w->stage().record(0), before);
        QCOMPARE(w->entity(0)->geometry(), marker);
    }
};

QTEST_MAIN(EntityPropertiesTest)
#include "entityproperties_test.moc"
