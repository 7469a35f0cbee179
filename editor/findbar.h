#pragma once
// Ctrl+F: a strip over the bottom of the map that finds entities by type,
// flag and event. The window owns it and places it; the search itself is
// NextMatch, which needs no window.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <optional>

class QLineEdit;
class QToolButton;

namespace vorn {

class StageDocument;

// What to look for; an empty criterion matches every entity.
struct EntityCriteria {
    std::optional<int> type; // the type number exactly
    QString typeName; // or a part of the type's name, any case
    std::optional<int> flag;
    std::optional<int> event;
};

// The texts of the three boxes as criteria. A type that reads as a number is
// a number; a flag or event that does not leaves `error` saying so.
struct ParsedCriteria {
    EntityCriteria criteria;
    QString error; // empty when every box could be read
};
ParsedCriteria ParseCriteria(const QString& type, const QString& flag, const QString& event);

bool Matches(const EntityCriteria& criteria, int type, int flag, int event, const QString& typeName);

// The first entity after `after` that matches, going round past the last to
// the first and ending with `after` itself; -1 when none does. `after` -1
// starts at entity 0.
int NextMatch(const StageDocument& stage, const std::array<QString, 513>& names, const EntityCriteria& criteria,
              int after);

class FindBar : public QWidget {
    Q_OBJECT
public:
    explicit FindBar(QWidget* parent);

    // Shows the bar with the focus in the type box, remembering where the
    // focus was so that closing gives it back.
    void open();
    void dismiss();

    QLineEdit* typeEdit = nullptr;
    QLineEdit* flagEdit = nullptr;
    QLineEdit* eventEdit = nullptr;
    QToolButton* closeButton = nullptr;

signals:
    void findNext();
    void shownOrHidden(); // the map's room changed

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> focusBefore_;
};

} // namespace vorn
