// The window role, announcements and numbered choices.
#include "ui/kit/accessible_windows.h"

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

QAccessibleInterface *windowFactory(const QString &className, QObject *object) {
    if (object && object->isWidgetType() && windowClasses().contains(className) &&
        static_cast<QWidget *>(object)->isWindow())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

void exposeAsWindow(const char *className) {
    if (windowClasses().isEmpty())
        QAccessible::installFactory(windowFactory);
    windowClasses().insert(QString::fromLatin1(className));
}

void announce(QLabel *label, const QString &text) {
    label->setText(text);
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
