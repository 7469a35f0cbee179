#pragma once
// The About box: names the program and the game, links to three web pages
// and floats a figure up and down in the black bar on its left.
#include <QDate>
#include <QDialog>
#include <QImage>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace vorn {
class LinkLabel;

// The black animation surface. It keeps its picture between repaints; a
// repaint that no timer frame asked for draws a frame of its own.
class FloatBar : public QWidget {
public:
    FloatBar(QWidget* parent, std::function<void()> drawFrame);
    QImage& picture() { return picture_; }
    void showFrame(); // a frame was just drawn into picture(): show it as it is
protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage picture_;
    std::function<void()> drawFrame_;
    bool frameFresh_ = false;
};
} // namespace vorn

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner);

    // The animation counter belongs to the program, not to one opening, so
    // the next opening goes on where the last one stopped.
    static int n;
    // The local date and the browser, replaceable for tests.
    static std::function<QDate()> Today;
    static std::function<void(const QUrl&)> OpenUrl;

    // Days 1, 5, 9, ..., 29 show the other figure and caption.
    static bool DayTest(const QDate& date);
    // The figure's top in the bar for frame n: 48 - 2 sin n, halves to even.
    static int FloatY(int frame);

    static QUrl ProgramPageUrl(); // the program's README
    static QUrl ForumUrl();
    static QUrl GameMakerUrl();

    void Form_Load();
    void timFloat_Timer();
    void lblCHLink_Click();
    void lblForumLink_Click();
    void lblPixLink_Click();

    vorn::FloatBar* picBar;
    QLabel* picMisery;
    QLabel* picBalrog;
    QLabel* lblHeader;
    QLabel* lblSub;
    QLabel* Label1;
    QLabel* lblNotice;
    QLabel* lblSpanks;
    QWidget* lin3D[2];
    vorn::LinkLabel* lblCHLink;
    vorn::LinkLabel* lblForumLink;
    vorn::LinkLabel* lblPixLink;
    QPushButton* cmdOK;
    QTimer* timFloat;

private:
    void DrawFrame();
    QImage misery_;
    QImage balrog_;
};
