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

void EditDialog::RefuseAt(QLineEdit* box, const QString& text)
{
    Tell(text);
    box->setFocus();
    box->selectAll();
}

} // namespace vorn
