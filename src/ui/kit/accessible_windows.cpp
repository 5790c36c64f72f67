// The window role, announcements and numbered choices.
#include "ui/kit/accessible_windows.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QSet>
#include <QSignalBlocker>

namespace kit {

namespace {

QSet<QString> &windowClasses() {
    static QSet<QString> classes;
    return classes;
}

constexpr char kNamedByRole[] = "gearfreqNamedByRole";

// A combo box named by its accessible name, with its value, its list as the
// one child and the action that opens the list.
class RoleNamedComboBox : public QAccessibleWidget {
public:
    explicit RoleNamedComboBox(QComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox) {}
    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? box()->currentText() : QAccessibleWidget::text(t);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        return child && child->object() == box()->view() ? 0 : -1;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override {
        if (action == showMenuAction() || action == pressAction())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *accessibleFactory(const QString &className, QObject *object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (windowClasses().contains(className) && widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (auto *box = qobject_cast<QComboBox *>(object); box && box->property(kNamedByRole).toBool())
        return new RoleNamedComboBox(box);
    return nullptr;
}

void installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    (void)installed;
}

} // namespace

void exposeAsWindow(const char *className) {
    installFactory();
    windowClasses().insert(QString::fromLatin1(className));
}

void nameByRole(QComboBox *box, const QString &name) {
    installFactory();
    box->setProperty(kNamedByRole, true);
    box->setAccessibleName(name);
    // An interface made before (an event while the box was filled) is
    // Qt's own: dropped, so that the next reader gets this one.
    QAccessibleInterface *made = QAccessible::queryAccessibleInterface(box);
    if (made && !dynamic_cast<RoleNamedComboBox *>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void announce(QLabel *label, const QString &text, QWidget *describes) {
    label->setText(text);
    if (describes)
        describes->setAccessibleDescription(text);
    QAccessibleEvent changed(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    QAccessibleEvent alert(label, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

bool offerNumbers(QComboBox *box, const QString &prefix, int count) {
    const int chosen = box->currentData().toInt();
    if (box->count() == count && (count == 0 || box->itemData(count - 1).toInt() == count))
        return false;
    const QSignalBlocker blocker(box);
    box->clear();
    for (int k = 1; k <= count; ++k)
        box->addItem(prefix + QString::number(k), k);
    const int keep = std::clamp(chosen, 1, std::max(count, 1));
    box->setCurrentIndex(box->findData(keep));
    return keep != chosen;
}

} // namespace kit
