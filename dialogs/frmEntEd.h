#pragma once
// Entity properties: edits the six fields of one entity record. The opener
// fills it (LoadTypeList, ShowRecord), runs it modally and, unless Tag is
// "-_-", takes the values back with CommitTo.
#include "entityfile.h"

#include "editdialog.h"

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmEntEd : public vorn::EditDialog {
    Q_OBJECT
public:
    static constexpr int kTypeCount = 387; // entity types 0 to 386

    explicit frmEntEd(QWidget* owner);

    // Item n reads n, " - " and the name of type n: key n of section
    // "Entities" of the settings file, else the name the game ships with.
    void LoadTypeList(const QString& settingsPath);
    // Fills the boxes in the order X, Y, TSC, Type, Flag, Unknown; each box
    // normalises itself as it is filled.
    void ShowRecord(const vorn::EntityRecord& record);
    // Stores X, Y, TSC, Type, Flag, Unknown into `record`, in that order.
    // Type is kept when no list item is selected. Only call after OK, which
    // has checked every box.
    void CommitTo(vorn::EntityRecord& record) const;

    QLabel* Label5;
    QLineEdit* txtX;
    QLabel* Label6;
    QLineEdit* txtY;
    QLabel* Label1;
    QLineEdit* txtTSC;
    QLabel* Label2;
    QComboBox* cboType;
    QLabel* Label3;
    QLineEdit* txtFlag;
    QLabel* Label4;
    QLineEdit* txtUnknown;
    QPushButton* Command1;
    QPushButton* cmdOk;

    void txtX_Change();
    void txtY_Change();
    void txtTSC_Change();
    void txtFlag_Change();
    void txtUnknown_Change();
    void cmdOk_Click();
    void Command1_Click();

private:
    static void NormaliseDecimal(QLineEdit* box);
    std::optional<qint16> BoxValue(const QLineEdit* box) const;
    std::optional<qint16> UnknownValue() const;
};
