#pragma once
// A small window naming the tile-type marks the open stage shows, each
// beside a sample of its mark, so the overlay can be read without knowing
// its colours by heart.
#include "tiletypedrawing.h"

#include <QWidget>
#include <vector>

class QLabel;
class QVBoxLayout;

namespace vorn {

class TileTypeLegend : public QWidget {
    Q_OBJECT
public:
    explicit TileTypeLegend(QWidget* parent);
    // Lists `kinds`, replacing what was listed.
    void showKinds(const std::vector<TileTypeKind>& kinds);
    // The meanings listed, in order (empty when none is).
    QStringList meanings() const;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QVBoxLayout* rows_ = nullptr;
    QLabel* none_ = nullptr;
    QStringList meanings_;
};

} // namespace vorn
