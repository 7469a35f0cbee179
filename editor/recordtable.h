#pragma once
// The parts the table windows (Stages, Entity Types, Entities) share: a
// filter box above a table of one record a row.
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <functional>
#include <iterator>

namespace vorn {

inline QLineEdit* NewFilterBox(QWidget* parent, const QString& placeholder)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QStringLiteral("txtFilter"));
    box->setPlaceholderText(placeholder);
    return box;
}

// A table of `headings`, its rows unnumbered: each row shows its own number.
template <size_t N> QTableWidget* NewRecordTable(QWidget* parent, const QString& name, const char* const (&headings)[N])
{
    auto* table = new QTableWidget(0, int(N), parent);
    table->setObjectName(name);
    QStringList labels;
    for (const char* heading : headings)
        labels << QString::fromLatin1(heading);
    table->setHorizontalHeaderLabels(labels);
    table->verticalHeader()->hide();
    return table;
}

// A column whose `choices` are not empty picks from them or takes what is
// typed; the others edit as plain text.
class ChoiceDelegate : public QStyledItemDelegate {
public:
    ChoiceDelegate(std::function<QStringList(int column)> choices, QObject* parent)
        : QStyledItemDelegate(parent)
        , choices_(std::move(choices))
    {
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QStringList choices = choices_(index.column());
        if (choices.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* box = new QComboBox(parent);
        box->setEditable(true);
        box->addItems(choices);
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* box = qobject_cast<QComboBox*>(editor))
            box->setCurrentText(index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* box = qobject_cast<QComboBox*>(editor))
            model->setData(index, box->currentText(), Qt::EditRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    std::function<QStringList(int)> choices_;
};

} // namespace vorn
