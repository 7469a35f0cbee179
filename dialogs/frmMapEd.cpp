#include "frmMapEd.h"
#include "dialogwidgets.h"
#include "numtext.h"
#include "mapfile.h"
#include "picture.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <cmath>

using namespace vorn;

namespace {

const char* const kParallaxNames[16] = {
    "0 - Fixed", "1 - Slow", "2 - Equal", "3 - Core-style", "4", "5 - Artery-style", "6", "7", "8", "9", "A", "B", "C",
    "D",         "E",        "F"};

// Each listed file name minus its prefix and extension is the name as the
// stage record holds it.
void FillNames(QComboBox* list, const GameFolder& game, const QString& pattern, int prefixLength)
{
    const int extensionLength = int(pattern.size() - pattern.lastIndexOf(u'.')); // ".pbm", ".pxm"
    for (const QString& file : game.listPattern(pattern))
        list->addItem(file.mid(prefixLength, file.size() - prefixLength - extensionLength));
}

} // namespace

frmMapEd::frmMapEd(QWidget* owner, const GameFolder& game)
    : EditDialog(owner)
    , game_(game)
{
    setObjectName(QStringLiteral("frmMapEd"));
    setWindowTitle(QStringLiteral("Stage Properties"));
    SetUpDialogFrame(this, 4695, 4830);

    // Created in tab order.
    Label1 = TwipLabel(this, "Label1",
                       QStringLiteral("These directly edit data HARDCODED into the executable. "
                                      "Use at your own risk."),
                       120, 120, 4455, 495);
    Label1->setWordWrap(true);
    Label6 = TwipLabel(this, "Label6", QStringLiteral("Title"), 120, 720, 1335, 255);
    txtTitle = TwipTextBox(this, "txtTitle", 120, 960, 4455, 285);
    Label2 = TwipLabel(this, "Label2", QStringLiteral("Tileset"), 120, 1440, 1335, 255);
    cboTileset = TwipList(this, "cboTileset", 1560, 1440, 1935, 315);
    Label3 = TwipLabel(this, "Label3", QStringLiteral("Map"), 120, 1800, 1335, 255);
    cboMap = TwipList(this, "cboMap", 1560, 1800, 1935, 315);
    Label4 = TwipLabel(this, "Label4", QStringLiteral("Backdrop"), 120, 2160, 1335, 255);
    cboBack = TwipList(this, "cboBack", 1560, 2160, 1935, 315);
    Label5 = TwipLabel(this, "Label5", QStringLiteral("Sprite set"), 120, 2520, 1335, 255);
    cboSprite = TwipList(this, "cboSprite", 1560, 2520, 1935, 315);
    Label7 = TwipLabel(this, "Label7", QStringLiteral("Length"), 120, 3000, 1335, 255);
    txtWidth = TwipTextBox(this, "txtWidth", 1560, 3000, 975, 285);
    Label8 = TwipLabel(this, "Label8", QStringLiteral("Height"), 120, 3360, 1335, 255);
    txtHeight = TwipTextBox(this, "txtHeight", 1560, 3360, 975, 285);
    Label9 = TwipLabel(this, "Label9", QStringLiteral("Parallax"), 120, 3840, 1335, 255);
    cboPara = TwipList(this, "cboPara", 1560, 3840, 1935, 315);
    for (int p = 0; p < 16; ++p)
        cboPara->addItem(QLatin1String(kParallaxNames[p]), p);
    cboPara->setCurrentIndex(-1);

    // The buttons keep the classic dialog font at the same size.
    const QFont buttonFont = DesignFont(QStringLiteral("MS Sans Serif"), 8.25);
    Command1 = new QPushButton(QStringLiteral("Cancel"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setFont(buttonFont);
    PlaceTwips(Command1, 2280, 4320, 1095, 375);
    cmdOk = new QPushButton(QStringLiteral("OK!"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setFont(buttonFont);
    PlaceTwips(cmdOk, 3480, 4320, 1095, 375);
    cmdOk->setDefault(true);

    imgBack = new QLabel(this);
    imgBack->setObjectName(QStringLiteral("imgBack"));
    imgBack->setFrameStyle(QFrame::Box | QFrame::Plain);
    imgBack->setLineWidth(1);
    imgBack->setScaledContents(true);
    PlaceTwips(imgBack, 3600, 1440, 975, 975);

    Line1 = new EtchedLine(this, QPalette::Dark, 120, 4560, 600);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line2 = new EtchedLine(this, QPalette::Light, 120, 4560, 615);
    Line2->setObjectName(QStringLiteral("Line2"));

    QWidget* order[] = {txtTitle, cboTileset, cboMap,  cboBack,  cboSprite,
                        txtWidth, txtHeight,  cboPara, Command1, cmdOk};
    for (size_t k = 1; k < std::size(order); ++k)
        setTabOrder(order[k - 1], order[k]);

    FitCaptions(this);

    connect(cboBack, &QComboBox::currentIndexChanged, this, [this] { cboBack_Click(); });
    connect(txtWidth, &QLineEdit::textChanged, this, [this] { txtWidth_Change(); });
    connect(txtHeight, &QLineEdit::textChanged, this, [this] { txtHeight_Change(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

void frmMapEd::Form_Load()
{
    const QSignalBlocker quiet(cboBack); // no previews while filling
    const QString picture = QStringLiteral(".") + game_.pictureExtension();
    FillNames(cboTileset, game_, QStringLiteral("data\\stage\\prt*") + picture, 3);
    FillNames(cboMap, game_, QStringLiteral("data\\stage\\*.pxm"), 0);
    FillNames(cboBack, game_, QStringLiteral("data\\bk*") + picture, 0);
    FillNames(cboSprite, game_, QStringLiteral("data\\npc\\npc*") + picture, 3);
    for (QComboBox* list : {cboTileset, cboMap, cboBack, cboSprite})
        list->setCurrentIndex(-1);
}

void frmMapEd::SelectName(QComboBox* list, const QString& name)
{
    // Exact match only: a name differing in letter case is still the
    // record's own spelling, which OK must not rewrite.
    for (int k = 0; k < list->count(); ++k) {
        if (list->itemText(k) == name) {
            list->setCurrentIndex(k);
            return;
        }
    }
    list->addItem(name);
    list->setCurrentIndex(list->count() - 1);
}

void frmMapEd::Preselect(const StageRecord& record, qint16 width, qint16 height)
{
    SelectName(cboTileset, DecodeAnsi(CutAtNull(record.tileset())));
    SelectName(cboMap, DecodeAnsi(CutAtNull(record.map())));
    SelectName(cboBack, DecodeAnsi(CutAtNull(record.backdrop())));
    SelectName(cboSprite, DecodeAnsi(CutAtNull(record.spriteSet())));
    txtTitle->setText(DecodeAnsi(CutAtNull(record.title())));
    txtWidth->setText(QString::number(width));
    txtHeight->setText(QString::number(height));
    const qint32 p = record.parallax();
    if (p >= 0 && p < 16) {
        cboPara->setCurrentIndex(p);
    } else {
        cboPara->addItem(QString::number(p), p);
        cboPara->setCurrentIndex(cboPara->count() - 1);
    }
}

void frmMapEd::cboBack_Click()
{
    // Loaded by content: the game's ".pbm" files are Windows bitmaps, which
    // Qt would otherwise take for Netpbm by their extension.
    QImage picture;
    const QString name = cboBack->currentText();
    if (cboBack->currentIndex() >= 0 && IsPlainFileName(name)) {
        // A refused picture (a pipe, an absurd size) shows as no picture.
        const QString builtName = QStringLiteral("data\\") + name + u'.' + game_.pictureExtension();
        picture = LoadPicture(game_.findFile(builtName), builtName, QStringLiteral("a backdrop"),
                              MaxBackdropSize(kMaxMapSide, kMaxMapSide), game_.rules())
                      .image;
    }
    if (picture.isNull())
        imgBack->clear(); // an empty square
    else
        imgBack->setPixmap(QPixmap::fromImage(picture));
}

void frmMapEd::NormaliseSize(QLineEdit* box)
{
    const double number = Val(box->text());
    const QString normal =
        std::isfinite(number) ? QString::number(std::floor(number) + 0.0, 'f', 0) : QStringLiteral("0");
    if (box->text() != normal) {
        box->setText(normal);
        box->setCursorPosition(normal.size());
    }
}

void frmMapEd::txtWidth_Change() { NormaliseSize(txtWidth); }
void frmMapEd::txtHeight_Change() { NormaliseSize(txtHeight); }

bool frmMapEd::SizeInRange(QLineEdit* box, const QString& label)
{
    const double value = Val(box->text());
    if (value >= kMinSide && value <= kMaxSide)
        return true;
    RefuseAt(box, label + QStringLiteral(" must be from 1 to 513."));
    return false;
}

void frmMapEd::cmdOk_Click()
{
    // The tile grid holds at most 513 x 513 cells; other sizes would write a
    // map file the editor cannot read back.
    if (!SizeInRange(txtWidth, Label7->text()) || !SizeInRange(txtHeight, Label8->text()))
        return;
    // Nothing is stored that the game's code page would turn into "?".
    const std::pair<QWidget*, QLabel*> names[] = {
        {txtTitle, Label6}, {cboTileset, Label2}, {cboMap, Label3}, {cboBack, Label4}, {cboSprite, Label5}};
    for (const auto& [box, label] : names) {
        const QString text = box == txtTitle ? txtTitle->text() : static_cast<QComboBox*>(box)->currentText();
        if (const QString bad = FirstUnencodable(text); !bad.isEmpty()) {
            RefuseAt(box, QStringLiteral("%1 holds \"%2\", a character that code page %3 cannot store.")
                              .arg(label->text(), bad)
                              .arg(AnsiCodePage()));
            return;
        }
    }
    accept();
}

void frmMapEd::Command1_Click() { reject(); }

QString frmMapEd::tilesetName() const { return cboTileset->currentText(); }
QString frmMapEd::mapName() const { return cboMap->currentText(); }
QString frmMapEd::backdropName() const { return cboBack->currentText(); }
QString frmMapEd::spriteSetName() const { return cboSprite->currentText(); }
QString frmMapEd::titleText() const { return txtTitle->text(); }
qint32 frmMapEd::parallax() const { return cboPara->currentData().toInt(); }
qint16 frmMapEd::mapWidth() const { return qint16(Val(txtWidth->text())); }
qint16 frmMapEd::mapHeight() const { return qint16(Val(txtHeight->text())); }
