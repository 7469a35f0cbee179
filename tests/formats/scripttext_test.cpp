// A script as text and back: every byte comes back, whatever the code page
// makes of it.
#include "codepage.h"
#include "scripttext.h"

#include <gtest/gtest.h>

using namespace vorn;

namespace {

struct CodePage {
    explicit CodePage(int page) { EXPECT_TRUE(SetAnsiCodePage(page)); }
    ~CodePage() { SetAnsiCodePage(1252); }
};

TEST(ScriptText, EveryByteComesBackAndLinesEndInCrLf)
{
    // A Shift-JIS word, a lead byte with no trail byte that fits, NUL, a CR
    // alone, and an LF alone, which comes back as CR LF.
    const QByteArray decoded = QByteArray("#0100\r\n<MSG\x93\xfa\x96\x7b\x81\x7f", 17) + QByteArray("\0\r<END\nx", 8);
    for (const int page : {1252, 932}) {
        CodePage use(page);
        const ScriptTextReading reading = ScriptTextOf(decoded);
        EXPECT_EQ(reading.bareLineFeeds, 1);
        const ScriptBytes back = ScriptBytesOf(reading.text);
        QByteArray expected = decoded;
        expected.replace("<END\n", "<END\r\n");
        EXPECT_EQ(back.bytes, expected) << page;
        EXPECT_EQ(back.unencodableAt, -1);
        EXPECT_EQ(back.offsets.back(), expected.size());
        if (page == 932) {
            EXPECT_TRUE(reading.text.contains(QStringLiteral("日本")));
            // 0x81 0x7F is no character (and 0x7F a control byte): both kept, the NUL and the lone CR too.
            EXPECT_EQ(reading.keptBytes, 4);
            EXPECT_EQ(back.offsets[size_t(reading.text.indexOf(u'本')) + 1], 15);
        }
    }
}

TEST(ScriptText, TypedTextConvertsAndWhatTheCodePageLacksIsFound)
{
    CodePage use(932);
    const QString typed = QStringLiteral("<MSGあ\x2029€x");
    const ScriptBytes bytes = ScriptBytesOf(typed);
    EXPECT_EQ(bytes.bytes, QByteArray("<MSG\x82\xa0\r\n?x"));
    EXPECT_EQ(bytes.unencodableAt, 6);
    EXPECT_EQ(bytes.offsets[5], 6);
}

} // namespace
