#include "frmEntEd.h"
#include "dialogwidgets.h"
#include "entitytypes.h"
#include "inifile.h"
#include "numtext.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

using namespace vorn;

namespace {

// Replaces a box's text without losing the caret's place at the end, where
// the user is typing.
void ReplaceText(QLineEdit* box, const QString& text)
{
    if (box->text() == text)
        return;
    box->setText(text); // runs the change handler again, which finds the normal form
    box->setCursorPosition(text.size());
}

// The "&H" spelling of a whole number: 16-bit patterns as the field stores
// them (-1 is FFFF), larger magnitudes as their 32-bit or plain pattern so
// that OK can still refuse them. Empty when the number has no such spelling.
QString HexSpelling(double whole)
{
    if (whole >= -32768 && whole < 0)
        return QStringLiteral("&H") + Hex16(qint16(whole));
    if (whole >= -2147483648.0 && whole < 0)
        return QStringLiteral("&H") + QString::number(quint32(qint32(whole)), 16).toUpper();
    if (whole >= 0 && whole <= 9007199254740992.0)
        return QStringLiteral("&H") + QString::number(quint64(whole), 16).toUpper();
    return {};
}

QString RangeMessage(const QString& label)
{
    return label + QStringLiteral(": please enter a whole number from -32768 to 32767.");
}

} // namespace

