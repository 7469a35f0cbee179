// Starting in a game folder named or chosen at start, and the settings of
// an installed program: read from the installed default until the user's
// own file is made at the first close.
#include "inifile.h"
#include "openwindow.h"
#include "settingslocation.h"
#include "startfolder.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Chooser {
    QStringList opened; // where each chooser opened
    QString answer; // empty: cancel
    vorn::FolderChooser fn()
    {
        return [this](const QString& startAt) {
            opened << startAt;
            return answer;
        };
    }
};

QString Canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

QString Entered(const vorn::StartFolder& entered)
{
    return !entered.ok()       ? QStringLiteral("failed: ") + entered.refusal()
           : entered.cancelled ? QStringLiteral("cancelled")
                               : QStringLiteral("ready");
}

} // namespace

class StartFolderTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QDir::setCurrent(home.path()); }

    void optionsAndBadUsage()
    {
        const auto parse = [](QStringList args) { return vorn::ParseStartOptions(QStringList{"vorn"} + args); };
        QVERIFY(!parse({}).given());
        const vorn::StartOptions both = parse({"--choose-folder", "/games/cs"});
        QVERIFY(both.chooseFolder && both.parsed.ok());
        QCOMPARE(both.folder, QStringLiteral("/games/cs"));
        QVERIFY(!parse({"--frobnicate"}).parsed.ok());
        QVERIFY(!parse({"a", "b"}).parsed.ok());
    }

    void chooserOnlyOutsideAGameFolder()
    {
        TestGame game;
        Chooser chooser;
        vorn::StartOptions options;
        options.chooseFolder = true;
        options.folder = game.gameDir();
        QCOMPARE(Entered(vorn::EnterStartFolder(options, {}, chooser.fn())), QStringLiteral("ready"));
        QVERIFY(chooser.opened.isEmpty());
        QCOMPARE(Canonical(QDir::currentPath()), Canonical(game.gameDir()));

        // From the home folder: opens at the last game folder, and a cancel ends it.
        QDir::setCurrent(home.path());
        options.folder.clear();
        QCOMPARE(Entered(vorn::EnterStartFolder(options, game.gameDir(), chooser.fn())), QStringLiteral("cancelled"));
        QCOMPARE(chooser.opened, QStringList{game.gameDir()});
        QCOMPARE(Canonical(QDir::currentPath()), Canonical(home.path()));

        chooser.answer = game.gameDir();
        QCOMPARE(Entered(vorn::EnterStartFolder(options, "/no/such/folder", chooser.fn())), QStringLiteral("ready"));
        QCOMPARE(Canonical(chooser.opened.last()), Canonical(home.path())); // the last one is gone
        QCOMPARE(Canonical(QDir::currentPath()), Canonical(game.gameDir()));

        options = {};
        options.folder = home.filePath("missing");
        const QString failed = Entered(vorn::EnterStartFolder(options, {}, chooser.fn()));
        QVERIFY2(failed.startsWith("failed: ") && failed.contains("missing"), qPrintable(failed));
    }

    // The installed default seeds the names at start and the user's file at
    // close; "Game Folder" follows the eight settings only when asked for.
    void installedDefaultSeedsTheUsersFile()
    {
        TestGame game;
        const QString seed = home.filePath("vorn.ini");
        QVERIFY(WriteBytes(seed, "; Entity names\n[Entities]\n1=Coin\n"));
        const QString config = home.filePath(".config/vorn");
        {
            frmVorn w(game.gameDir(), config);
            w.settingsSeed = seed;
            w.storeGameFolder = true;
            QVERIFY(w.Form_Load());
            QCOMPARE(w.EntityNames()[1], QStringLiteral("Coin"));
            QVERIFY(!QFileInfo::exists(config));
            QVERIFY(w.close());
        }
        const QString user = vorn::SettingsFilePath(config);
        const QString text = QString::fromUtf8(FileBytes(user));
        QVERIFY2(text.startsWith("; Entity names\n[Entities]\n1=Coin\n"), qPrintable(text));
        QVERIFY(text.contains(
            QRegularExpression("Last Stage=13\nGame Folder=" + QRegularExpression::escape(game.gameDir()) + "\n$")));
    }

private:
    QTemporaryDir home;
};

QTEST_MAIN(StartFolderTest)
#include "startfolder_test.moc"
