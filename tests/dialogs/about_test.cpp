// The About box: caption by day, the floating figure, the links.
#include "dialogwidgets.h"
#include "frmAbout.h"
#include "frmEntEd.h"
#include "frmMapEd.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QTest>

class AboutTest : public QObject {
    Q_OBJECT

    QList<QUrl> opened;

    // The figure as the bar should show it: doubled by plain pixel copy.
    static QImage Doubled(const QImage& figure)
    {
        return figure.scaled(96, 100, Qt::IgnoreAspectRatio, Qt::FastTransformation)
            .convertToFormat(QImage::Format_RGB32);
    }

    static QImage FigureOf(const QLabel* pic) { return pic->pixmap().toImage().convertToFormat(QImage::Format_RGB32); }

private slots:
    void init()
    {
        opened.clear();
        frmAbout::OpenUrl = [this](const QUrl& url) { opened << url; };
    }

    void captionAndFigureFollowTheDay_data()
    {
        QTest::addColumn<int>("day");
        QTest::addColumn<bool>("other");
        for (int d : {1, 29})
            QTest::addRow("day %d", d) << d << true;
        for (int d : {4, 31})
            QTest::addRow("day %d", d) << d << false;
    }
    void captionAndFigureFollowTheDay()
    {
        QFETCH(int, day);
        QFETCH(bool, other);
        frmAbout::Today = [day] { return QDate(2024, 1, day); };
        frmAbout dialog(nullptr);
        dialog.timFloat->stop();
        QCOMPARE(dialog.windowTitle(), other ? QStringLiteral("About Balrog") : QStringLiteral("About Vorn"));
        dialog.timFloat_Timer();
        const int y = frmAbout::FloatY(frmAbout::n);
        const QImage shown = dialog.picBar->picture().copy(16, y, 96, 100);
        QCOMPARE(shown, Doubled(FigureOf(other ? dialog.picBalrog : dialog.picMisery)));
    }

    void figureFloatsAndTheCounterOutlivesTheDialog()
    {
        frmAbout::Today = [] { return QDate(2024, 1, 2); };
        frmAbout::n = 0; // as at the program's start
        const int expected[8] = {46, 46, 48, 50, 50, 49, 47, 46};
        {
            frmAbout dialog(nullptr);
            dialog.timFloat->stop();
            const QImage figure = Doubled(FigureOf(dialog.picMisery));
            for (int frame = 0; frame < 8; ++frame) {
                dialog.timFloat_Timer();
                QCOMPARE(frmAbout::n, frame + 1);
                QCOMPARE(frmAbout::FloatY(frmAbout::n), expected[frame]);
                QCOMPARE(dialog.picBar->picture().copy(16, expected[frame], 96, 100), figure);
            }
        }
        frmAbout again(nullptr);
        again.timFloat->stop();
        again.timFloat_Timer();
        QCOMPARE(frmAbout::n, 9);
    }

    void aRepaintDrawsAFrameButTheTimersOwnRepaintDoesNot()
    {
        frmAbout::Today = [] { return QDate(2024, 1, 2); };
        frmAbout dialog(nullptr);
        dialog.timFloat->stop();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCoreApplication::processEvents();
        const int before = frmAbout::n;
        dialog.picBar->repaint(); // as when the bar is uncovered
        QCOMPARE(frmAbout::n, before + 1);
        dialog.timFloat_Timer();
        dialog.picBar->repaint();
        QCOMPARE(frmAbout::n, before + 2);
    }

    void linksOpenTheirPagesAndTheDialogStays()
    {
        frmAbout dialog(nullptr);
        dialog.show();
        for (vorn::LinkLabel* link : {dialog.lblCHLink, dialog.lblForumLink, dialog.lblPixLink}) {
            QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
            QTest::mouseClick(link, Qt::LeftButton);
        }
        QVERIFY(dialog.isVisible());
        QCOMPARE(opened.size(), 3);
        QVERIFY(opened[0].isLocalFile());
        QCOMPARE(opened[1], QUrl("https://www.moddb.com/forum"));
        QCOMPARE(opened[2], QUrl("https://studiopixel.jp/"));
    }

    // Every caption shows whole, whatever face stands in for the design
    // font, and captions of one row stand level.
    void captionsFitAndLineUp()
    {
        frmAbout about(nullptr);
        frmEntEd entity(nullptr);
        frmMapEd stage(nullptr, vorn::GameFolder(QString()));
        for (QWidget* dialog :
             {static_cast<QWidget*>(&about), static_cast<QWidget*>(&entity), static_cast<QWidget*>(&stage)}) {
            for (const QLabel* label : dialog->findChildren<QLabel*>()) {
                if (label->wordWrap())
                    continue;
                QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width(),
                         qPrintable(label->objectName()));
            }
        }
        // "by" stands level with "Position" on its row.
        QCOMPARE(entity.Label6->alignment() & Qt::AlignVertical_Mask,
                 entity.Label5->alignment() & Qt::AlignVertical_Mask);
        // The separator's first pixel lies under the bar, not over it.
        const QWidget* line = about.lin3D[1];
        QVERIFY(about.children().indexOf(about.picBar) > about.children().indexOf(line));
    }
};

QTEST_MAIN(AboutTest)
#include "about_test.moc"
