#include "frmTileType.h"

#include "dialogwidgets.h"
#include "tiletypes.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

// "65", "0x41" and "0X41" are the same type; anything else is no number.
std::optional<int> ParseType(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = false;
    const int value =
        t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? t.mid(2).toInt(&ok, 16) : t.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString Hex(quint8 type) { return QStringLiteral("0x%1").arg(type, 2, 16, QLatin1Char('0')); }

} // namespace

frmTileType::frmTileType(QWidget* owner, int tile, quint8 type)
    : EditDialog(owner)
    , type_(type)
{
    setWindowTitle(QStringLiteral("Tile Type"));
    setFixedSize(377, 265);
    lblTile = new QLabel(QStringLiteral("Type of tile %1:").arg(tile), this);
    lblTile->setGeometry(8, 8, 129, 17);
    txtType = new QLineEdit(Hex(type), this);
    txtType->setGeometry(144, 6, 225, 21);
    lstTypes = new QListWidget(this);
    lstTypes->setGeometry(8, 32, 361, 193);
    for (const quint8 known : vorn::NamedTileTypes()) {
        auto* item = new QListWidgetItem(vorn::TileTypeText(known), lstTypes);
        item->setData(Qt::UserRole, int(known));
        if (known == type)
            lstTypes->setCurrentItem(item);
    }
    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setGeometry(232, 232, 65, 25);
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setGeometry(304, 232, 65, 25);

    // Picking a known type fills the box; the box is what OK takes.
    connect(lstTypes, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            txtType->setText(Hex(quint8(item->data(Qt::UserRole).toInt())));
    });
    connect(lstTypes, &QListWidget::itemActivated, this, [this] { cmdOk_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { reject(); });
    txtType->setFocus();
    txtType->selectAll();
}

void frmTileType::cmdOk_Click()
{
    const std::optional<int> value = ParseType(txtType->text());
    if (!value || *value < 0 || *value > 255) {
        RefuseAt(txtType, QStringLiteral("A tile type is a number from 0 to 255, or from 0x00 to 0xff."));
        return;
    }
    type_ = quint8(*value);
    accept();
}
