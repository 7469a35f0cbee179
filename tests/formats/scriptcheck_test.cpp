#include "scriptcheck.h"
#include "scriptcommands.h"

#include <gtest/gtest.h>

using namespace vorn;

namespace {

QByteArray Lines(std::initializer_list<const char*> lines)
{
    QByteArray out;
    for (const char* line : lines)
        out += QByteArray(line) + "\r\n";
    return out;
}

ScriptContext StageContext()
{
    ScriptContext context;
    context.headEvents = {0, 1, 16, 17, 18, 19, 30, 31, 32, 40, 41, 42, 48, 49};
    context.stageCount = 95;
    context.stageEvents = [](int stage) -> std::optional<std::vector<int>> {
        if (stage == 2)
            return std::vector<int>{100, 101};
        return std::nullopt;
    };
    return context;
}

// "line:column E|W" for each finding, easy to compare as a whole.
std::vector<std::string> Summary(const std::vector<ScriptFinding>& findings)
{
    std::vector<std::string> out;
    for (const ScriptFinding& f : findings)
        out.push_back(std::to_string(f.line) + ":" + std::to_string(f.column) + (f.error ? " E" : " W"));
    return out;
}

std::string Dump(const std::vector<ScriptFinding>& findings)
{
    std::string out;
    for (const ScriptFinding& f : findings)
        out += std::to_string(f.line) + ":" + std::to_string(f.column) + " " + f.text.toStdString() + "\n";
    return out;
}

} // namespace

TEST(ScriptCommandsTest, TableAndLookup)
{
    EXPECT_EQ(ScriptCommands().size(), 91u);
    const ScriptCommandInfo* tra = FindScriptCommand("TRA");
    ASSERT_NE(tra, nullptr);
    EXPECT_EQ(tra->argCount, 4);
    EXPECT_EQ(tra->kinds[0], ScriptArgKind::Stage);
    EXPECT_EQ(tra->kinds[1], ScriptArgKind::Event);
    EXPECT_TRUE(tra->AlwaysLeaves());
    const ScriptCommandInfo* flj = FindScriptCommand("FLJ");
    ASSERT_NE(flj, nullptr);
    EXPECT_TRUE(flj->endsEvent);
    EXPECT_FALSE(flj->AlwaysLeaves()); // falls through when the flag is clear
    EXPECT_EQ(FindScriptCommand("msg"), nullptr); // case matters to the game
    EXPECT_EQ(FindScriptCommand("XYZ"), nullptr);
    EXPECT_EQ(FindScriptCommand("MS"), nullptr);
    EXPECT_EQ(FindScriptCommand("FL+")->category, ScriptCategory::Flags);
    EXPECT_EQ(FindScriptCommand("MSG")->category, ScriptCategory::Message);
    EXPECT_EQ(FindScriptCommand("FAC")->category, ScriptCategory::Message);
    EXPECT_EQ(FindScriptCommand("CNP")->category, ScriptCategory::Entities);
    EXPECT_EQ(FindScriptCommand("AM+")->category, ScriptCategory::ItemsWeapons);
    EXPECT_EQ(FindScriptCommand("CMU")->category, ScriptCategory::Sound);
    EXPECT_EQ(FindScriptCommand("FON")->category, ScriptCategory::MapCamera);
    EXPECT_EQ(FindScriptCommand("FAI")->category, ScriptCategory::MapCamera);
    EXPECT_EQ(FindScriptCommand("EVE")->category, ScriptCategory::Flow);
    for (const ScriptCommandInfo& info : ScriptCommands())
        EXPECT_EQ(FindScriptCommand(info.code), &info);
}

TEST(ScriptCheckTest, ParsesEventsCommandsAndTextWithPositions)
{
    const QByteArray script = Lines({"#0100", "<MSG<FLJ0010:0200text", "<END", "#0200 label", "<END"});
    const ParsedScript parsed = ParseScript(script);
    ASSERT_EQ(parsed.events.size(), 2u);
    EXPECT_EQ(parsed.events[1].number, 200);
    EXPECT_EQ(parsed.events[1].header.line, 4);
    EXPECT_EQ(parsed.events[1].bodyOffset, script.indexOf("<END", parsed.events[1].header.offset));
    ASSERT_EQ(parsed.commands.size(), 4u);
    const ScriptCommandUse& flj = parsed.commands[1];
    EXPECT_EQ(flj.code, "FLJ");
    EXPECT_EQ(flj.position.line, 2);
    EXPECT_EQ(flj.position.column, 5);
    EXPECT_EQ(flj.length, 13);
    ASSERT_EQ(flj.argumentCount, 2);
    EXPECT_EQ(flj.arguments[0].value, 10);
    EXPECT_EQ(flj.arguments[1].text, "0200");
    EXPECT_EQ(flj.arguments[1].value, 200);
    EXPECT_EQ(flj.arguments[1].position.column, 14);
    ASSERT_EQ(parsed.texts.size(), 1u);
    EXPECT_EQ(parsed.texts[0].position.line, 2);
    EXPECT_EQ(parsed.texts[0].position.column, 18);
    EXPECT_EQ(parsed.texts[0].length, 4);
}

