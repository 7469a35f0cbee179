#include "resizedialog.h"

#include "mapfile.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

ResizeDialog::ResizeDialog(int width, int height, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmResize"));
    setWindowTitle(QStringLiteral("Resize map"));
    const auto side = [this](int value) {
        auto* box = new QSpinBox(this);
        box->setRange(1, vorn::kMaxMapSide);
        box->setValue(value);
        box->setToolTip(QStringLiteral("1 to %1 cells").arg(vorn::kMaxMapSide));
        return box;
    };
    width_ = side(width);
    height_ = side(height);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Width"), width_);
    form->addRow(QStringLiteral("Height"), height_);
    auto* grid = new QGridLayout;
    static const char* const arrows[9] = {"\u2196", "\u2191", "\u2197", "\u2190", "\u2022",
                                          "\u2192", "\u2199", "\u2193", "\u2198"};
    for (int i = 0; i < 9; ++i) {
        anchors_[i] = new QToolButton(this);
        anchors_[i]->setCheckable(true);
        anchors_[i]->setAutoExclusive(true);
        anchors_[i]->setText(QString::fromUtf8(arrows[i]));
        anchors_[i]->setFixedSize(28, 28);
        grid->addWidget(anchors_[i], i / 3, i % 3);
        connect(anchors_[i], &QToolButton::clicked, this, [this, i] { anchor_ = i; });
    }
    anchors_[0]->setChecked(true);
    form->addRow(QStringLiteral("Anchor"), grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("The anchor's edges stay; the others grow or are cut."), this));
    layout->addWidget(buttons);
}

int ResizeDialog::mapWidth() const { return width_->value(); }
int ResizeDialog::mapHeight() const { return height_->value(); }

void ResizeDialog::setAnchor(int x, int y)
{
    anchor_ = std::clamp(y, 0, 2) * 3 + std::clamp(x, 0, 2);
    anchors_[anchor_]->setChecked(true);
}
