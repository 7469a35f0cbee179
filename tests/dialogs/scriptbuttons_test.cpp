// Decode and Encode on the selected stage's script.
#include "inifile.h"
#include "openwindow.h"
#include "samplegame.h"

#include <QComboBox>
#include <QFile>
#include <QTest>

using namespace vorn;

namespace {
constexpr int kStage = kSampleSmallStage; // map "Hollow"
const QString kDecoded = QStringLiteral("TSC script successfully decoded.");
const QString kEncoded = QStringLiteral("TSC script successfully encoded.");
} // namespace

class ScriptButtonsTest : public QObject {
    Q_OBJECT

    static QString Script(OpenWindow& w, const char* ext)
    {
        return w.game.path(QStringLiteral("data/Stage/Hollow.") + QLatin1String(ext));
    }

private slots:
    void decodeThenEncodeGivesTheSameBytes()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->cboMap()->setCurrentIndex(kStage);
        const QByteArray tsc = FileBytes(Script(w, "tsc"));
        QVERIFY(tsc.size() > 2);
        // A longer old plain file must not leave bytes behind.
        QVERIFY(WriteBytes(Script(w, "txt"), QByteArray(tsc.size() + 100, 'x')));

        w->cmdTSCDec_Click();
        const QByteArray txt = FileBytes(Script(w, "txt"));
        QCOMPARE(txt.size(), tsc.size());
        QVERIFY(txt.contains("<MSG")); // readable script text
        QCOMPARE(FileBytes(Script(w, "tsc")), tsc); // the source is not touched

        QVERIFY(QFile::remove(Script(w, "tsc")));
        w->cmdTSCEnc_Click();
        QCOMPARE(FileBytes(Script(w, "tsc")), tsc);
        QCOMPARE(FileBytes(Script(w, "txt")), txt);
        QCOMPARE(w.messages, (QStringList{kDecoded, kEncoded}));
    }

    // A .txt edited since the last decode is not replaced without asking.
    void decodeAsksBeforeReplacingAnEditedText()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->cmdTSCDec_Click();
        QByteArray edited = FileBytes(Script(w, "txt")) + "<END my edit";
        QVERIFY(WriteBytes(Script(w, "txt"), edited));
        w.answers = {QStringLiteral("Cancel")};
        w->cmdTSCDec_Click();
        QCOMPARE(w.questions, QStringList{"data\\stage\\Hollow.txt has changes that are not in Hollow.tsc. "
                                          "Overwrite it?"});
        QCOMPARE(FileBytes(Script(w, "txt")), edited);
        QCOMPARE(w.messages, QStringList{kDecoded}); // the first decode's only
        w->cmdTSCDec_Click(); // "Overwrite"
        QVERIFY(!FileBytes(Script(w, "txt")).endsWith("my edit"));
        QCOMPARE(w.messages.size(), 2);
    }

    void silentTscHidesTheSuccessMessage_data()
    {
        QTest::addColumn<QString>("setting"); // "absent" leaves the key out
        QTest::addColumn<bool>("shown");
        QTest::newRow("one") << "1" << false;
        QTest::newRow("fraction") << "0.5" << false;
        QTest::newRow("zero") << "0" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("absent") << "absent" << true;
    }
    void silentTscHidesTheSuccessMessage()
    {
        QFETCH(QString, setting);
        QFETCH(bool, shown);
        OpenWindow w;
        QVERIFY(w.started);
        w->cboMap()->setCurrentIndex(kStage);
        QFile::remove(w.game.settingsPath());
        if (setting != "absent")
            QVERIFY(INIWrite(w.game.settingsPath(), "Main", "Silent TSC", setting).ok());
        w->cmdTSCDec_Click();
        w->cmdTSCEnc_Click();
        QCOMPARE(w.messages, shown ? (QStringList{kDecoded, kEncoded}) : QStringList());
    }

    void missingOrEmptySourceWritesNothing()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->cboMap()->setCurrentIndex(kStage);
        // No plain file yet: Encode has nothing to read and must keep the .tsc.
        QFile::remove(Script(w, "txt"));
        const QByteArray tsc = FileBytes(Script(w, "tsc"));
        w->cmdTSCEnc_Click();
        QCOMPARE(FileBytes(Script(w, "tsc")), tsc);
        QVERIFY(!QFile::exists(Script(w, "txt")));

        QVERIFY(WriteBytes(Script(w, "tsc"), QByteArray()));
        w->cmdTSCDec_Click();
        QVERIFY(!QFile::exists(Script(w, "txt")));
        QCOMPARE(w.messages.size(), 2);
        QVERIFY(!w.messages.contains(kDecoded) && !w.messages.contains(kEncoded));
    }

    void unwritableTargetStaysIntact()
    {
        OpenWindow w;
        QVERIFY(w.started);
        w->cboMap()->setCurrentIndex(kStage);
        QVERIFY(WriteBytes(Script(w, "txt"), "old plain text"));
        QVERIFY(QFile::setPermissions(Script(w, "txt"), QFile::ReadOwner));
        w->cmdTSCDec_Click();
        QCOMPARE(FileBytes(Script(w, "txt")), QByteArray("old plain text"));
        QCOMPARE(w.messages.size(), 1);
        QVERIFY(w.messages[0] != kDecoded);
    }
};

QTEST_MAIN(ScriptButtonsTest)
#include "scriptbuttons_test.moc"
