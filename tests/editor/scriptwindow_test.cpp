// The script window on the sample game: the stage's script opened from the
// main window, checked and coloured as it is typed, moved about by its
// outline, saved byte for byte, and never closed over unsaved edits.
#include "windowdriver.h"
#include "unrecordededits.h"

#include "codepage.h"
#include "inifile.h"
#include "mapview.h"
#include "samplegame.h"
#include "scriptedit.h"
#include "scripthighlighter.h"
#include "scriptwindows.h"
#include "script.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontDatabase>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>

namespace {

const QString kScript = QStringLiteral("data\\stage\\Hollow.tsc"); // stage 13's, open at start

// Stage 13's script, written before the window starts.
void WriteScript(TestGame& game, const QByteArray& plain)
{
    QVERIFY(WriteBytes(game.path("data/Stage/Hollow.tsc"), vorn::EncodeScript(plain)));
}

QByteArray ScriptOnDisk(OpenWindow& w) { return vorn::DecodeScript(FileBytes(w->game().folder.findFile(kScript))); }

void Type(ScriptWindow& window, const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(window.edit(), c.toLatin1());
}

QStringList Items(QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

const QByteArray kPlain = "#0100\r\n<MSGHello<NOD<END\r\n#0200\r\n<TRA0014:0090:0001:0002\r\n";

} // namespace

class ScriptWindowTest : public QObject {
    Q_OBJECT
private slots:
    void editingSavesEveryByteItDidNotTouch()
    {
        // 0x81 0x7F is no Shift-JIS character: it stays as it was, beside Japanese text.
        OpenWindow w([](TestGame& game) {
            QVERIFY(WriteBytes(game.settingsPath(), "[Main]\r\nCode Page=932\r\n"));
            WriteScript(game, "#0100\r\n<MSG\x93\xfa\x96\x7b\x81\x7f<NOD<END\r\n");
        });
        QVERIFY(w.started);
        QCOMPARE(vorn::AnsiCodePage(), 932);
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QTest::keyClick(w->picMap(), Qt::Key_E, Qt::ControlModifier);
        ScriptWindow* window = w->Scripts().find(kScript);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Hollow.tsc[*] - Vorn"));
        QVERIFY(window->edit()->toPlainText().contains(QStringLiteral("日本")));
        QVERIFY(window->status()->text().contains(QStringLiteral("2 bytes are not characters")));
        QCOMPARE(window->edit()->helpAt(int(window->edit()->toPlainText().indexOf(QChar(0xF781)))),
                 QStringLiteral("Byte 0x81, which the code page does not show; it is saved as it is."));

        // Ctrl+E again brings the same window; "Edit" too.
        QTest::keyClick(w->picMap(), Qt::Key_E, Qt::ControlModifier);
        w->findChild<QToolButton*>("cmdEditScript")->click();
        QCOMPARE(w->Scripts().windows().size(), size_t(1));

        QTextCursor end(window->script().text());
        end.movePosition(QTextCursor::End);
        end.insertText(QStringLiteral("#0101\n<END"));
        QVERIFY(window->isWindowModified());
        QVERIFY(window->save());
        QCOMPARE(ScriptOnDisk(w), QByteArray("#0100\r\n<MSG\x93\xfa\x96\x7b\x81\x7f<NOD<END\r\n#0101\r\n<END"));
        QVERIFY(!window->isWindowModified());
        QCOMPARE(window->status()->text(), QStringLiteral("Saved data\\stage\\Hollow.tsc."));

        // A character the code page lacks is refused, naming it; the file stays.
        end.insertText(QStringLiteral("€"));
        QVERIFY(!window->save());
        QCOMPARE(w.messages.last(), QStringLiteral("Cannot save data\\stage\\Hollow.tsc: the game's code page has no "
                                                   "\"€\" (line 4)."));
        end.deletePreviousChar();

        // Another program's change is asked about before it is overwritten;
        // the same bytes written again are no change.
        QTest::qWait(20);
        QVERIFY(WriteBytes(w->game().folder.findFile(kScript), FileBytes(w->game().folder.findFile(kScript))));
        end.insertText(QStringLiteral("x"));
        QVERIFY(window->save());
        QVERIFY(w.questions.isEmpty());
        QTest::qWait(20);
        QVERIFY(WriteBytes(w->game().folder.findFile(kScript), vorn::EncodeScript("#0100\r\n<END\r\n")));
        w.answers = {QStringLiteral("Cancel")};
        QVERIFY(!window->save());
        QVERIFY(w.questions.last().endsWith("was changed by another program after Vorn loaded it. Overwrite it?"));
        QCOMPARE(ScriptOnDisk(w), QByteArray("#0100\r\n<END\r\n"));
        vorn::SetAnsiCodePage(1252);
    }