frmEntEd::frmEntEd(QWidget* owner)
    : EditDialog(owner)
{
    setObjectName(QStringLiteral("frmEntEd"));
    setWindowTitle(QStringLiteral("Entity properties"));
    SetUpDialogFrame(this, 4695, 2655);
    if (owner)
        setWindowIcon(owner->windowIcon());

    // Created in tab order.
    Label5 = TwipLabel(this, "Label5", QStringLiteral("Position"), 120, 120, 1335, 255);
    txtX = TwipTextBox(this, "txtX", 1560, 120, 1095, 285);
    Label6 = TwipLabel(this, "Label6", QStringLiteral("by"), 2760, 120, 615, 255);
    Label6->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    txtY = TwipTextBox(this, "txtY", 3480, 120, 1095, 285);
    Label1 = TwipLabel(this, "Label1", QStringLiteral("TSC script index"), 120, 480, 1335, 255);
    txtTSC = TwipTextBox(this, "txtTSC", 1560, 480, 1095, 285);
    Label2 = TwipLabel(this, "Label2", QStringLiteral("Type"), 120, 840, 1335, 255);
    cboType = TwipList(this, "cboType", 1560, 840, 3015, 315);
    Label3 = TwipLabel(this, "Label3", QStringLiteral("Flag"), 120, 1200, 1335, 255);
    txtFlag = TwipTextBox(this, "txtFlag", 1560, 1200, 1095, 285);
    Label4 = TwipLabel(this, "Label4", QStringLiteral("Unknown"), 120, 1680, 1335, 255);
    txtUnknown = TwipTextBox(this, "txtUnknown", 1560, 1680, 1095, 285);
    Command1 = new QPushButton(QStringLiteral("Cancel"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    PlaceTwips(Command1, 2280, 2160, 1095, 375);
    cmdOk = new QPushButton(QStringLiteral("OK!"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    PlaceTwips(cmdOk, 3480, 2160, 1095, 375);
    cmdOk->setDefault(true);

    setTabOrder(txtX, txtY);
    setTabOrder(txtY, txtTSC);
    setTabOrder(txtTSC, cboType);
    setTabOrder(cboType, txtFlag);
    setTabOrder(txtFlag, txtUnknown);
    setTabOrder(txtUnknown, Command1);
    setTabOrder(Command1, cmdOk);

    FitCaptions(this);

    // textChanged fires for typed and assigned text alike, as normalising needs.
    connect(txtX, &QLineEdit::textChanged, this, [this] { txtX_Change(); });
    connect(txtY, &QLineEdit::textChanged, this, [this] { txtY_Change(); });
    connect(txtTSC, &QLineEdit::textChanged, this, [this] { txtTSC_Change(); });
    connect(txtFlag, &QLineEdit::textChanged, this, [this] { txtFlag_Change(); });
    connect(txtUnknown, &QLineEdit::textChanged, this, [this] { txtUnknown_Change(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

void frmEntEd::LoadTypeList(const QString& settingsPath)
{
    cboType->clear();
    // Read at every opening: the user may have renamed a type meanwhile.
    const QStringList names = EntityTypeNames(settingsPath, kTypeCount);
    for (int n = 0; n < kTypeCount; ++n)
        cboType->addItem(QString::number(n) + QStringLiteral(" - ") + names[n]);
    cboType->setCurrentIndex(-1);
}

void frmEntEd::ShowRecord(const EntityRecord& record)
{
    txtX->setText(QString::number(record.X));
    txtY->setText(QString::number(record.Y));
    txtTSC->setText(QString::number(record.TSC));
    // A type the list cannot show opens with no selection and is kept on OK.
    cboType->setCurrentIndex(record.Type >= 0 && record.Type < cboType->count() ? record.Type : -1);
    txtFlag->setText(QString::number(record.Flag));
    txtUnknown->setText(QString::number(record.Unknown));
}

void frmEntEd::NormaliseDecimal(QLineEdit* box)
{
    const auto number = WholeNumber(box->text());
    if (!number || !std::isfinite(*number))
        return; // not a number yet: the user may still be typing it
    // Adding 0.0 turns a floor of -0 into 0.
    ReplaceText(box, QString::number(std::floor(*number) + 0.0, 'f', 0));
}

void frmEntEd::txtX_Change() { NormaliseDecimal(txtX); }
void frmEntEd::txtY_Change() { NormaliseDecimal(txtY); }
void frmEntEd::txtTSC_Change() { NormaliseDecimal(txtTSC); }
void frmEntEd::txtFlag_Change() { NormaliseDecimal(txtFlag); }

void frmEntEd::txtUnknown_Change()
{
    const auto number = WholeNumber(txtUnknown->text());
    if (!number || !std::isfinite(*number))
        return;
    const QString hex = HexSpelling(RoundHalfEven(*number));
    if (!hex.isEmpty())
        ReplaceText(txtUnknown, hex);
}

std::optional<qint16> frmEntEd::BoxValue(const QLineEdit* box) const
{
    const auto number = WholeNumber(box->text());
    if (!number || *number != std::floor(*number) || *number < -32768 || *number > 32767)
        return std::nullopt;
    return qint16(*number);
}

std::optional<qint16> frmEntEd::UnknownValue() const
{
    const auto number = WholeNumber(txtUnknown->text());
    if (!number || !std::isfinite(*number))
        return std::nullopt;
    const double whole = RoundHalfEven(*number);
    // Hexadecimal up to FFFF is the 16-bit pattern; negative decimals are too.
    if (whole < -32768 || whole > 65535)
        return std::nullopt;
    return qint16(quint16(qint32(whole) & 0xFFFF));
}

void frmEntEd::cmdOk_Click()
{
    // Refuse the whole commit at the first box that cannot be stored, so the
    // record is never left half written.
    const std::pair<QLineEdit*, QLabel*> boxes[] = {
        {txtX, Label5}, {txtY, Label5}, {txtTSC, Label1}, {txtFlag, Label3}};
    for (const auto& [box, lbl] : boxes) {
        if (!BoxValue(box)) {
            RefuseAt(box, RangeMessage(lbl->text()));
            return;
        }
    }
    if (!UnknownValue()) {
        RefuseAt(txtUnknown, Label4->text() + QStringLiteral(": please enter a number from &H0 to &HFFFF "
                                                             "or a whole number from -32768 to 32767."));
        return;
    }
    accept();
}

void frmEntEd::Command1_Click() { reject(); }

void frmEntEd::CommitTo(EntityRecord& record) const
{
    if (const auto v = BoxValue(txtX))
        record.X = *v;
    if (const auto v = BoxValue(txtY))
        record.Y = *v;
    if (const auto v = BoxValue(txtTSC))
        record.TSC = *v;
    if (cboType->currentIndex() >= 0)
        record.Type = qint16(cboType->currentIndex());
    if (const auto v = BoxValue(txtFlag))
        record.Flag = *v;
    if (const auto v = UnknownValue())
        record.Unknown = *v;
}
