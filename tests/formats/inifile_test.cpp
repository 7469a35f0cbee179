#include "inifile.h"
#include "numtext.h"
#include "testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <limits>
#include <gtest/gtest.h>

using namespace vorn;

namespace {

struct IniTest : ::testing::Test {
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("vorn.ini"));
};

} // namespace

// ---- settings file --------------------------------------------------------

TEST(SettingsPath, NoDoubledSeparator)
{
    EXPECT_EQ(SettingsFilePath(QStringLiteral("/opt/vorn")), QStringLiteral("/opt/vorn/vorn.ini"));
    EXPECT_EQ(SettingsFilePath(QStringLiteral("/")), QStringLiteral("/vorn.ini"));
}

TEST_F(IniTest, ReadsHandWrittenFiles)
{
    PutFile(ini, "; the editor's settings\r\n"
                 "  [ main ]  \r\n"
                 "Zoom = 3x  \r\n"
                 "# Zoom=9\r\n"
                 "junk line\r\n"
                 "last stage=2.5\r\n"
                 "[Entities]\r\n"
                 "0=\r\n"
                 "1=  Spike block\r\n"
                 "Zoom=5");
    EXPECT_EQ(INIRead(ini, "Main", "zoom"), "3x");
    EXPECT_EQ(INIRead(ini, "MAIN", "Last Stage"), "2.5");
    EXPECT_EQ(INIRead(ini, "Entities", "1"), "Spike block");
    EXPECT_EQ(INIRead(ini, "Entities", "0"), "");
    EXPECT_EQ(INIRead(ini, "Entities", "Zoom"), "5"); // last line without a break
    EXPECT_EQ(INIRead(ini, "Main", "Split"), "");
    EXPECT_EQ(INIRead(ini, "Nowhere", "Zoom"), "");
    EXPECT_EQ(INIRead(dir.filePath("none.ini"), "Main", "Zoom"), "");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("none.ini")));
}

TEST_F(IniTest, ValuesAreUtf8WhereValidElseWindows1252AndCutAt511)
{
    PutFile(ini, QByteArray("[Entities]\n1=Caf\xC3\xA9\n2=Caf\xE9 \x80\n3=") + QByteArray(600, 'x') + "\n");
    EXPECT_EQ(INIRead(ini, "Entities", "1"), QStringLiteral("Caf\u00E9"));
    EXPECT_EQ(INIRead(ini, "Entities", "2"), QStringLiteral("Caf\u00E9 \u20AC"));
    EXPECT_EQ(INIRead(ini, "Entities", "3").size(), 511);
}

TEST_F(IniTest, WriteReplacesInPlaceAndKeepsEveryOtherByte)
{
    const QByteArray before = "; keep me\r\n[Main]\r\nLeft = 100 \r\nZOOM=1\r\n\r\n[Entities]\r\n0=Nothing\r\n";
    PutFile(ini, before);
    ASSERT_TRUE(INIWrite(ini, "main", "zoom", "4").ok());
    EXPECT_EQ(GetFile(ini), QByteArray(before).replace("ZOOM=1", "ZOOM=4"));
    ASSERT_TRUE(INIWrite(ini, "Main", "Left", "2000").ok());
    EXPECT_EQ(INIRead(ini, "Main", "Left"), "2000");
    EXPECT_TRUE(GetFile(ini).contains("Left = 2000 \r\n"));
}

TEST_F(IniTest, WriteAppendsMissingKeyAndSectionWithTheFilesLineBreaks)
{
    PutFile(ini, "[Main]\r\nZoom=1\r\n\r\n[Entities]\r\n0=Nothing");
    ASSERT_TRUE(INIWrite(ini, "Main", "Split", "120").ok());
    ASSERT_TRUE(INIWrite(ini, "Entities", "1", "Thing").ok());
    ASSERT_TRUE(INIWrite(ini, "Other", "Key", "v").ok());
    EXPECT_EQ(GetFile(ini), QByteArray("[Main]\r\nZoom=1\r\nSplit=120\r\n\r\n[Entities]\r\n0=Nothing\r\n"
                                       "1=Thing\r\n\r\n[Other]\r\nKey=v\r\n"));
}

