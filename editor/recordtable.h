#pragma once
// The parts the table windows (Stages, Entity Types, Entities) share: a
// filter box above a table of one record a row.
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
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

} // namespace vorn
