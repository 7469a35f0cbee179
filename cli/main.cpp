// vorn-tool: the editor's stage work from a terminal, on the same format
// library and the same map drawing, so that what it prints, writes and
// draws is what the editor shows and writes.
#include "codepagesetting.h"
#include "command.h"
#include "inifile.h"
#include "settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <cstdio>
#include <vector>

using namespace vorn::cli;

namespace {

std::vector<std::unique_ptr<Command>> AllCommands()
{
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(MakeStagesCommand());
    commands.push_back(MakeStageCommand());
    commands.push_back(MakeCheckCommand());
    commands.push_back(MakeScriptCommand(true));
    commands.push_back(MakeScriptCommand(false));
    commands.push_back(MakeRenderCommand());
    commands.push_back(MakeEntitiesCommand());
    commands.push_back(MakeFindCommand());
    commands.push_back(MakeTypesCommand());
    commands.push_back(MakeProfileCommand());
    commands.push_back(MakePlayCommand());
    return commands;
}

int BadUsage(const QString& error, const QString& helpCommand)
{
    PrintError(error);
    std::fprintf(stderr, "Run '%s --help' for the usage.\n", qPrintable(helpCommand));
    return kBadUsage;
}

// Qt's help with our own first line: the parser knows no subcommands.
QString HelpText(const QCommandLineParser& parser, const QString& usage, const QString& more = {})
{
    QString text = parser.helpText();
    text = QStringLiteral("Usage: ") + usage + text.mid(text.indexOf(u'\n'));
    return more.isEmpty() ? text : text + u'\n' + more;
}

// Reads the game's stage table, in the code page the editor's settings name.
int OpenGame(Game& game)
{
    const QString settings = EditorSettingsFile();
    const QString codePage = vorn::INIRead(settings, QStringLiteral("Main"), QStringLiteral("Code Page"));
    const QString warning = vorn::UseCodePageSetting(codePage);
    if (!warning.isEmpty())
        PrintError(warning);
    if (game.executablePath().isEmpty() && !vorn::HasStageTableFile(game.folder)) {
        PrintError(QStringLiteral("Can't find Doukutsu.exe in %1: run vorn-tool in the game's folder, or name "
                                  "that folder with -C DIR.")
                       .arg(QDir::toNativeSeparators(game.folder.root())));
        return kFoundWrong;
    }
    if (const vorn::Outcome read = game.readTable(); !read.ok()) {
        PrintError(read.refusal());
        return kFoundWrong;
    }
    if (const QString japanese = vorn::UseJapaneseForJapaneseTable(codePage, game.table); !japanese.isEmpty())
        game.notes << japanese;
    return kSuccess;
}

} // namespace

// Beside the program for a copy run from its own folder, else the user's
// (~/.config/vorn) or the installed default.
QString vorn::cli::EditorSettingsFile()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString userConfig =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/vorn");
    return vorn::SettingsFileToRead(vorn::SettingsFilePath(vorn::SettingsFolder(programDir, userConfig)),
                                    vorn::InstalledDefaultSettings(programDir));
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorn-tool"));
    const std::vector<std::unique_ptr<Command>> commands = AllCommands();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Works on the stages of the game in the current folder, the one that holds "
        "Doukutsu.exe and data/, as the editor does. A STAGE is a stage number, from 0 to one less than the count of the game's stage table (95 in the freeware game)."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption dirOption(
        QStringLiteral("C"), QStringLiteral("Work as if started in DIR, the game's folder."), QStringLiteral("DIR"));
    parser.addOption(dirOption);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("One of the commands below."));
    // Everything from the command on belongs to the command.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    QString commandList = QStringLiteral("Commands:\n");
    for (const auto& command : commands)
        commandList += QStringLiteral("  %1%2\n").arg(command->name(), -9).arg(command->summary());
    commandList += QStringLiteral("\nExit status: 0 success, 1 something was refused or found wrong, 2 bad "
                                  "usage. 'vorn-tool COMMAND --help' tells more about a command.\n");
    const QString usage = QStringLiteral("vorn-tool [-C DIR] COMMAND [ARGUMENTS...]");

    if (!parser.parse(QCoreApplication::arguments()))
        return BadUsage(parser.errorText(), QStringLiteral("vorn-tool"));
    const QStringList rest = parser.positionalArguments();
    if (parser.isSet(helpOption) || rest.isEmpty()) {
        const QString help = HelpText(parser, usage, commandList);
        if (rest.isEmpty() && !parser.isSet(helpOption)) {
            std::fputs(qPrintable(help), stderr);
            return kBadUsage;
        }
        std::fputs(qPrintable(help), stdout);
        return kSuccess;
    }

    Command* command = nullptr;
    for (const auto& c : commands) {
        if (c->name() == rest.first())
            command = c.get();
    }
    if (!command)
        return BadUsage(QStringLiteral("\"%1\" is not a command.").arg(rest.first()), QStringLiteral("vorn-tool"));

    const QString commandHelp = QStringLiteral("vorn-tool ") + command->name();
    QCommandLineParser options;
    options.setApplicationDescription(command->description());
    const QCommandLineOption commandHelpOption = options.addHelpOption();
    command->addOptions(options);
    if (!options.parse(QStringList{commandHelp} + rest.mid(1)))
        return BadUsage(command->name() + QStringLiteral(": ") + options.errorText(), commandHelp);
    if (options.isSet(commandHelpOption)) {
        std::fputs(qPrintable(HelpText(options, QStringLiteral("vorn-tool [-C DIR] ") + command->synopsis())), stdout);
        return kSuccess;
    }
    if (const vorn::Outcome taken = command->take(options); !taken.ok())
        return BadUsage(command->name() + QStringLiteral(": ") + taken.refusal(), commandHelp);

    if (parser.isSet(dirOption)) {
        const QString dir = parser.value(dirOption);
        if (!QDir::setCurrent(dir)) {
            PrintError(QStringLiteral("Cannot work in %1: no such folder.").arg(dir));
            return kFoundWrong;
        }
    }
    Game game(QDir::currentPath());
    if (const int status = OpenGame(game); status != kSuccess)
        return status;
    if (const vorn::Outcome taken = command->takeGame(game); !taken.ok())
        return BadUsage(command->name() + QStringLiteral(": ") + taken.refusal(), commandHelp);
    for (const QString& note : game.notes)
        PrintError(note);
    return command->run(game);
}
