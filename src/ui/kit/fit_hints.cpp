// The hint of a box that cannot show its whole text.
#include "ui/kit/fit_hints.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace fitHints {

namespace {

// QLineEdit keeps this much room on each side of the text, inside its
// contents rectangle (its private horizontalMargin).
constexpr int kLineEditMargin = 2;

void refresh(QLineEdit *box) {
    const QString hint = textFits(box) ? QString() : box->text();
    if (box->toolTip() != hint)
        box->setToolTip(hint);
}

class FitHintWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::FontChange:
        case QEvent::StyleChange:
            refresh(static_cast<QLineEdit *>(watched));
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

bool textFits(const QLineEdit *box) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = box->contentsRect();
    option.lineWidth =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (box->isReadOnly())
        option.state |= QStyle::State_ReadOnly;
    option.features = QStyleOptionFrame::None;
    const QRect contents = box->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, box)
                               .marginsRemoved(box->textMargins());
    const int room = contents.width() - 2 * kLineEditMargin;
    // As QLineEdit decides whether to scroll: the text, one pixel and the
    // cursor must fit.
    const int cursorWidth = box->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, box);
    const int used =
        qRound(QFontMetricsF(box->font()).horizontalAdvance(box->displayText())) + 1 + cursorWidth;
    return used <= room;
}

void watch(const QList<QLineEdit *> &boxes) {
    if (boxes.isEmpty())
        return;
    auto *watcher = new FitHintWatcher(boxes.first());
    for (QLineEdit *box : boxes) {
        box->installEventFilter(watcher);
        QObject::connect(box, &QLineEdit::textChanged, watcher, [box] { refresh(box); });
        refresh(box);
    }
}

} // namespace fitHints
