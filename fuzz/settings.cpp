// The settings file. The input gives a section, a key and a value, each
// ended by a backslash and any other byte ("\\" is a backslash), then the
// file. Any file reads without harm; a write that succeeds is read back, and
// the file keeps every line it had: either one line changes (the value set
// in place), or lines are added (the entry, and for a new section its
// header and a blank line) and at most the old last line gains the line
// break it lacked.
#include "fuzzcheck.h"
#include "inifile.h"

#include <QString>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

namespace {

// Each line with its line break; only a line break ends a line.
std::vector<QByteArray> RawLines(const QByteArray& bytes)
{
    std::vector<QByteArray> lines;
    for (qsizetype from = 0; from < bytes.size();) {
        const qsizetype lf = bytes.indexOf('\n', from);
        const qsizetype next = lf < 0 ? bytes.size() : lf + 1;
        lines.push_back(bytes.mid(from, next - from));
        from = next;
    }
    return lines;
}

QByteArray WithoutBreak(QByteArray line)
{
    if (line.endsWith('\n'))
        line.chop(line.endsWith("\r\n") ? 2 : 1);
    return line;
}

// A value the reader gives back as it was written.
bool ReadsBack(const QString& value)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    return value.size() <= 511 && !value.contains(u'\n') && !value.contains(u'\r') &&
           (value.isEmpty() || (!blank(value.front()) && !blank(value.back())));
}

QString Text(FuzzedDataProvider& input, size_t maxLength)
{
    return QString::fromStdString(input.ConsumeRandomLengthString(maxLength));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString section = Text(input, 64);
    const QString key = Text(input, 64);
    const QString value = Text(input, 600);
    const std::vector<char> file = input.ConsumeRemainingBytes<char>();
    const QByteArray before = QByteArray::fromRawData(file.data(), qsizetype(file.size()));

    (void)vorn::IniValue(before, section, key);
    QByteArray after = before;
    if (!vorn::IniSetValue(after, section, key, value)) {
        FUZZ_CHECK(after == before);
        return 0;
    }
    if (ReadsBack(value))
        FUZZ_CHECK(vorn::IniValue(after, section, key) == value);

    const std::vector<QByteArray> old = RawLines(before);
    const std::vector<QByteArray> now = RawLines(after);
    if (now.size() == old.size()) {
        size_t changed = 0;
        for (size_t i = 0; i < old.size(); ++i)
            changed += old[i] != now[i];
        FUZZ_CHECK(changed <= 1);
        return 0;
    }

    const QByteArray entry = key.trimmed().toUtf8() + '=' + value.toUtf8();
    const QByteArray header = '[' + section.trimmed().toUtf8() + ']';
    int entries = 0;
    int headers = 0;
    size_t added = 0;
    const auto isAdded = [&](const QByteArray& line) {
        const QByteArray text = WithoutBreak(line);
        entries += text == entry;
        headers += text == header;
        ++added;
        return line.endsWith('\n') && (text.isEmpty() || text == entry || text == header);
    };
    size_t j = 0;
    for (size_t i = 0; i < old.size(); ++i, ++j) {
        const bool unended = i + 1 == old.size() && !old[i].endsWith('\n');
        const auto kept = [&](const QByteArray& line) {
            return line == old[i] || (unended && (line == old[i] + '\n' || line == old[i] + "\r\n"));
        };
        while (j < now.size() && !kept(now[j]))
            FUZZ_CHECK(isAdded(now[j++]));
        FUZZ_CHECK(j < now.size());
    }
    while (j < now.size())
        FUZZ_CHECK(isAdded(now[j++]));
    FUZZ_CHECK(added >= 1 && added <= 3 && entries == 1 && headers <= 1);
    return 0;
}
