#include "tiletypelegend.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace vorn {

namespace {
constexpr int kSampleSide = 24;
} // namespace

TileTypeLegend::TileTypeLegend(QWidget* parent)
    : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("frmTileTypeLegend"));
    setWindowTitle(QStringLiteral("Tile Type Legend"));
    auto* outer = new QVBoxLayout(this);
    rows_ = new QVBoxLayout;
    rows_->setSpacing(2);
    outer->addLayout(rows_);
    none_ = new QLabel(QStringLiteral("No tile of this stage shows a mark."), this);
    outer->addWidget(none_);
    outer->addStretch(1);
}

void TileTypeLegend::showKinds(const std::vector<TileTypeKind>& kinds)
{
    while (QLayoutItem* item = rows_->takeAt(0)) {
        if (QLayout* row = item->layout()) {
            while (QLayoutItem* part = row->takeAt(0)) {
                delete part->widget();
                delete part;
            }
        }
        delete item;
    }
    meanings_.clear();
    for (const TileTypeKind& kind : kinds) {
        auto* row = new QHBoxLayout;
        auto* sample = new QLabel(this);
        sample->setPixmap(QPixmap::fromImage(TileTypeSample(kind.sample, kSampleSide)));
        sample->setFixedSize(kSampleSide, kSampleSide);
        auto* text = new QLabel(kind.meaning, this);
        text->setToolTip(QStringLiteral("Shown here for type 0x%1").arg(kind.sample, 2, 16, QLatin1Char('0')));
        row->addWidget(sample);
        row->addWidget(text, 1);
        rows_->addLayout(row);
        meanings_ << kind.meaning;
    }
    none_->setVisible(kinds.empty());
    adjustSize();
}

QStringList TileTypeLegend::meanings() const { return meanings_; }

void TileTypeLegend::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

} // namespace vorn