TEST_F(IniTest, WriteAfterALastLineEndingInALoneCarriageReturnKeepsItsValue)
{
    PutFile(ini, "[Main]\r\nZoom=2\r");
    ASSERT_TRUE(INIWrite(ini, "Main", "Split", "5").ok());
    EXPECT_EQ(GetFile(ini), "[Main]\r\nZoom=2\r\nSplit=5\r\n");
    EXPECT_EQ(INIRead(ini, "Main", "Zoom"), "2");

    PutFile(ini, "[Main]\r\nZoom=2\r");
    ASSERT_TRUE(INIWrite(ini, "Other", "Key", "v").ok());
    EXPECT_EQ(GetFile(ini), "[Main]\r\nZoom=2\r\n\r\n[Other]\r\nKey=v\r\n");
}

TEST_F(IniTest, WriteCreatesMissingFileAndStoresUtf8)
{
    ASSERT_TRUE(INIWrite(ini, "Main", "Title", QStringLiteral("Caf\u00E9")).ok());
    EXPECT_EQ(GetFile(ini), QByteArray("[Main]\nTitle=Caf\xC3\xA9\n"));
    EXPECT_EQ(INIRead(ini, "main", "title"), QStringLiteral("Caf\u00E9"));
}

TEST_F(IniTest, WriteRefusesWhatWouldNotReadBackAndReadOnlyFiles)
{
    PutFile(ini, "[Main]\nZoom=1\n");
    EXPECT_EQ(INIWrite(ini, "Main", "Zoom", "1\n[Evil]").refusal(),
              "Cannot write " + ini + ": \"Zoom\" in section \"Main\" would not read back as written.");
    EXPECT_FALSE(INIWrite(ini, "Main", "a=b", "1").ok());
    MakeReadOnly(ini);
    EXPECT_EQ(INIWrite(ini, "Main", "Zoom", "2").refusal(), "Cannot write " + ini + ": the file is read-only.");
    EXPECT_EQ(GetFile(ini), "[Main]\nZoom=1\n");

    // Every refusal names the file and the reason.
    const QString big = dir.filePath("big.ini");
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(4 * 1024 * 1024 + 1));
    EXPECT_EQ(INIWrite(big, "Main", "Zoom", "2").refusal(),
              big + " is 4194305 bytes, more than a settings file can be (4194304 bytes).");
    QDir(dir.path()).mkdir("locked");
    const QString locked = dir.filePath("locked/vorn.ini");
    ASSERT_TRUE(QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_EQ(INIWrite(locked, "Main", "Zoom", "2").refusal(),
              "Cannot write " + locked + ": the folder " + dir.filePath("locked") + " is read-only.");
}

// One read gives what a read of each key gives: the first of duplicate
// keys, sections of one name taken together, names without regard to case
// and blanks, only the plain decimal spelling, values cut at 511.
TEST_F(IniTest, NumberedKeysReadInOnePassAreWhatEachKeyReads)
{
    PutFile(ini, QByteArray("[Entities]\n0=Nothing\n 1 =  Spike \n01=zero-one\n+2=plus\n2=Two\n1=again\n"
                            "[Main]\n3=not here\n[ENTITIES]\r\n3=Caf\xE9\r\n4=") +
                     QByteArray(600, 'x') + "\n5\n; 5=comment\n[ entities ]\n6=\xC3\xA9t\xC3\xA9\n0=late\n9=beyond\n");
    const QStringList names = INIReadNumberedKeys(ini, "entities", 8);
    ASSERT_EQ(names.size(), 8);
    for (int n = 0; n < 8; ++n)
        EXPECT_EQ(names[n], INIRead(ini, "entities", QString::number(n))) << n;
    EXPECT_EQ(names, QStringList({"Nothing", "Spike", "Two", QStringLiteral("Caf\u00E9"), QString(511, u'x'), "",
                                  QStringLiteral("\u00E9t\u00E9"), ""}));
    EXPECT_EQ(INIReadNumberedKeys(dir.filePath("none.ini"), "Entities", 3), QStringList(3));
}