    void checksColoursOutlineAndGoingToAnEvent()
    {
        OpenWindow w([](TestGame& game) { WriteScript(game, kPlain); });
        QVERIFY(w.started);
        ScriptWindow* window = w->Scripts().open(kScript);
        QVERIFY(window);
        QCOMPARE(Items(window->outline()), (QStringList{"#0100  Hello", "#0200"}));
        QVERIFY(window->goToEvent(200));
        QCOMPARE(window->edit()->textCursor().blockNumber(), 2);
        QVERIFY(!window->goToEvent(300));
        QCOMPARE(window->status()->text(), QStringLiteral("There is no event 0300 in Hollow.tsc."));
        window->outline()->itemClicked(window->outline()->item(0));
        QCOMPARE(window->edit()->textCursor().blockNumber(), 0);

        // Text after <END is never reached: coloured as a note, and it
        // becomes message text once the END goes.
        QTextCursor cursor(window->script().text());
        cursor.setPosition(window->script().text()->findBlockByNumber(1).position() + 17);
        cursor.insertText(QStringLiteral("Bye"));
        const auto kindAt = [&](int position) {
            for (const ScriptHighlighter::Span& span : window->highlighter()->spans())
                if (position >= span.start && position < span.start + span.length)
                    return span.kind;
            return ScriptHighlighter::KindCount;
        };
        const int bye = window->script().text()->findBlockByNumber(1).position() + 17;
        QCOMPARE(kindAt(bye), ScriptHighlighter::Unreached);
        QCOMPARE(kindAt(bye - 4), ScriptHighlighter::Flow);
        cursor.setPosition(bye - 4);
        cursor.setPosition(bye, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        QCOMPARE(kindAt(bye - 4), ScriptHighlighter::Text);
        const auto findingAt = [&](int line) {
            for (const vorn::ScriptFinding& finding : window->script().analysis().findings)
                if (finding.line == line)
                    return finding.text;
            return QString();
        };
        QVERIFY(findingAt(1).startsWith("Event 0100 does not end")); // nothing leaves it now

        // An unknown command is found as it is typed, marked and listed; a
        // click on the finding goes to it.
        window->edit()->setFocus();
        window->edit()->moveCursor(QTextCursor::End);
        Type(*window, QStringLiteral("<XYZ"));
        QVERIFY(!window->edit()->extraSelections().isEmpty());
        window->refreshLists();
        const QStringList findings = Items(window->findings());
        QVERIFY2(findings.contains("5:1  error: Unknown command <XYZ; the game quits on it"),
                 qPrintable(findings.join('\n')));
        window->edit()->moveCursor(QTextCursor::Start);
        window->findings()->itemClicked(
            window->findings()->item(int(findings.indexOf("5:1  error: Unknown command <XYZ; the game quits on it"))));
        QCOMPARE(window->edit()->textCursor().blockNumber(), 4);

        // Help under the pointer: a stage by its caption, and whether the
        // target stage's script has the event.
        const int tra = window->script().text()->findBlockByNumber(3).position();
        const QString stageHelp = window->edit()->helpAt(tra + 5);
        QVERIFY2(stageHelp.contains(w->game().stageCaption(14)), qPrintable(stageHelp));
        QVERIFY2(window->edit()->helpAt(tra + 10).contains("is in stage 14's script"),
                 qPrintable(window->edit()->helpAt(tra + 10)));
        QVERIFY(window->edit()->helpAt(tra + 1).startsWith("<TRA0000:0000:0000:0000\n"));
    }

    void typingALessThanOffersTheCommands()
    {
        OpenWindow w([](TestGame& game) { WriteScript(game, kPlain); });
        QVERIFY(w.started);
        ScriptWindow* window = w->Scripts().open(kScript);
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->edit()->setFocus();
        window->edit()->moveCursor(QTextCursor::End);
        Type(*window, QStringLiteral("<tr"));
        QCompleter* completer = window->edit()->completer();
        QVERIFY(completer->popup()->isVisible());
        QCOMPARE(completer->currentCompletion(), QStringLiteral("TRA"));
        QTest::keyClick(completer->popup(), Qt::Key_Return);
        QCOMPARE(window->script().text()->lastBlock().text(), QStringLiteral("<TRA0000:0000:0000:0000"));
        QCOMPARE(window->edit()->textCursor().selectedText(), QStringLiteral("0000"));
    }

    void keysTypedFastWhileTheListOpensAndClosesAllLand()
    {
        OpenWindow w([](TestGame& game) { WriteScript(game, kPlain); });
        QVERIFY(w.started);
        ScriptWindow* window = w->Scripts().open(kScript);
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->edit()->setFocus();
        window->edit()->moveCursor(QTextCursor::End);
        // As the platform delivers them, to the window, 5 ms apart: a whole
        // command and Enter, a prefix and Tab, a prefix and Escape.
        const auto keys = [&](const QString& text) {
            for (const QChar c : text)
                QTest::keyClick(window->windowHandle(), c.toLatin1(), Qt::NoModifier, 5);
        };
        const auto key = [&](Qt::Key k) { QTest::keyClick(window->windowHandle(), k, Qt::NoModifier, 5); };
        QString expected = window->script().text()->toPlainText();
        for (int round = 0; round < 6; ++round) {
            const QString event = QStringLiteral("#%1").arg(601 + round, 4, 10, QChar(u'0'));
            keys(QStringLiteral("<END"));
            QVERIFY(window->edit()->completer()->popup()->isVisible());
            key(Qt::Key_Return);
            QVERIFY(!window->edit()->completer()->popup()->isVisible());
            keys(event);
            key(Qt::Key_Return);
            keys(QStringLiteral("<MS"));
            key(Qt::Key_Tab);
            keys(QStringLiteral("<FL"));
            key(Qt::Key_Escape);
            keys(QStringLiteral("+0001<no"));
            key(Qt::Key_Return); // a prefix: the choice goes in
            key(Qt::Key_Return);
            expected += QStringLiteral("<END\n") + event + QStringLiteral("\n<MSG<FL+0001<NOD\n");
        }
        QCOMPARE(window->script().text()->toPlainText(), expected);
    }

    void opensOnTheScreenRemembersItsPlaceAndSavesWithErrors()
    {
        // A place half off the screen (the offscreen one is 800 x 600) is brought onto it.
        OpenWindow w([](TestGame& game) {
            WriteScript(game, kPlain);
            QVERIFY(
                WriteBytes(game.settingsPath(), "[Mine]\r\nKept=1\r\n[Script Window]\r\nGeometry=500,300,900,640\r\n"));
        });
        QVERIFY(w.started);
        ScriptWindow* window = w->Scripts().open(kScript);
        const QRect area = window->screen()->availableGeometry();
        QVERIFY(area.contains(window->frameGeometry()));
        window->move(area.topLeft() + QPoint(10, 20));
        window->resize(400, 300);
        const QString kept = QStringLiteral("%1,%2,400,300").arg(window->x()).arg(window->y());

        // Saving with errors saves, and says what the game stops on.
        QTextCursor cursor(window->script().text());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("#0300\n<XYZ<ABC<END\n"));
        QVERIFY(window->save());
        QVERIFY(ScriptOnDisk(w).endsWith("#0300\r\n<XYZ<ABC<END\r\n"));
        QCOMPARE(window->status()->text(),
                 QStringLiteral(
                     "Saved with 2 errors that stop the game: line 6: Unknown command <XYZ; the game quits on it"));

        QVERIFY(window->close());
        QCOMPARE(vorn::INIRead(w.game.settingsPath(), "Script Window", "Geometry"), kept);
        QCOMPARE(vorn::INIRead(w.game.settingsPath(), "Mine", "Kept"), QStringLiteral("1"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window = w->Scripts().open(kScript);
        QCOMPARE(
            QStringLiteral("%1,%2,%3,%4").arg(window->x()).arg(window->y()).arg(window->width()).arg(window->height()),
            kept);
    }

    void ctrlClickAndF12FollowEventsAndStages()
    {
        OpenWindow w(
            [](TestGame& game) { WriteScript(game, "#0100\r\n<EVE0200\r\n#0200\r\n<TRA0014:0090:0001:0002\r\n"); });
        QVERIFY(w.started);
        ScriptWindow* window = w->Scripts().open(kScript);
        QVERIFY(QTest::qWaitForWindowActive(window));
        ScriptEdit* edit = window->edit();
        const auto at = [&](int line, int column) {
            QTextCursor cursor(window->script().text()->findBlockByNumber(line));
            cursor.setPosition(cursor.position() + column);
            return cursor;
        };
        // Ctrl+click on <EVE's number: its event; a plain click only moves the cursor.
        const QPoint onNumber = edit->cursorRect(at(1, 5)).center() + QPoint(2, 0);
        QTest::mouseClick(edit->viewport(), Qt::LeftButton, Qt::NoModifier, onNumber);
        QCOMPARE(edit->textCursor().blockNumber(), 1);
        QTest::mouseClick(edit->viewport(), Qt::LeftButton, Qt::ControlModifier, onNumber);
        QCOMPARE(edit->textCursor().blockNumber(), 2);

        // F12 on <TRA's event: stage 14's script at that event; on its place: stage 14 in the main window.
        edit->setTextCursor(at(3, 11));
        QTest::keyClick(edit, Qt::Key_F12);
        ScriptWindow* target = w->Scripts().find(w->Scripts().scripts().stageScriptName(14));
        QVERIFY(target && target != window);
        const int header = target->script().eventPosition(90);
        QVERIFY(header >= 0);
        QCOMPARE(target->edit()->textCursor().position(), header);
        QVERIFY(w->cboMap()->currentIndex() != 14);
        edit->setTextCursor(at(3, 16));
        QVERIFY(window->follow(edit->textCursor().position()));
        QCOMPARE(w->cboMap()->currentIndex(), 14);
        edit->setTextCursor(at(0, 2));
        QVERIFY(!window->follow(edit->textCursor().position(), true));
        QCOMPARE(window->status()->text(),
                 QStringLiteral("F12 and Ctrl+click go to an event number's event or a stage's script."));
    }

    void oneFontHoldsLatinAndJapanese()
    {
        OpenWindow w([](TestGame& game) { WriteScript(game, kPlain); });
        QVERIFY(w.started);
        ScriptWindow* window = w->Scripts().open(kScript);
        const QString family = window->edit()->font().family();
        if (!QFontDatabase::families(QFontDatabase::Japanese).isEmpty()) {
            const auto systems = QFontDatabase::writingSystems(family);
            QVERIFY2(systems.contains(QFontDatabase::Japanese) && systems.contains(QFontDatabase::Latin),
                     qPrintable(family));
        }
        QCOMPARE(window->outline()->font().family(), family); // its numbers as the text's
    }

    void aLargeScriptIsColouredAtOnceAndCheckedAfterAPause()
    {
        QByteArray plain;
        for (int event = 100; plain.size() <= vorn::ScriptDocument::kCheckAtOnceLimit * 9 / 8; ++event)
            plain +=
                "#" + QByteArray::number(event).rightJustified(4, '0') + "\r\n<MSGSome words to fill it.<NOD<END\r\n";
        OpenWindow w([&](TestGame& game) { WriteScript(game, plain); });
        QVERIFY(w.started);
        ScriptWindow* window = w->Scripts().open(kScript);
        vorn::ScriptDocument& script = window->script();
        window->edit()->setFocus();
        window->edit()->moveCursor(QTextCursor::End);
        Type(*window, QStringLiteral("<XYZ"));
        QVERIFY(script.checkPending());
        const auto lastLineShows = [&](ScriptHighlighter::Kind kind) {
            for (const QTextLayout::FormatRange& range : script.text()->lastBlock().layout()->formats())
                if (range.start == 0 && range.length == 4 && range.format == ScriptHighlighter::formatOf(kind))
                    return true;
            return false;
        };
        QVERIFY(lastLineShows(ScriptHighlighter::Unknown)); // coloured from its line alone
        QTRY_VERIFY(!script.checkPending());
        QVERIFY(lastLineShows(ScriptHighlighter::Unreached)); // after an <END, the check tells
        QVERIFY(!window->edit()->extraSelections().isEmpty());
        QCOMPARE(script.analysis().findings.back().text, QStringLiteral("Unknown command <XYZ; the game quits on it"));
        QTest::qWait(2 * vorn::ScriptDocument::kPauseMs); // its new colours are no change to check again
        QVERIFY(!script.checkPending());

        // Lines joined, split, pasted and taken back before one pause: every
        // line then shows what colouring the whole script afresh shows.
        QTextCursor cursor(script.text()->findBlockByNumber(3));
        cursor.deletePreviousChar(); // joins two lines
        cursor.insertText(QStringLiteral("<END\n#9000\nText<MSG\n"));
        cursor.setPosition(script.text()->findBlockByNumber(40).position());
        cursor.setPosition(script.text()->findBlockByNumber(44).position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        window->edit()->undo();
        cursor.setPosition(script.text()->findBlockByNumber(20).position() + 3);
        cursor.insertText(QStringLiteral("D<EN"));
        QTRY_VERIFY(!script.checkPending());
        QScrollBar* bar = window->edit()->verticalScrollBar();
        for (int top = 0; top <= bar->maximum(); top += std::max(1, bar->pageStep()))
            bar->setValue(top); // lines are coloured as they come into view
        std::vector<QList<QTextLayout::FormatRange>> shown;
        for (QTextBlock block = script.text()->begin(); block.isValid(); block = block.next())
            shown.push_back(block.layout()->formats());
        window->highlighter()->rehighlight();
        size_t line = 0;
        for (QTextBlock block = script.text()->begin(); block.isValid(); block = block.next(), ++line)
            QVERIFY2(block.layout()->formats() == shown[line], qPrintable(QString::number(line)));
    }

    void aLineOfAHundredThousandCommandsOpens()
    {
        OpenWindow w([](TestGame& game) { WriteScript(game, "#0100\r\n" + QByteArray(100000, '<') + "\r\n"); });
        QVERIFY(w.started);
        ScriptWindow* window = w->Scripts().open(kScript);
        QVERIFY(window);
        QVERIFY(window->script().analysis().findings.size() > 10000);
        // Marks only where the view shows the line: a few dozen, not one per finding.
        QVERIFY(!window->edit()->extraSelections().isEmpty());
        QVERIFY(window->edit()->extraSelections().size() < 200);
    }

    void findReplaceAndUnsavedQuestions()
    {
        OpenWindow w([](TestGame& game) { WriteScript(game, kPlain); });
        QVERIFY(w.started);
        ScriptWindow* window = w->Scripts().open(kScript);
        window->showFind(true);
        window->findText()->setText(QStringLiteral("<END"));
        window->replaceText()->setText(QStringLiteral("<EVE0200"));
        QCOMPARE(window->replaceAll(), 1);
        QVERIFY(window->script().text()->toPlainText().contains("<NOD<EVE0200\n"));
        window->edit()->undo(); // one step
        QCOMPARE(window->script().text()->toPlainText().toUtf8(), QByteArray(kPlain).replace("\r\n", "\n"));
        window->findText()->setText(QStringLiteral("#02"));
        QVERIFY(window->findNext());
        QCOMPARE(window->edit()->textCursor().blockNumber(), 2);

        // Discarded edits are gone: the script opens again as the file holds it.
        window->edit()->insertPlainText(QStringLiteral("gone"));
        w.answers = {QStringLiteral("Discard")};
        QVERIFY(window->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w->Scripts().find(kScript));
        window = w->Scripts().open(kScript);
        QCOMPARE(window->script().text()->toPlainText().toUtf8(), QByteArray(kPlain).replace("\r\n", "\n"));
        window->edit()->setTextCursor(QTextCursor(window->script().text()->findBlockByNumber(2)));

        // Cancel keeps the window and its edits; closing the main window
        // asks for the script too, and Save there writes it.
        window->edit()->moveCursor(QTextCursor::StartOfBlock);
        window->edit()->insertPlainText(QStringLiteral("x"));
        w.answers = {QStringLiteral("Cancel")};
        QVERIFY(!window->close());
        QCOMPARE(w.questions.last(), QStringLiteral("data\\stage\\Hollow.tsc has changes that are not saved."));
        w.answers = {QStringLiteral("Save")};
        QVERIFY(w->close());
        QVERIFY(ScriptOnDisk(w).contains("\r\nx#0200"));
        QVERIFY(!window->isVisible());
    }

    void fromTheMapToTheEntitysEvent()
    {
        OpenWindow w([](TestGame& game) { WriteScript(game, "#0100\r\n<END\r\n#0300\r\n<END\r\n"); });
        QVERIFY(w.started);
        w->Pick(vorn::kSampleRightFacingEntity); // Ctrl+Shift+E acts on the picked entity
        vorn::UnrecordedEdits::setRecord(w->stage(), vorn::kSampleRightFacingEntity, [&] {
            vorn::EntityRecord r = w->stage().record(vorn::kSampleRightFacingEntity);
            r.TSC = 300;
            return r;
        }());
        QVERIFY(w->EntityToolTip(vorn::kSampleRightFacingEntity).endsWith("\nEvent 0300 is in Hollow.tsc."));
        w->EditEntityEvent();
        ScriptWindow* window = w->Scripts().find(kScript);
        QVERIFY(window);
        QCOMPARE(window->edit()->textCursor().blockNumber(), 2);
        // The window follows the map: an entity's event with no event is found.
        vorn::UnrecordedEdits::setRecord(w->stage(), 0, [&] {
            vorn::EntityRecord r = w->stage().record(0);
            r.TSC = 444;
            return r;
        }());
        QVERIFY(w->EntityToolTip(0).endsWith("\nEvent 0444 is not in Hollow.tsc."));
        bool found = false;
        for (const vorn::ScriptFinding& finding : window->script().analysis().findings)
            found = found || finding.text.contains("event 0444");
        QVERIFY(found);
    }
};

QTEST_MAIN(ScriptWindowTest)
#include "scriptwindow_test.moc"
