// Menus described as tables: one row per entry in menu order, its level
// placing it in the tree. The builder makes each entry, names it, gives it
// its key, marks and data, and hands it to the owner's member.
//
//     using Row = menus::Row<TForm1>;
//     static constexpr Row rows[] = {
//         {0, menus::Submenu, &TForm1::N1, "N1", "Файл"},
//         {1, menus::Item, &TForm1::N17, "N17", "Калькулятор", Qt::Key_F4},
//         {1, menus::Separator},
//         ...
//     };
//
// A row at level L goes into the container of level L: the root (a menu bar
// or a menu) at level 0, else the submenu opened last at level L - 1.
#pragma once

#include <QKeyCombination>
#include <QList>

#include <span>

class QAction;
class QActionGroup;
class QWidget;

namespace menus {

enum RowKind { Submenu, Item, Separator };

enum RowFlag : unsigned {
    NoFlags = 0,
    Checkable = 1u << 0,
    Checked = 1u << 1 | Checkable,
    Hidden = 1u << 2,
    Disabled = 1u << 3,
    Grouped = 1u << 4, // collected into the group given to the builder
};

template <class Owner> struct Row {
    int level = 0;
    RowKind kind = Item;
    QAction *Owner::*member = nullptr; // none for a separator
    const char *name = nullptr;        // the objectName; a submenu's menu gets name + "Menu"
    const char *caption = nullptr;
    QKeyCombination key{}; // none when left out
    unsigned flags = NoFlags;
    int data = 0; // what the item carries (the precision factor); 0 for nothing
};

// The untyped part of a row, as the builder uses it.
struct RowShape {
    int level;
    RowKind kind;
    const char *name;
    const char *caption;
    QKeyCombination key;
    unsigned flags;
    int data;
};

// Makes the entries of `rows` under root, in order. Entries with a key get
// it with that shortcut context. Returns the entries made, one per row
// (a separator's own action for a separator).
QList<QAction *> buildShapes(QWidget *root, std::span<const RowShape> rows,
                             Qt::ShortcutContext context, QActionGroup *group);

// Builds the rows and sets the owner's members. Returns the entries that
// carry a key, in row order (the order a key press is offered to them).
template <class Owner>
QList<QAction *> build(Owner *owner, QWidget *root, std::span<const Row<Owner>> rows,
                       Qt::ShortcutContext context, QActionGroup *group = nullptr) {
    QList<RowShape> shapes;
    for (const Row<Owner> &r : rows)
        shapes.append({r.level, r.kind, r.name, r.caption, r.key, r.flags, r.data});
    const QList<QAction *> made = buildShapes(root, shapes, context, group);
    QList<QAction *> keyed;
    for (qsizetype i = 0; i < made.size(); ++i) {
        if (rows[std::size_t(i)].member)
            owner->*rows[std::size_t(i)].member = made[i];
        if (rows[std::size_t(i)].key != QKeyCombination{})
            keyed.append(made[i]);
    }
    return keyed;
}

} // namespace menus
