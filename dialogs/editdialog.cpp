#include "editdialog.h"

#include "dialogwidgets.h"

#include <QLineEdit>

namespace vorn {

void EditDialog::reject()
{
    Tag = QStringLiteral("-_-");
    QDialog::reject();
}

void EditDialog::Tell(const QString& text)
{
    if (showMessage)
        showMessage(text);
    else
        ShowVornMessage(this, text);
}

void EditDialog::RefuseAt(QWidget* box, const QString& text)
{
    Tell(text);
    box->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->selectAll();
}

} // namespace vorn
