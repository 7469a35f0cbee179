// vorn-tool types: every entity type of the game's npc.tbl.
#include "command.h"

#include "entitytypes.h"
#include "npctable.h"

namespace vorn::cli {
namespace {

QString Box(const NpcBox& b) { return QStringLiteral("%1 %2 %3 %4").arg(b.front).arg(b.top).arg(b.back).arg(b.bottom); }

class TypesCommand : public Command {
public:
    QString name() const override { return QStringLiteral("types"); }
    QString synopsis() const override { return QStringLiteral("types [--tsv]"); }
    QString summary() const override { return QStringLiteral("list the entity types of data/npc.tbl"); }
    QString description() const override
    {
        return QStringLiteral(
            "Lists every entity type of data/npc.tbl, after a line that says how many it holds "
            "(\"data/npc.tbl, 361 types\") and a heading line: number, name (the game folder's own name "
            "given in the editor, else the shared one, else the shipped one), sheet, life, damage, experience, "
            "hurt sound, death sound, smoke size, hit box and view box (front, top, back and bottom, in "
            "pixels from the centre), the bits as a number and by their names. Control characters in a name "
            "are written as escapes, a backslash as \\\\. Exits 1 when the file is missing or cannot be read.");
    }
    void addOptions(QCommandLineParser& parser) override { parser.addOption(tsv_); }
    Outcome take(const QCommandLineParser& parser) override
    {
        if (!parser.positionalArguments().isEmpty())
            return QStringLiteral("takes no arguments.");
        asTsv_ = parser.isSet(tsv_);
        return {};
    }
    int run(const Game& game) override
    {
        NpcTable table;
        const ReadStatus read = ReadNpcTable(game.folder, table);
        if (!read.ok()) {
            PrintError(read.refusal());
            return kFoundWrong;
        }
        if (read.missing) {
            PrintError(NpcTableName() + QStringLiteral(" is missing."));
            return kFoundWrong;
        }
        const int count = int(table.size());
        const QStringList names = EntityTypeNames(EditorSettingsFile(), count, game.folder.root());
        QList<QStringList> rows;
        rows.push_back({QStringLiteral("number"), QStringLiteral("name"), QStringLiteral("sheet"),
                        QStringLiteral("life"), QStringLiteral("damage"), QStringLiteral("experience"),
                        QStringLiteral("hurt sound"), QStringLiteral("death sound"), QStringLiteral("smoke size"),
                        QStringLiteral("hit box"), QStringLiteral("view box"), QStringLiteral("bits"),
                        QStringLiteral("bit names")});
        for (int t = 0; t < count; ++t) {
            const NpcType& type = table[size_t(t)];
            rows.push_back({QString::number(t), EscapedCell(names[t]), QString::number(type.sheet),
                            QString::number(type.life), QString::number(type.damage), QString::number(type.experience),
                            QString::number(type.hitSound), QString::number(type.deathSound),
                            QString::number(type.deathSmoke), Box(type.hit), Box(type.view),
                            NpcFieldText(type, NpcField::Bits), EntityBitNames(type.bits)});
        }
        PrintLine(QStringLiteral("%1, %2 types").arg(QString(NpcTableName()).replace(u'\\', u'/')).arg(count));
        if (asTsv_) {
            for (const QStringList& row : rows)
                PrintCells(row);
        } else {
            PrintColumns(rows, {0, 2, 3, 4, 5, 6, 7, 8});
        }
        return kSuccess;
    }

private:
    QCommandLineOption tsv_{QStringLiteral("tsv"), QStringLiteral("Tab-separated values, for scripts.")};
    bool asTsv_ = false;
};

} // namespace

std::unique_ptr<Command> MakeTypesCommand() { return std::make_unique<TypesCommand>(); }

} // namespace vorn::cli
