#pragma once
// The "Entity Types" window: every type of the game's npc.tbl, one row each,
// edited in place with its own undo, its boxes dragged on a 4x picture of
// its sprite, written with Ctrl+S.
#include "npctable.h"
#include "outcome.h"
#include "spritedrawing.h"

#include <QWidget>

#include <functional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QTableWidget;
class QTableWidgetItem;

namespace vorn {
class TypeTable;
}

struct TypesWindowHooks {
    // Asks with the buttons given and returns the one chosen.
    std::function<QString(const QString& text, const QStringList& buttons)> ask;
    std::function<void(const QString& text)> tell;
    // The sheets the sprites come from (the open stage's); null for none.
    std::function<const vorn::SpriteSheets*()> sheets;
    // npc.tbl and the names were written.
    std::function<void()> written;
};

// A type's resting sprite at 4x, its view box and hit box drawn over it, each
// edge dragged to change the box; one change at the release.
class TypeBoxView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kScale = 4;
    explicit TypeBoxView(QWidget* parent = nullptr);
    // The sprite (null for none) and the boxes of the type shown.
    void showType(const QImage& sprite, const vorn::NpcType& type);
    // Where the entity's centre is drawn, in the widget's pixels.
    QPoint centre() const { return centre_; }
    const vorn::NpcType& type() const { return type_; }

signals:
    void boxDragged(bool hitBox, const vorn::NpcBox& box);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum Side { Front, Top, Back, Bottom };
    struct Edge {
        bool hitBox = false;
        Side side = Front;
    };
    bool edgeAt(const QPoint& pos, Edge& edge) const;
    QRect boxRect(const vorn::NpcBox& box) const;
    void fit();

    QImage sprite_;
    vorn::NpcType type_;
    QPoint centre_;
    bool dragging_ = false;
    Edge drag_;
    vorn::NpcBox dragged_;
};

class EntityTypesWindow : public QWidget {
    Q_OBJECT
public:
    EntityTypesWindow(vorn::TypeTable& types, TypesWindowHooks hooks, QWidget* parent = nullptr);

    enum Column {
        Number,
        Sprite,
        Name,
        Sheet,
        Life,
        Damage,
        Experience,
        HurtSound,
        DeathSound,
        Smoke,
        HitBox,
        ViewBox,
        Bits,
        ColumnCount
    };

    QTableWidget* table() const { return table_; }
    QLineEdit* filter() const { return filter_; }
    TypeBoxView* boxes() const { return boxes_; }
    vorn::TypeTable& types() { return types_; }
    bool pending() const;

    // Sets field `column` of type `row` from text; refused with the reason.
    vorn::Outcome setField(int row, int column, const QString& text);
    // Ctrl+N: a copy of the selected type appended.
    vorn::Outcome addType();
    // Ctrl+S: npc.tbl written, asking first when another program changed it.
    bool save();
    // Before the window or the program closes: Save, Discard or Cancel.
    bool confirmClose();
    // The sheets changed (another stage opened): the sprites drawn anew.
    void redrawSprites();
    // The row selected, -1 for none.
    int selectedType() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void follow();
    void fillRow(int row);
    QImage spriteOf(int type) const;
    void applyFilter();
    void updateTitle();
    void itemChanged(QTableWidgetItem* item);
    void showSelected();
    void tell(const QString& text);

    vorn::TypeTable& types_;
    TypesWindowHooks hooks_;
    QTableWidget* table_ = nullptr;
    QLineEdit* filter_ = nullptr;
    TypeBoxView* boxes_ = nullptr;
    std::vector<QCheckBox*> bitBoxes_;
    bool filling_ = false;
    // What each row shows, so a change refills only the rows it touched.
    vorn::NpcTable shownTypes_;
    QStringList shownNames_;
};
