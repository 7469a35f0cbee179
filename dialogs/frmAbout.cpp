#include "frmAbout.h"
#include "aboutpictures.h"
#include "dialogwidgets.h"
#include "numtext.h"
#include "twips.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cmath>

using namespace vorn;

int frmAbout::n = 0;
std::function<QDate()> frmAbout::Today = [] { return QDate::currentDate(); };
std::function<void(const QUrl&)> frmAbout::OpenUrl = [](const QUrl& url) {
    QDesktopServices::openUrl(url); // the result is of no use to the dialog
};

namespace vorn {

FloatBar::FloatBar(QWidget* parent, std::function<void()> drawFrame)
    : QWidget(parent)
    , drawFrame_(std::move(drawFrame))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FloatBar::showFrame()
{
    frameFresh_ = true;
    update();
}

void FloatBar::paintEvent(QPaintEvent*)
{
    if (picture_.size() != size()) {
        picture_ = QImage(size(), QImage::Format_RGB32);
        picture_.fill(Qt::black);
    }
    // Uncovering the bar draws a frame at once; a repaint that only shows
    // the timer's frame must not advance the phase a second time.
    if (!frameFresh_)
        drawFrame_();
    frameFresh_ = false;
    QPainter(this).drawImage(0, 0, picture_);
}

} // namespace vorn

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner)
    , misery_(WizardPicture())
    , balrog_(BeastPicture())
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Vorn"));
    SetUpDialogFrame(this, 5655, 3135);
    if (owner)
        setWindowIcon(owner->windowIcon());

    picBar = new FloatBar(this, [this] { DrawFrame(); });
    picBar->setObjectName(QStringLiteral("picBar"));
    PlaceTwips(picBar, 0, 0, 1935, 3135);
    picBar->picture() = QImage(picBar->size(), QImage::Format_RGB32);
    picBar->picture().fill(Qt::black);

    auto picture = [](QWidget* parent, const char* name, const QImage& image, int l, int t) {
        auto* pic = new QLabel(parent);
        pic->setObjectName(QLatin1String(name));
        pic->setPixmap(QPixmap::fromImage(image));
        PlaceTwips(pic, l, t, 720, 750);
        pic->hide();
        return pic;
    };
    picMisery = picture(this, "picMisery", misery_, 120, 120);
    picBalrog = picture(picBar, "picBalrog", balrog_, 960, 120);

    lblHeader = TwipLabel(this, "lblHeader", QStringLiteral("Vorn"), 2040, 120, 3495, 375);
    const QFont header = DesignFont(QStringLiteral("Verdana"), 12, true, true);
    lblHeader->setFont(header);
    lblSub =
        TwipLabel(this, "lblSub", QStringLiteral("Map editor for Doukutsu Monogatari 1.0.0.5"), 2040, 480, 3495, 255);
    Label1 = TwipLabel(this, "Label1", QStringLiteral("Written by The Copper Heron."), 2040, 840, 3495, 255);
    lblNotice =
        TwipLabel(this, "lblNotice", QStringLiteral("The game is the work of Studio Pixel."), 2040, 1200, 3495, 255);
    lblSpanks =
        TwipLabel(this, "lblSpanks", QStringLiteral("Thanks to our testers and translators."), 2040, 1560, 3495, 255);

    lin3D[1] = new EtchedLine(this, QPalette::Dark, 1920, 5640, 1920);
    lin3D[0] = new EtchedLine(this, QPalette::Light, 1920, 5640, 1935);
    lin3D[0]->setObjectName(QStringLiteral("lin3D_0"));
    lin3D[1]->setObjectName(QStringLiteral("lin3D_1"));
    picBar->raise(); // the separator starts one pixel inside the bar, which covers it

    auto link = [this](const char* name, const QString& caption, int l, int t, int w, int h,
                       void (frmAbout::*handler)()) {
        auto* lbl = new LinkLabel(caption, this);
        lbl->setObjectName(QLatin1String(name));
        lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        PlaceTwips(lbl, l, t, w, h);
        lbl->onClick = [this, handler] { (this->*handler)(); };
        return lbl;
    };
    lblCHLink =
        link("lblCHLink", QStringLiteral("The Copper Heron"), 2040, 2040, 1935, 255, &frmAbout::lblCHLink_Click);
    lblForumLink =
        link("lblForumLink", QStringLiteral("ModDB forums"), 2040, 2400, 1335, 255, &frmAbout::lblForumLink_Click);
    lblPixLink = link("lblPixLink", QStringLiteral("Studio Pixel"), 2040, 2760, 1095, 255, &frmAbout::lblPixLink_Click);

    // Default and cancel button at once: Enter, Esc and a click all close.
    cmdOK = new QPushButton(QStringLiteral("OK!"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    PlaceTwips(cmdOK, 4560, 2640, 975, 375);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    FitCaptions(this);

    timFloat = new QTimer(this);
    timFloat->setObjectName(QStringLiteral("timFloat"));
    timFloat->setInterval(250);
    connect(timFloat, &QTimer::timeout, this, [this] { timFloat_Timer(); });
    timFloat->start();

    Form_Load();
}

bool frmAbout::DayTest(const QDate& date) { return date.day() % 4 == 1; }

int frmAbout::FloatY(int frame) { return int(RoundHalfEven(48.0 - 2.0 * std::sin(double(frame)))); }

void frmAbout::Form_Load()
{
    if (DayTest(Today()))
        setWindowTitle(QStringLiteral("About Balrog"));
}

void frmAbout::timFloat_Timer()
{
    DrawFrame();
    picBar->showFrame();
}

void frmAbout::DrawFrame()
{
    n = int(unsigned(n) + 1u); // wraps instead of overflowing after years of frames
    const QImage& source = DayTest(Today()) ? balrog_ : misery_;
    // Twice the size by plain pixel copy, over whatever the bar holds.
    QPainter painter(&picBar->picture());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(16, FloatY(n), 96, 100), source);
}

QUrl frmAbout::ProgramPageUrl()
{
    // The README that comes with the program: beside it, or at the top of
    // the source tree it was built in (build/bin/vorn). Failing both, the
    // program's own folder.
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {QStringLiteral("README.md"), QStringLiteral("../../README.md")}) {
        const QFileInfo readme(programDir.filePath(candidate));
        if (readme.isFile())
            return QUrl::fromLocalFile(readme.canonicalFilePath());
    }
    return QUrl::fromLocalFile(programDir.absolutePath());
}

QUrl frmAbout::ForumUrl() { return QUrl(QStringLiteral("https://www.moddb.com/forum")); }
QUrl frmAbout::GameMakerUrl() { return QUrl(QStringLiteral("https://studiopixel.jp/")); }

void frmAbout::lblCHLink_Click() { OpenUrl(ProgramPageUrl()); }
void frmAbout::lblForumLink_Click() { OpenUrl(ForumUrl()); }
void frmAbout::lblPixLink_Click() { OpenUrl(GameMakerUrl()); }
