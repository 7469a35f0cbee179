#include "dialogwidgets.h"
#include "twips.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QStyle>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>

namespace vorn {

void PlaceTwips(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

QLabel* TwipLabel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width, int height)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceTwips(label, left, top, width, height);
    return label;
}

QLineEdit* TwipTextBox(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    PlaceTwips(box, left, top, width, height);
    return box;
}

QComboBox* TwipList(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    UseListPopup(list);
    PlaceTwips(list, left, top, width, height);
    return list;
}

void UseListPopup(QComboBox* list)
{
    list->setStyleSheet(QStringLiteral("combobox-popup: 0;"));
    list->setMaxVisibleItems(16);
    QAbstractItemView* view = list->view();
    auto fit = [view] {
        view->setMinimumWidth(view->sizeHintForColumn(0) + view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8);
    };
    QAbstractItemModel* model = list->model();
    QObject::connect(model, &QAbstractItemModel::rowsInserted, view, fit);
    QObject::connect(model, &QAbstractItemModel::dataChanged, view, fit);
    QObject::connect(model, &QAbstractItemModel::modelReset, view, fit);
    fit();
}

void SetUpDialogFrame(QWidget* dialog, int clientWidthTwips, int clientHeightTwips)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog->setFixedSize(TwipsToPixels(clientWidthTwips), TwipsToPixels(clientHeightTwips));
    dialog->setFont(DialogFont());
}

QFont DesignFont(const QString& family, qreal points, bool bold, bool italic)
{
    QFont font = QFontDatabase::families().contains(family, Qt::CaseInsensitive)
                     ? QFont(family)
                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont DialogFont() { return DesignFont(QStringLiteral("Tahoma"), 8.25); }

void FitCaptions(QWidget* dialog)
{
    constexpr qreal kSmallest = 6.0;
    constexpr qreal kStep = 0.25;
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->wordWrap() || label->text().isEmpty())
            continue;
        QFont font = label->font();
        while (font.pointSizeF() - kStep >= kSmallest &&
               QFontMetrics(font).horizontalAdvance(label->text()) > label->contentsRect().width())
            font.setPointSizeF(font.pointSizeF() - kStep);
        if (font != label->font())
            label->setFont(font);
    }
}

void ShowVornMessage(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vorn"), text, QMessageBox::Ok, parent);
    box.exec();
}

EtchedLine::EtchedLine(QWidget* parent, QPalette::ColorRole role, int x1Twips, int x2Twips, int yTwips)
    : QWidget(parent)
    , role_(role)
{
    const int x1 = TwipsToPixels(x1Twips);
    setGeometry(x1, TwipsToPixels(yTwips), TwipsToPixels(x2Twips) - x1, 1);
}

void EtchedLine::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), palette().color(role_)); }

LinkLabel::LinkLabel(const QString& caption, QWidget* parent)
    : QLabel(caption, parent)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
    setPalette(pal);
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
        onClick();
}

} // namespace vorn
