#include "startfolder.h"

#include "gamefolder.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace vorn {
namespace {

Outcome ChangeInto(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("Can't open the folder \"%1\": there is no such folder.").arg(folder);
    if (!QDir::setCurrent(folder))
        return QStringLiteral("Can't open the folder \"%1\".").arg(folder);
    return {};
}

} // namespace

StartOptions ParseStartOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Edits the stages of the game in the current folder, or in DIR."));
    // Help of its own: Qt's would offer --help-all as well.
    parser.addOption(
        QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")));
    const QCommandLineOption choose(QStringLiteral("choose-folder"),
                                    QStringLiteral("When the folder is not a game folder, ask for one."));
    parser.addOption(choose);
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("The game's folder."), QStringLiteral("[DIR]"));

    StartOptions options;
    options.usage = parser.helpText();
    if (!parser.parse(arguments)) {
        options.parsed = parser.errorText();
        return options;
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) {
        options.parsed = QStringLiteral("Only one folder can be given.");
        return options;
    }
    options.chooseFolder = parser.isSet(choose);
    options.folder = folders.value(0);
    return options;
}

StartFolder EnterStartFolder(const StartOptions& options, const QString& lastGameFolder, const FolderChooser& choose)
{
    if (!options.folder.isEmpty()) {
        if (const Outcome changed = ChangeInto(options.folder); !changed.ok())
            return changed;
    }
    if (!options.chooseFolder || MissingGameFiles(GameFolder(QDir::currentPath())).isEmpty())
        return {};
    const QString startAt =
        !lastGameFolder.isEmpty() && QFileInfo(lastGameFolder).isDir() ? lastGameFolder : QDir::currentPath();
    const QString chosen = choose(startAt);
    if (chosen.isEmpty()) {
        StartFolder cancelled;
        cancelled.cancelled = true;
        return cancelled;
    }
    // A chosen folder that is no game folder either gets start-up's own
    // "Can't find..." message.
    return ChangeInto(chosen);
}

} // namespace vorn
