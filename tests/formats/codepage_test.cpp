#include "codepage.h"
#include "codepagesetting.h"
#include "samplegame.h"
#include "stagetable.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vorn;

TEST(CodePage, LocalesNameTheirWindowsCodePage)
{
    const std::pair<const char*, int> cases[] = {
        {"ja_JP.UTF-8", 932},  {"ja", 932},     {"zh_CN.GB18030", 936}, {"zh_SG", 936},        {"zh_TW.UTF-8", 950},
        {"zh_HK", 950},        {"zh", 1252},    {"ko_KR.eucKR", 949},   {"ru_RU.UTF-8", 1251}, {"uk_UA", 1251},
        {"sr_RS@latin", 1251}, {"pl_PL", 1250}, {"hr_HR.UTF-8", 1250},  {"el_GR", 1253},       {"tr_TR.UTF-8", 1254},
        {"de_DE.UTF-8", 1252}, {"C", 1252},     {"POSIX", 1252},        {"C.UTF-8", 1252},     {"", 1252}};
    for (const auto& [locale, codePage] : cases)
        EXPECT_EQ(CodePageForLocale(locale), codePage) << locale;
    EXPECT_FALSE(IsKnownCodePage(65001));
    EXPECT_FALSE(SetAnsiCodePage(12345));
    EXPECT_EQ(AnsiCodePage(), 1252);
}

TEST(CodePage, ShiftJisNamesAreCutBetweenCharacters)
{
    ASSERT_TRUE(SetAnsiCodePage(932));
    const QByteArray start("\x83\x58\x83\x5E\x81\x5B\x83\x67\x92\x6E\x93\x5F"); // スタート地点
    EXPECT_EQ(DecodeAnsi(start), QString::fromUtf8("スタート地点"));
    EXPECT_EQ(StoreName32(QString::fromUtf8("  スタート地点  ")), start.leftJustified(32, '\0'));
    // "a" and sixteen double-byte characters: the last would end at byte 33.
    const QString long16 = "a" + QString::fromUtf8("曲がりくねった尾根に灯る提灯の列");
    const QByteArray stored = StoreName32(long16);
    EXPECT_EQ(stored.size(), 32);
    EXPECT_EQ(stored.at(31), '\0');
    EXPECT_EQ(DecodeAnsi(CutAtNull(stored)), long16.left(16));
    EXPECT_EQ(FirstUnencodable(QString::fromUtf8("地点€ä")), QString::fromUtf8("€"));
    EXPECT_EQ(FirstUnencodable(QString::fromUtf8("ｶﾌｪ")), QString());
    EXPECT_EQ(EncodeAnsi(QString::fromUtf8("a€b")), "a?b");
    // A field the user left alone keeps bytes that are not Shift-JIS.
    const QByteArray odd = QByteArray("Cave\x81", 5).leftJustified(32, '\0');
    EXPECT_EQ(KeepOrStoreName32(odd, DecodeAnsi(CutAtNull(odd))), odd);
    EXPECT_EQ(DecodeUtf8OrAnsi(start), QString::fromUtf8("スタート地点"));
    // The converters are kept: half a character at the end of one text is
    // not carried into the next.
    EXPECT_EQ(DecodeAnsi("Cave\x83") + DecodeAnsi("\x58"), "CaveX");
    SetAnsiCodePage(1252);
    EXPECT_EQ(DecodeAnsi("\x83\x58"), QString::fromUtf8("ƒX"));
}

namespace {

// The titles of the sample game's table, as stored.
QList<QByteArray> TitlesOf(SampleTitles kind, StageTable* table = nullptr)
{
    QTemporaryDir dir;
    StageTable read;
    EXPECT_EQ(WriteSampleGame(dir.path(), kind).refusal().toStdString(), "");
    EXPECT_EQ(ReadStageTable(dir.filePath("Doukutsu.exe"), read).refusal().toStdString(), "");
    QList<QByteArray> titles;
    for (const StageRecord& record : read)
        titles << CutAtNull(record.title());
    if (table)
        *table = read;
    return titles;
}

QByteArray InWestern(const char* utf8) { return QStringEncoder("windows-1252").encode(QString::fromUtf8(utf8)); }

} // namespace

TEST(CodePage, JapaneseTitlesAreToldFromWesternOnes)
{
    QList<QByteArray> japanese = TitlesOf(SampleTitles::Japanese);
    EXPECT_TRUE(TitlesAreJapanese(japanese)); // half-width katakana in record 40 included
    EXPECT_FALSE(TitlesAreJapanese(TitlesOf(SampleTitles::English)));
    EXPECT_FALSE(TitlesAreJapanese({"Start Point", "First Cave", ""})); // plain ASCII
    // In 1252 each accent here and its next letter form a valid Shift-JIS pair.
    const QList<QByteArray> western = {InWestern("Défense du Village"), InWestern("Forêt Sombre"),
                                       InWestern("Arthur’s House"), "Labyrinth"};
    EXPECT_FALSE(TitlesAreJapanese(western));
    // One byte that stands in no Shift-JIS character makes the table Western.
    japanese[20] += '\xFD';
    EXPECT_FALSE(TitlesAreJapanese(japanese));
    // Kana in fewer than half of the titles with such bytes: not Japanese.
    EXPECT_FALSE(TitlesAreJapanese({"\x83\x58\x83\x5E", western[0], western[1]}));
}

TEST(CodePage, AJapaneseTableSwitchesOnlyAWesternLocaleWithoutASetting)
{
    StageTable japanese, english;
    TitlesOf(SampleTitles::Japanese, &japanese);
    TitlesOf(SampleTitles::English, &english);
    const QByteArray all = qgetenv("LC_ALL");
    qputenv("LC_ALL", "fr_FR.UTF-8");
    SetAnsiCodePage(1252);
    EXPECT_EQ(UseJapaneseForJapaneseTable("", english), "");
    EXPECT_EQ(UseJapaneseForJapaneseTable("1252", japanese), ""); // the setting wins
    EXPECT_EQ(AnsiCodePage(), 1252);
    EXPECT_EQ(UseJapaneseForJapaneseTable("", japanese), "The stage table is Japanese (code page 932).");
    EXPECT_EQ(AnsiCodePage(), 932);
    EXPECT_EQ(DecodeAnsi(CutAtNull(japanese[13].title())), QString::fromUtf8("苔むした窪地"));
    qputenv("LC_ALL", "zh_CN.UTF-8"); // a double-byte locale keeps its own
    SetAnsiCodePage(936);
    EXPECT_EQ(UseJapaneseForJapaneseTable("0", japanese), "");
    EXPECT_EQ(AnsiCodePage(), 936);
    all.isNull() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", all);
    SetAnsiCodePage(1252);
}
