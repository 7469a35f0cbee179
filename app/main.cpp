#include "frmVorn.h"
#include "inifile.h"
#include "settingslocation.h"
#include "startfolder.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>
#include <cstdio>
#include <cstring>

namespace {

// -h or --help before any "--".
bool AsksForHelp(int argc, char** argv)
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    // The help needs no display: it is answered before the window system opens.
    if (AsksForHelp(argc, argv)) {
        QCoreApplication core(argc, argv);
        std::fputs(qPrintable(vorn::ParseStartOptions(QCoreApplication::arguments()).usage), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorn"));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vorn.Vorn"));

    const vorn::StartOptions options = vorn::ParseStartOptions(QCoreApplication::arguments());
    if (!options.parsed.ok()) {
        std::fprintf(stderr, "vorn: %s\n\n%s", qPrintable(options.parsed.refusal()), qPrintable(options.usage));
        return 2;
    }

    // Settings beside the program where they can be written, else in the
    // user's configuration folder (~/.config/vorn), as for an installed copy.
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString settingsDir =
        vorn::SettingsFolder(programDir, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    const QString seed = vorn::InstalledDefaultSettings(programDir);

    if (options.given()) {
        const QString settings = vorn::SettingsFileToRead(vorn::SettingsFilePath(settingsDir), seed);
        const QString last = vorn::INIRead(settings, QStringLiteral("Main"), QStringLiteral("Game Folder"));
        const auto choose = [](const QString& startAt) {
            return QFileDialog::getExistingDirectory(nullptr, QStringLiteral("Vorn: Choose the Game Folder"), startAt);
        };
        const vorn::StartFolder entered = vorn::EnterStartFolder(options, last, choose);
        if (!entered.ok()) {
            QMessageBox::warning(nullptr, QStringLiteral("Vorn"), entered.refusal());
            return 1;
        }
        if (entered.cancelled)
            return 0;
    }

    // Game files are looked up in the current folder.
    frmVorn window(QDir::currentPath(), settingsDir);
    window.settingsSeed = seed;
    window.storeGameFolder = options.given();
    if (!window.Form_Load())
        return 1;
    window.show();
    return app.exec();
}
