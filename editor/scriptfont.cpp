#include "scriptfont.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

bool HoldsBothScripts(const QString& family)
{
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    return systems.contains(QFontDatabase::Japanese) && systems.contains(QFontDatabase::Latin);
}

QString ChooseFamily()
{
    // Fixed-pitch fonts known to hold both, in the order they read best.
    for (const char* known : {"Noto Sans Mono CJK JP", "Source Han Mono", "Sarasa Mono J", "IPAGothic", "VL Gothic",
                              "TakaoGothic", "Takao Gothic", "M+ 1m", "MS Gothic", "Osaka-Mono"}) {
        const QString family = QString::fromLatin1(known);
        if (QFontDatabase::hasFamily(family) && HoldsBothScripts(family))
            return family;
    }
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    for (const QString& family : japanese)
        if (QFontDatabase::isFixedPitch(family) && HoldsBothScripts(family))
            return family;
    for (const QString& family : japanese)
        if (HoldsBothScripts(family))
            return family;
    return {};
}

} // namespace

QFont ScriptFont()
{
    static const QString family = ChooseFamily();
    QFont font(family.isEmpty() ? QStringLiteral("Monospace") : family);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}
