#include "frmEntEd.h"
#include "dialogwidgets.h"
#include "entitytypes.h"
#include "inifile.h"
#include "numtext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
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

    // Beyond the design, in the free room right of the Unknown box; out of
    // the tab order so Tab walks the designed boxes as before.
    cmdBits = new QPushButton(QStringLiteral("&Bits\u2026"), this);
    cmdBits->setObjectName(QStringLiteral("cmdBits"));
    cmdBits->setToolTip(QStringLiteral("Set the bits of the last field by name (Alt+B)"));
    cmdBits->setFocusPolicy(Qt::NoFocus);
    cmdBits->setAutoDefault(false);
    PlaceTwips(cmdBits, 2760, 1680, 1095, 285);
    connect(cmdBits, &QPushButton::clicked, this, [this] { cmdBits_Click(); });

    lstTypeMatches = new QListWidget(this);
    lstTypeMatches->setObjectName(QStringLiteral("lstTypeMatches"));
    lstTypeMatches->setFocusPolicy(Qt::NoFocus);
    lstTypeMatches->setIconSize(QSize(32, 32));
    lstTypeMatches->hide();
    connect(lstTypeMatches, &QListWidget::itemClicked, this, [this] { PickTypeMatch(); });
    cboType->installEventFilter(this);

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
    // Read at every opening: the user may have renamed a type meanwhile.
    UseTypeNames(EntityTypeNames(settingsPath, kTypeCount));
}

void frmEntEd::UseTypeNames(const QStringList& names)
{
    cboType->clear();
    for (int n = 0; n < names.size(); ++n)
        cboType->addItem(QString::number(n) + QStringLiteral(" - ") + names[n]);
    cboType->setCurrentIndex(-1); // ShowRecord selects the record's type
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
    // "0x2000" as other programs and the Tile Type dialog write it: the
    // "0" typed first has become "&H0" by the time the x comes.
    static const QRegularExpression kCStyle(QStringLiteral("^\\s*(?:&[Hh]0|0)[xX]([0-9A-Fa-f]*)\\s*$"));
    if (const QRegularExpressionMatch c = kCStyle.match(txtUnknown->text()); c.hasMatch()) {
        const QString digits = c.captured(1).isEmpty() ? QStringLiteral("0") : c.captured(1);
        ReplaceText(txtUnknown, QStringLiteral("&H") + digits.toUpper());
        return;
    }
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

// ---- beyond the design: the type found by name, the bits by name --------

bool frmEntEd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != cboType || event->type() != QEvent::KeyPress)
        return EditDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool searching = lstTypeMatches->isVisible();
    if (searching) {
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            PickTypeMatch();
            return true;
        case Qt::Key_Escape:
            SearchTypes(QString());
            return true;
        case Qt::Key_Backspace:
            SearchTypes(typeQuery_.chopped(1));
            return true;
        case Qt::Key_Down:
        case Qt::Key_Up: {
            const int step = key->key() == Qt::Key_Down ? 1 : -1;
            const int row = std::clamp(lstTypeMatches->currentRow() + step, 0, lstTypeMatches->count() - 1);
            lstTypeMatches->setCurrentRow(row);
            return true;
        }
        default:
            break;
        }
    }
    // A letter starts or goes on with a search; a digit, as designed, is
    // the list's own search by the number that starts each entry.
    const QString text = key->text();
    const bool letter = text.size() == 1 && text[0].isLetter();
    const bool more = searching && text.size() == 1 && text[0].isPrint();
    if ((letter || more) && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        SearchTypes(typeQuery_ + text);
        return true;
    }
    return EditDialog::eventFilter(watched, event);
}

void frmEntEd::SearchTypes(const QString& query)
{
    typeQuery_ = query;
    lstTypeMatches->clear();
    if (query.trimmed().isEmpty()) {
        lstTypeMatches->hide();
        return;
    }
    for (int n = 0; n < cboType->count(); ++n) {
        const QString entry = cboType->itemText(n);
        const QString name = entry.section(QStringLiteral(" - "), 1);
        if (!name.contains(query.trimmed(), Qt::CaseInsensitive))
            continue;
        auto* item = new QListWidgetItem(entry, lstTypeMatches);
        item->setData(Qt::UserRole, n);
        if (typePicture) {
            const QImage picture = typePicture(n);
            if (!picture.isNull())
                item->setIcon(QIcon(QPixmap::fromImage(picture)));
        }
    }
    if (lstTypeMatches->count() == 0)
        new QListWidgetItem(QStringLiteral("No type is named \"%1\"").arg(query), lstTypeMatches);
    lstTypeMatches->setCurrentRow(0);
    // Under the box, over the boxes below it while the search lasts.
    const QRect box = cboType->geometry();
    const int rows = std::min(lstTypeMatches->count(), 6);
    const int wanted = rows * lstTypeMatches->sizeHintForRow(0) + 2 * lstTypeMatches->frameWidth();
    const int height = std::min(wanted, this->height() - box.bottom() - 1);
    lstTypeMatches->setGeometry(box.left(), box.bottom() + 1, box.width(), std::max(height, 40));
    lstTypeMatches->show();
    lstTypeMatches->raise();
}

void frmEntEd::PickTypeMatch()
{
    const QListWidgetItem* item = lstTypeMatches->currentItem();
    if (item && item->data(Qt::UserRole).isValid())
        cboType->setCurrentIndex(item->data(Qt::UserRole).toInt());
    SearchTypes(QString());
    cboType->setFocus();
}

void frmEntEd::cmdBits_Click()
{
    const std::optional<qint16> now = UnknownValue();
    const quint16 bits = now ? quint16(*now) : 0;
    QDialog box(this);
    box.setObjectName(QStringLiteral("frmBits"));
    box.setWindowTitle(QStringLiteral("Bits"));
    auto* layout = new QVBoxLayout(&box);
    auto* grid = new QGridLayout;
    std::array<QCheckBox*, 16> checks{};
    for (int bit = 0; bit < 16; ++bit) {
        const QString name = EntityBitName(bit);
        checks[size_t(bit)] = new QCheckBox(
            QStringLiteral("0x%1 %2").arg(1u << bit, 4, 16, QLatin1Char('0')).arg(name.isEmpty() ? "(no name)" : name),
            &box);
        checks[size_t(bit)]->setObjectName(QStringLiteral("chkBit%1").arg(bit));
        checks[size_t(bit)]->setChecked(bits & (1u << bit));
        grid->addWidget(checks[size_t(bit)], bit % 8, bit / 8);
    }
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &box);
    connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    layout->addWidget(buttons);
    if (box.exec() != QDialog::Accepted)
        return;
    quint16 chosen = 0;
    for (int bit = 0; bit < 16; ++bit)
        if (checks[size_t(bit)]->isChecked())
            chosen |= quint16(1u << bit);
    ReplaceText(txtUnknown, QStringLiteral("&H") + QString::number(chosen, 16).toUpper());
}
