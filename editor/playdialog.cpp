#include "playdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

PlayDialog::PlayDialog(const QString& command, bool wineFound, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Play"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Command that starts the game:"), this);
    command_ = new QLineEdit(command, this);
    command_->setObjectName(QStringLiteral("playCommand"));
    command_->setPlaceholderText(QStringLiteral("wine {exe}"));
    label->setBuddy(command_);
    auto* help = new QLabel(
        QStringLiteral("It runs through /bin/sh in the game folder. {folder}, {exe} and {data} stand for the game "
                       "folder, Doukutsu.exe and its data folder; write them bare (wine {exe}): Vorn quotes the "
                       "paths."),
        this);
    help->setWordWrap(true);
    install_ = new QLabel(QStringLiteral("Wine is not installed. To run the game with it, as root:\n"
                                         "dpkg --add-architecture i386\n"
                                         "apt-get update\n"
                                         "apt-get install wine wine32"),
                          this);
    install_->setObjectName(QStringLiteral("installNote"));
    install_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    install_->setVisible(!wineFound);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(command_);
    layout->addWidget(help);
    layout->addWidget(install_);
    layout->addWidget(buttons);
    resize(520, sizeHint().height());
}

QString PlayDialog::command() const { return command_->text().trimmed(); }
