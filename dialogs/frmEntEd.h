#pragma once
// Entity properties: edits the six fields of one entity record. The opener
// fills it (LoadTypeList, ShowRecord), runs it modally and, unless Tag is
// "-_-", takes the values back with CommitTo.
#include "entityfile.h"

#include "editdialog.h"

#include <QImage>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
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

    // The type list as the game folder names its types: `names[n]` for
    // type n, as many as `names` holds (past the designed 387 when npc.tbl
    // holds more types).
    void UseTypeNames(const QStringList& names);
    // The sprite a type's entry shows in the name search; null for none.
    std::function<QImage(int type)> typePicture;

    // Letters typed into the Type box search the names: the matches list
    // under the box, Enter or a click picks one, Escape closes it.
    QListWidget* lstTypeMatches = nullptr;
    // Alt+B: the 16 bits of the last field as named check boxes.
    QPushButton* cmdBits = nullptr;
    void cmdBits_Click();

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SearchTypes(const QString& query);
    void PickTypeMatch();
    QString typeQuery_;
    static void NormaliseDecimal(QLineEdit* box);
    std::optional<qint16> BoxValue(const QLineEdit* box) const;
    std::optional<qint16> UnknownValue() const;
};
