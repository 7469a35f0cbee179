#include "frmVorn.h"

#include "entitytypes.h"
#include "numtext.h"
#include "stagedocument.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringList>

// Entity inspector: the selected entity's fields in hexadecimal and decimal,
// with its type name. Runs only when the selector's value changes.

namespace {

QString FieldLine(const QString& label, qint16 value)
{
    return label + QStringLiteral("\t0x") + vorn::Hex16(value) + QStringLiteral("\t (") + QString::number(value) +
           QLatin1Char(')');
}

} // namespace

// The selector rests on 0 before any choice: that is no selection.
int frmVorn::SelectedEntity() const { return inspectorBuilt_ ? hsbEntity_->value() : -1; }

void frmVorn::hsbEntity_Change()
{
    const int index = hsbEntity_->value();
    if (index < 0 || index >= vorn::kMaxEntities)
        return;
    const vorn::EntityRecord& record = stage_->record(index);
    inspectorBuilt_ = true;

    QString status = QString::number(record.Type);
    fraEntity_->setTitle(QStringLiteral("Entity #") + QString::number(index));

    QString text =
        QStringList{
            FieldLine(QStringLiteral("X:"), record.X),       FieldLine(QStringLiteral("Y:"), record.Y),
            FieldLine(QStringLiteral("Flag:"), record.Flag), FieldLine(QStringLiteral("TSC:"), record.TSC),
            FieldLine(QStringLiteral("Type:"), record.Type), FieldLine(QStringLiteral("???:"), record.Unknown),
        }
            .join(QStringLiteral("\r\n"));

    // Types outside the name table have no name.
    const bool named = record.Type >= 0 && record.Type < int(EntityNames_.size());
    if (named && !EntityNames_[record.Type].isEmpty()) {
        const QString& name = EntityNames_[record.Type];
        text += QStringLiteral("\r\n") + name;
        status += QStringLiteral(" - ") + name;
    }

    lblStatus_->setText(status);
    txtEntity_->setPlainText(text);
    // The designed box is too narrow for a wide last field and a long name:
    // the tooltip holds all of it, the last field named as what it is.
    const QString bitNames = vorn::EntityBitNames(quint16(record.Unknown));
    txtEntity_->setToolTip(QString(text)
                               .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                               .replace(QStringLiteral("???:"), QStringLiteral("Bits:"))
                               .replace(u'\t', u' ') +
                           (bitNames.isEmpty() ? QString() : QStringLiteral("\nBits: ") + bitNames));
}
