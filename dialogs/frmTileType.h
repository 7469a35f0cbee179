#pragma once
// "Tile Type": the type of one tile of the tileset, typed as a number
// (decimal, or hexadecimal after "0x") or picked from the types the game
// knows. The opener reads Type() after OK unless Tag is "-_-".
#include "editdialog.h"

#include <QtGlobal>
#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class frmTileType : public vorn::EditDialog {
    Q_OBJECT
public:
    frmTileType(QWidget* owner, int tile, quint8 type);
    quint8 Type() const { return type_; }

    QLabel* lblTile;
    QLineEdit* txtType;
    QListWidget* lstTypes;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

    void cmdOk_Click();

private:
    quint8 type_;
};
