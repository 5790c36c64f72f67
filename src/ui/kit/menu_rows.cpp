// The menu builder behind the menu tables.
#include "ui/kit/menu_rows.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include <array>

namespace menus {

namespace {
QMenu *addMenu(QWidget *container, const QString &caption) {
    if (auto *bar = qobject_cast<QMenuBar *>(container))
        return bar->addMenu(caption);
    return qobject_cast<QMenu *>(container)->addMenu(caption);
}

void applyFlags(QAction *a, const RowShape &r, QActionGroup *group) {
    if (r.flags & Checkable) {
        a->setCheckable(true);
        a->setChecked((r.flags & Checked) == Checked);
    }
    if (r.flags & Hidden)
        a->setVisible(false);
    if (r.flags & Disabled)
        a->setEnabled(false);
    if (r.data != 0)
        a->setData(r.data);
    if ((r.flags & Grouped) && group)
        group->addAction(a);
}
} // namespace

QList<QAction *> buildShapes(QWidget *root, std::span<const RowShape> rows,
                             Qt::ShortcutContext context, QActionGroup *group) {
    // The container of each level: the root, then the submenus opened last.
    std::array<QWidget *, 4> containers{root};
    QList<QAction *> made;
    for (const RowShape &r : rows) {
        QWidget *container = containers.at(std::size_t(r.level));
        Q_ASSERT(container);
        if (r.kind == Separator) {
            made.append(qobject_cast<QMenu *>(container)->addSeparator());
            continue;
        }
        QAction *a = nullptr;
        const QString caption = QString::fromUtf8(r.caption);
        if (r.kind == Submenu) {
            QMenu *menu = addMenu(container, caption);
            menu->setObjectName(QString::fromLatin1(r.name) + QStringLiteral("Menu"));
            containers.at(std::size_t(r.level) + 1) = menu;
            a = menu->menuAction();
        } else {
            a = qobject_cast<QMenu *>(container)->addAction(caption);
        }
        a->setObjectName(QString::fromLatin1(r.name));
        if (r.key != QKeyCombination{}) {
            a->setShortcut(QKeySequence(r.key));
            a->setShortcutContext(context);
        }
        applyFlags(a, r, group);
        made.append(a);
    }
    return made;
}

} // namespace menus
