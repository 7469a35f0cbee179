#pragma once
// Stage properties: collects a stage record's names, title and scroll type
// and the open map's size. The opener fills it (Form_Load, Preselect), runs
// it modally and, unless Tag is "-_-", reads the chosen values back.
#include "gamefolder.h"
#include "stagetable.h"

#include "editdialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmMapEd : public vorn::EditDialog {
    Q_OBJECT
public:
    frmMapEd(QWidget* owner, const vorn::GameFolder& game);

    // Fills the four name lists from the game folder, in directory order.
    void Form_Load();
    // Selects the record's names and scroll type and fills title and size.
    // A value the lists do not hold is added at the end of its list and
    // selected, so OK without touching the list keeps it.
    void Preselect(const vorn::StageRecord& record, qint16 mapWidth, qint16 mapHeight);

    // The accepted values (meaningful once OK has hidden the dialog).
    QString tilesetName() const;
    QString mapName() const;
    QString backdropName() const;
    QString spriteSetName() const;
    QString titleText() const;
    qint32 parallax() const;
    qint16 mapWidth() const;
    qint16 mapHeight() const;

    static constexpr int kMinSide = 1;
    static constexpr int kMaxSide = 513;

    QLabel* Label1;
    QLabel* Label6;
    QLineEdit* txtTitle;
    QLabel* Label2;
    QComboBox* cboTileset;
    QLabel* Label3;
    QComboBox* cboMap;
    QLabel* Label4;
    QComboBox* cboBack;
    QLabel* Label5;
    QComboBox* cboSprite;
    QLabel* Label7;
    QLineEdit* txtWidth;
    QLabel* Label8;
    QLineEdit* txtHeight;
    QLabel* Label9;
    QComboBox* cboPara;
    QPushButton* Command1;
    QPushButton* cmdOk;
    QLabel* imgBack;
    QWidget* Line1;
    QWidget* Line2;

    void cboBack_Click();
    void txtWidth_Change();
    void txtHeight_Change();
    void cmdOk_Click();
    void Command1_Click();

private:
    static void NormaliseSize(QLineEdit* box);
    static void SelectName(QComboBox* list, const QString& name);
    bool SizeInRange(QLineEdit* box, const QString& label);

    vorn::GameFolder game_;
};
