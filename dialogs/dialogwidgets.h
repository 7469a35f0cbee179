#pragma once
// Small pieces the dialogs share: twip placement, the dialog font, the
// etched separator lines and the clickable link label.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>
#include <functional>

namespace vorn {

// Places `w` at a rectangle designed in twips.
void PlaceTwips(QWidget* w, int left, int top, int width, int height);

// Controls named as designed and placed at a rectangle in twips. Labels
// align their caption to the top left; lists show 16 entries when open.
QLabel* TwipLabel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width, int height);
QLineEdit* TwipTextBox(QWidget* parent, const char* name, int left, int top, int width, int height);
QComboBox* TwipList(QWidget* parent, const char* name, int left, int top, int width, int height);

// A drop-down list that opens as a short scrolling list under the box, wide
// enough for its longest entry, instead of a menu as tall as the screen.
void UseListPopup(QComboBox* list);

// Fixed-size dialog frame: title bar with a close box only, client area in twips.
void SetUpDialogFrame(QWidget* dialog, int clientWidthTwips, int clientHeightTwips);

// A font of the design: the family when it is installed, else the
// platform's sans-serif, at the designed point size.
QFont DesignFont(const QString& family, qreal points, bool bold = false, bool italic = false);

// The dialogs' control font, Tahoma 8.25 pt.
QFont DialogFont();

// Shrinks the font of every one-line label of `dialog` whose caption is
// wider than the label, as happens where Tahoma is missing and a wider
// face stands in; labels that fit keep the dialog's font.
void FitCaptions(QWidget* dialog);

// A modal message titled "Vorn" with an OK button.
void ShowVornMessage(QWidget* parent, const QString& text);

// One pixel wide horizontal line in a palette colour; two of them, shadow
// over highlight, make an etched separator.
class EtchedLine : public QWidget {
public:
    // From (x1Twips, yTwips) to (x2Twips, yTwips).
    EtchedLine(QWidget* parent, QPalette::ColorRole role, int x1Twips, int x2Twips, int yTwips);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPalette::ColorRole role_;
};

// A label that looks like a link (blue, pointing hand) and reports clicks.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& caption, QWidget* parent);
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace vorn
