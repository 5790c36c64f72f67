// Plain labels, message boxes, titles and hints.
#include "ui/kit/plain_text.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QTextDocument>
#include <QToolTip>

namespace kit {

namespace {

// The rule for hints: a hint that Qt would read as markup is shown escaped,
// the others as Qt shows them anyway. Table cells and headers take their
// hints from their model.
class PlainHints : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        auto *help = static_cast<QHelpEvent *>(event);
        QRect area;
        const QString text = hintAt(widget, help->pos(), area);
        if (text.isEmpty() || !Qt::mightBeRichText(text))
            return false;
        QToolTip::showText(help->globalPos(), literalHint(text), widget, area);
        return true;
    }

private:
    static QString hintAt(QWidget *widget, const QPoint &pos, QRect &area) {
        if (auto *header = qobject_cast<QHeaderView *>(widget->parentWidget());
            header && header->viewport() == widget) {
            const int section = header->logicalIndexAt(pos);
            if (section < 0 || !header->model())
                return {};
            return header->model()
                ->headerData(section, header->orientation(), Qt::ToolTipRole)
                .toString();
        }
        if (auto *view = qobject_cast<QAbstractItemView *>(widget->parentWidget());
            view && view->viewport() == widget) {
            const QModelIndex index = view->indexAt(pos);
            area = view->visualRect(index);
            return index.isValid() ? index.data(Qt::ToolTipRole).toString() : QString();
        }
        return widget->toolTip();
    }
};

} // namespace

void makePlain(QLabel *label) {
    label->setTextFormat(Qt::PlainText);
}

QLabel *plainLabel(const QString &text, QWidget *parent) {
    auto *label = new QLabel(parent);
    makePlain(label);
    label->setText(text);
    return label;
}

std::unique_ptr<QMessageBox> messageBox(QWidget *parent, QMessageBox::Icon icon,
                                        const QString &title, const QString &text) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setIcon(icon);
    box->setTextFormat(Qt::PlainText);
    box->setWindowTitle(plainTitle(title));
    box->setText(text);
    return box;
}

void showMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                 const QString &text) {
    messageBox(parent, icon, title, text)->exec();
}

QString plainTitle(const QString &text) {
    QString title;
    title.reserve(text.size());
    for (const QChar c : text)
        title += c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
                         c == QChar::ParagraphSeparator
                     ? QLatin1Char(' ')
                     : c;
    // Qt drops a "[*]" from a title unless it is doubled.
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    return title;
}

void setPlainTitle(QWidget *window, const QString &text) {
    window->setWindowTitle(plainTitle(text));
}

QString literalHint(const QString &text) {
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

void installPlainHints() {
    static const QString kName = QStringLiteral("plainHints");
    if (qApp->findChild<QObject *>(kName, Qt::FindDirectChildrenOnly))
        return;
    auto *rule = new PlainHints(qApp);
    rule->setObjectName(kName);
    qApp->installEventFilter(rule);
}

} // namespace kit
