// Menu keys and the forwarding of function keys between windows.
#include "ui/kit/window_keys.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QWidget>

namespace windowKeys {

namespace {

Qt::KeyboardModifiers plainModifiers(const QKeyEvent *event) {
    return event->modifiers() & ~Qt::KeypadModifier;
}

bool isFunctionKey(const QKeyEvent *event) {
    return event->key() >= Qt::Key_F1 && event->key() <= Qt::Key_F12 &&
           plainModifiers(event) == Qt::NoModifier;
}

// The control's own context menu, opened from the keyboard at its text
// cursor, the way Qt opens it for the Menu key where the platform sends one.
void openContextMenu(QWidget *control) {
    const QPoint at = control->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, control->mapToGlobal(at));
    QApplication::sendEvent(control, &event);
}

class MenuKeys : public QObject {
public:
    MenuKeys(QWidget *window, QMenuBar *menuBar)
        : QObject(window), window_(window), bar_(menuBar) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (auto *menu = qobject_cast<QMenu *>(watched))
            return closeMenuBarMenu(menu, key);
        const Qt::KeyboardModifiers modifiers = plainModifiers(key);
        if (key->key() == Qt::Key_F10 && modifiers == Qt::NoModifier)
            return openMainMenu();
        if ((key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier) ||
            (key->key() == Qt::Key_Menu && modifiers == Qt::NoModifier)) {
            QWidget *focus = window_->focusWidget();
            openContextMenu(focus ? focus : window_.data());
            return true;
        }
        return false;
    }

private:
    bool openMainMenu() {
        const QList<QAction *> menus = bar_->actions();
        for (QAction *a : menus)
            if (a->isVisible() && a->isEnabled()) {
                bar_->setActiveAction(a);
                return true;
            }
        return false;
    }

    // Escape in a menu that hangs from the menu bar: Qt would close it and
    // put the menu bar in keyboard mode, where the next keys typed are
    // taken as menu letters and lost. Closing the menu directly leaves the
    // focus where it was. In a submenu, Escape closes that submenu only.
    bool closeMenuBarMenu(QMenu *menu, const QKeyEvent *key) {
        if (key->key() != Qt::Key_Escape || plainModifiers(key) != Qt::NoModifier)
            return false;
        if (!bar_->actions().contains(menu->menuAction()))
            return false;
        menu->hide();
        return true;
    }

    QPointer<QWidget> window_;
    QMenuBar *bar_;
};

class FunctionKeyForwarder : public QObject {
public:
    FunctionKeyForwarder(QWidget *from, QWidget *to) : QObject(from), to_(to) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() != QEvent::KeyPress || !to_)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (!isFunctionKey(key))
            return false;
        QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text(),
                       key->isAutoRepeat(), ushort(key->count()));
        QApplication::sendEvent(to_, &copy);
        return true;
    }

private:
    QPointer<QWidget> to_;
};

void filterWindowAndControls(QWidget *window, QObject *filter) {
    window->installEventFilter(filter);
    for (QWidget *w : window->findChildren<QWidget *>())
        if (!w->isWindow())
            w->installEventFilter(filter);
}

} // namespace

void installMenuKeys(QWidget *window, QMenuBar *menuBar) {
    auto *keys = new MenuKeys(window, menuBar);
    filterWindowAndControls(window, keys);
    for (QAction *a : menuBar->actions())
        if (QMenu *menu = a->menu())
            menu->installEventFilter(keys);
}

void forwardFunctionKeys(QWidget *from, QWidget *to) {
    filterWindowAndControls(from, new FunctionKeyForwarder(from, to));
}

} // namespace windowKeys
