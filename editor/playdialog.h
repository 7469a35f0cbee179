#pragma once
// "Play settings" (Ctrl+F5): the command that starts the game.
#include <QDialog>

class QLineEdit;
class QLabel;

class PlayDialog : public QDialog {
    Q_OBJECT
public:
    // `wineFound`: whether `wine` is on the PATH; without it and without a
    // command the dialog says what to install.
    PlayDialog(const QString& command, bool wineFound, QWidget* parent = nullptr);
    QString command() const;
    QLineEdit* commandBox() const { return command_; }
    QLabel* installNote() const { return install_; }

private:
    QLineEdit* command_;
    QLabel* install_;
};
