#pragma once
// What the two editing dialogs share: the cancel mark the opener tests, a
// message route the opener may set, and refusing OK at a box.
#include <QDialog>
#include <QString>
#include <functional>

class QLineEdit;

namespace vorn {

class EditDialog : public QDialog {
public:
    explicit EditDialog(QWidget* owner)
        : QDialog(owner)
    {
    }

    // Messages of the OK check; without a route they show in a "Vorn" box.
    std::function<void(const QString&)> showMessage;

    QString Tag; // "-_-" once cancelled

    // Esc, Cancel and the title bar's close box all cancel.
    void reject() override;

protected:
    void Tell(const QString& text);
    // Tells why OK was refused and puts the user back in the box (a text
    // box or a list) at fault.
    void RefuseAt(QWidget* box, const QString& text);
};

} // namespace vorn