TEST(IniBytes, NamesAndValuesStartingWithZeroWidthNoBreakSpaceReadBackWhole)
{
    const QString mark = QStringLiteral("\uFEFF");
    QByteArray bytes = "[Main]\nZoom=\xEF\xBB\xBF"
                       "2\n";
    EXPECT_EQ(IniValue(bytes, "Main", "Zoom"), mark + "2");
    ASSERT_TRUE(IniSetValue(bytes, "Main", mark + "Key", mark + "v"));
    EXPECT_EQ(IniValue(bytes, "Main", mark + "Key"), mark + "v");
    EXPECT_EQ(IniValue(bytes, "Main", "Key"), "");
}

TEST(IniBytes, KeyFoundAfterManyLinesWithoutEqualsOrBracketEnd)
{
    // Each line's search stops at its end: a search that ran to the end of
    // the file would make this 3 MB file take tens of seconds (the speed is
    // measured in vorn-bench).
    QByteArray bytes = "[Main]\n";
    for (int i = 0; i < 500000; ++i)
        bytes += "[a\nb c\n";
    bytes += "[Main]\nZoom=3\n";
    EXPECT_EQ(IniValue(bytes, "Main", "Zoom"), "3");
}

// ---- numbers from text ----------------------------------------------------

TEST(NumText, LeadingAndWholeNumbers)
{
    EXPECT_EQ(LeadingNumber("12abc"), 12.0);
    EXPECT_EQ(LeadingNumber("  -2.5e1x"), -25.0);
    EXPECT_EQ(LeadingNumber("+.5"), 0.5);
    EXPECT_EQ(LeadingNumber("3e"), 3.0);
    EXPECT_EQ(LeadingNumber("&hc8zz"), 200.0);
    // Beyond the range of a double: tiny numbers are 0, huge ones infinite,
    // whichever way the exponent points.
    const QString zeros(400, u'0');
    EXPECT_EQ(LeadingNumber("0." + zeros + "1"), 0.0);
    EXPECT_EQ(LeadingNumber("-0." + zeros + "1e5"), 0.0);
    EXPECT_EQ(LeadingNumber("1" + zeros + "e-5"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(LeadingNumber("1e-400"), 0.0);
    EXPECT_EQ(LeadingNumber("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("0." + zeros + "1"), 0.0); // "Silent TSC" reads as off
    for (const char* none : {"abc", "", "-", ".", "&H"})
        EXPECT_EQ(LeadingNumber(none), std::nullopt) << none;

    EXPECT_EQ(WholeNumber(" &H100 "), 256.0);
    EXPECT_EQ(WholeNumber("-1.5e2"), -150.0);
    for (const char* none : {"12abc", "1e", "", "-"})
        EXPECT_EQ(WholeNumber(none), std::nullopt) << none;
}

TEST(NumText, RoundingSettingsAndHex)
{
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(3.5), 4.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2.0);

    EXPECT_EQ(SettingNumber("3x"), 3);
    EXPECT_EQ(SettingNumber("2.5"), 2);
    EXPECT_EQ(SettingNumber("yes"), 0);
    EXPECT_EQ(SettingNumber("-32768"), -32768);
    EXPECT_EQ(SettingNumber("32767.5"), 0); // rounds to 32768: out of range
    EXPECT_EQ(SettingNumber("1e999"), 0);

    EXPECT_EQ(Hex16(200), "C8");
    EXPECT_EQ(Hex16(-1), "FFFF");
}