TEST(ScriptCheckTest, CleanScriptHasNoFindings)
{
    ScriptContext context = StageContext();
    context.entityEvents = {0, 90, 16};
    context.headSize = 1461;
    const QByteArray script = Lines({
        "#0090",
        "<KEY<MSG<FAC0005Hello there.<NOD<CLR",
        "Got the =Missiles=!<NOD<FLJ0010:0091<EVE0091",
        "#0091label", // shares the next event's body
        "#0092",
        "<MSG<TURThis instant text is not wrapped, so it is longer.<NOD",
        "<TRA0002:0100:0010:0008",
        "Notes after the exit are never read, and may be as wide as they like.",
    });
    const auto findings = CheckScript(script, context);
    EXPECT_TRUE(findings.empty()) << Dump(findings);
}

TEST(ScriptCheckTest, ErrorsAtTheirPlaces)
{
    ScriptContext context = StageContext();
    context.headSize = 20479; // any stage script on top is too much
    const QByteArray script = Lines({
        "#0100",
        "<XYZ<MSG", // 2: unknown command
        "a < b", // 3: '<' in text
        "<WAI01x0<FL+0001", // 4: argument not digits
        "<FLJ0001;0100", // 5: wrong separator
        "<EVE0555", // 6: no such event
        "<TRA0095:0100:0001:0001", // 7: stage beyond the table
        "<TRA0002:0300:0001:0001", // 8: no such event in stage 2
        "text\n<END", // 9: LF alone
        "#0050", // 11: out of order
        "<END",
        "#0100", // 13: repeated
        "<END",
        "#0017", // 15: hidden by Head.tsc
        "<END",
        "see #9999", // 17: '#' inside a line
    });
    const auto findings = CheckScript(script, context);
    const std::vector<std::string> expected = {"0:0 E",  "2:1 E", "3:3 E",  "4:5 E",  "5:9 E",  "6:5 E",  "7:5 E",
                                               "8:10 E", "9:5 E", "11:1 E", "13:1 E", "15:1 E", "17:5 E", "17:5 W"};
    EXPECT_EQ(Summary(findings), expected) << Dump(findings);
    for (const ScriptFinding& f : findings)
        EXPECT_FALSE(f.text.isEmpty());
    EXPECT_TRUE(findings[1].text.contains(QStringLiteral("XYZ")));
    EXPECT_TRUE(findings[3].text.contains(QStringLiteral("01x0")));
}

TEST(ScriptCheckTest, WarningsAtTheirPlaces)
{
    ScriptContext context = StageContext();
    context.entityEvents = {200, 300};
    QByteArray sjisRow = "<MSG";
    for (int i = 0; i < 17; ++i)
        sjisRow += "\x82\xa0"; // 34 columns: fits
    sjisRow += "<NOD";
    const QByteArray script = Lines({
        "#0200",
        "<MSG12345678901234567890123456789012345<NOD", // 35 columns
        sjisRow.constData(),
        "<FAC0001123456789012345678901234567<NOD<END", // 27 columns with a face
        "#0201", // runs on
        "<FL+8000", // flag beyond 7999
        "<MSG<TUR123456789012345678901234567890123456789012345678901234567890123456789012", // 72: an error
        "#0202", // empty and last
    });
    const auto findings = CheckScript(script, context);
    const std::vector<std::string> expected = {"0:0 W", "2:39 W", "4:35 W", "5:1 W", "6:5 W", "7:9 E", "8:1 W"};
    // A NUL as the middle byte: the game takes another key.
    QByteArray keyless = Lines({"#0100", "<MSGabcdef<END"});
    keyless[keyless.size() / 2] = '\0';
    EXPECT_EQ(Summary(CheckScript(keyless, ScriptContext{})), std::vector<std::string>{"2:5 E"})
        << Dump(CheckScript(keyless, ScriptContext{}));
    EXPECT_EQ(Summary(findings), expected) << Dump(findings);
    EXPECT_TRUE(findings[0].text.contains(QStringLiteral("0300")));
}

TEST(ScriptCheckTest, KnownFaultsInTheGameData)
{
    // A short flag number, a colon where a digit belongs, and a command whose
    // arguments swallow the two commands after it; a second copy of an event.
    const QByteArray script = Lines({
        "#0090",
        "<FLJ850:0111",
        "<END",
        "#0091",
        "<KEY<CNP0250:<FAI0000<END",
        "#0092",
        "<END",
        "#0091",
        "<END",
    });
    const ParsedScript parsed = ParseScript(script);
    std::vector<QByteArray> codes;
    for (const ScriptCommandUse& c : parsed.commands)
        codes.push_back(c.code);
    EXPECT_EQ(codes, (std::vector<QByteArray>{"FLJ", "END", "KEY", "CNP", "END", "END"}));
    EXPECT_EQ(parsed.commands[0].arguments[0].value, 8510);
    EXPECT_EQ(parsed.commands[3].arguments[2].text, "000<");
    EXPECT_FALSE(parsed.events[3].findable);

    const auto findings = CheckScript(script, StageContext());
    const std::vector<std::string> expected = {"2:5 E", "2:9 E", "4:1 W", "5:14 E", "5:18 E", "8:1 E"};
    EXPECT_EQ(Summary(findings), expected) << Dump(findings);
}
