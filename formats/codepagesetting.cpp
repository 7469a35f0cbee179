#include "codepagesetting.h"

#include "codepage.h"
#include "numtext.h"

#include <cmath>

namespace vorn {

QString UseCodePageSetting(const QString& value)
{
    const double number = Val(value);
    if (number == 0) {
        SetAnsiCodePage(CodePageOfEnvironment());
        return {};
    }
    if (number != std::floor(number) || !SetAnsiCodePage(int(number))) {
        SetAnsiCodePage(1252);
        return QStringLiteral("The setting \"Code Page\" holds \"%1\", which names no code page "
                              "Vorn can convert. Code page 1252 is used.")
            .arg(value);
    }
    return {};
}

QString UseJapaneseForJapaneseTable(const QString& value, const StageTable& table)
{
    if (Val(value) != 0 || IsDoubleByteCodePage(CodePageOfEnvironment()))
        return {};
    QList<QByteArray> titles;
    for (const StageRecord& record : table)
        titles << CutAtNull(record.title());
    if (!TitlesAreJapanese(titles) || !SetAnsiCodePage(932))
        return {};
    return QStringLiteral("The stage table is Japanese (code page 932).");
}

} // namespace vorn
