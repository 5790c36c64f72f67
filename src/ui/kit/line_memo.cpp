// LineMemo: painting of the lines in view, scrolling and the whole-line
// selection; a plain text as a list of lines.
#include "ui/kit/line_memo.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionSlider>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <vector>

namespace {

// Room between the frame and the text, as a text edit leaves it.
constexpr int kMargin = 4;
// Shaping may place a line a little wider than the sum of its characters'
// advances; this keeps its last character reachable.
constexpr int kWidthSlack = 2;

int floorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

bool isOwnKey(const QKeyEvent *e) {
    if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::SelectAll))
        return true;
    const Qt::KeyboardModifiers modifiers =
        e->modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier);
    if (modifiers != Qt::NoModifier)
        return false;
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

// Draws scroll bars once per look and copies the picture after that. A list
// window shows two dozen of them, alike in size and often in place, and the
// style paints each with gradients that cost more than the lines of text.
class CachedScrollBars : public QProxyStyle {
public:
    // Fusion as in every window; without a base of its own the proxy would
    // take the desktop's style.
    CachedScrollBars() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override {
        const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
        if (control != CC_ScrollBar || !bar || !painter->device()) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const qreal ratio = painter->device()->devicePixelRatioF();
        const QString key =
            QStringLiteral("gearfreq-scrollbar-%1-%2-%3-%4-%5-%6-%7-%8-%9")
                .arg(bar->rect.width())
                .arg(bar->rect.height())
                .arg(int(bar->orientation))
                .arg(QString::number(bar->minimum) + u':' + QString::number(bar->maximum) + u':' +
                     QString::number(bar->sliderPosition) + u':' + QString::number(bar->pageStep))
                .arg(int(bar->state))
                .arg(int(bar->activeSubControls))
                .arg(int(bar->subControls))
                .arg(colourKey(bar->palette))
                .arg(ratio);
        QPixmap picture;
        if (!QPixmapCache::find(key, &picture)) {
            picture = QPixmap((QSizeF(bar->rect.size()) * ratio).toSize());
            picture.setDevicePixelRatio(ratio);
            picture.fill(Qt::transparent);
            QPainter p(&picture);
            QStyleOptionSlider moved = *bar;
            moved.rect.moveTo(0, 0);
            QProxyStyle::drawComplexControl(control, &moved, &p, widget);
            p.end();
            QPixmapCache::insert(key, picture);
        }
        painter->drawPixmap(bar->rect.topLeft(), picture);
    }

private:
    static size_t colourKey(const QPalette &palette);
};

// Lists alike in colour share their pictures: each list's palette is its own
// copy, so the palette's own key would differ from list to list.
size_t CachedScrollBars::colourKey(const QPalette &palette) {
    size_t key = 0;
    for (int group = 0; group < QPalette::NColorGroups; ++group)
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            key = qHashMulti(
                key, palette.color(QPalette::ColorGroup(group), QPalette::ColorRole(role)).rgba());
    return key;
}

// One for all lists: a style of its own per list would mean a base style
// made per list too.
QStyle *scrollBarStyle() {
    static CachedScrollBars *style = new CachedScrollBars;
    return style;
}

// The advances of the Latin-1 characters in a font, measured once per font:
// the eleven lists of the variants window share theirs, and measuring 256
// characters is most of what a first list costs before it is painted.
const LatinAdvances &latinAdvances(const QFont &font, const QFontMetricsF &metrics) {
    static std::map<QString, LatinAdvances> measured;
    const auto [it, added] = measured.try_emplace(font.key());
    if (added)
        for (std::size_t c = 0; c < it->second.size(); ++c)
            it->second[c] = qint32(std::ceil(metrics.horizontalAdvance(QChar(char16_t(c))) * 64));
    return it->second;
}

// A text as it was given plus the offset of every line. Lines as a list
// counts them: an empty text has none, and a final line break ends the last
// line instead of starting an empty one.
class TextLines : public LineList {
public:
    explicit TextLines(const QString &text) : text_(text) {
        if (text_.isEmpty())
            return;
        starts_.push_back(0);
        const QChar *chars = text_.constData();
        for (qsizetype i = 0; i + 1 < text_.size(); ++i)
            if (chars[i] == u'\n')
                starts_.push_back(i + 1);
    }

    int count() const override { return int(starts_.size()); }
    QString line(int index) const override {
        const qsizetype start = starts_[std::size_t(index)];
        return text_.mid(start, lineEnd(index) - start);
    }
    // The last line of the text brings its final line break along.
    QString text(int first, int last) const override {
        const qsizetype end = last + 1 < count() ? lineEnd(last) : text_.size();
        return text_.mid(starts_[std::size_t(first)], end - starts_[std::size_t(first)]);
    }
    std::int64_t widest(const LatinAdvances &advances, const QFontMetricsF &metrics) const override;

private:
    qsizetype lineEnd(int line) const {
        if (std::size_t(line) + 1 < starts_.size())
            return starts_[std::size_t(line) + 1] - 1;
        return text_.endsWith(u'\n') ? text_.size() - 1 : text_.size();
    }

    QString text_;
    std::vector<qsizetype> starts_; // where each line begins in text_
};

// Summing cached advances is what keeps a long text quick; a line outside
// Latin-1 may combine or shape its characters and is measured whole.
std::int64_t TextLines::widest(const LatinAdvances &advances, const QFontMetricsF &metrics) const {
    std::int64_t widest = 0;
    for (int line = 0; line < count(); ++line) {
        const QChar *chars = text_.constData() + starts_[std::size_t(line)];
        const qsizetype length = lineEnd(line) - starts_[std::size_t(line)];
        std::int64_t width = 0;
        bool beyondLatin1 = false;
        for (qsizetype i = 0; i < length && !beyondLatin1; ++i) {
            const char16_t c = chars[i].unicode();
            if (c < advances.size())
                width += advances[c];
            else
                beyondLatin1 = true;
        }
        if (beyondLatin1)
            width = std::int64_t(std::ceil(metrics.horizontalAdvance(this->line(line)) * 64));
        widest = std::max(widest, width);
    }
    return widest;
}

} // namespace

QString LineList::text(int first, int last) const {
    QString out;
    for (int line = first; line <= last; ++line) {
        if (line > first)
            out += QLatin1Char('\n');
        out += this->line(line);
    }
    return out;
}

LineMemo::LineMemo(QWidget *parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setStyle(scrollBarStyle());
    horizontalScrollBar()->setStyle(scrollBarStyle());
    lineHeight_ = std::max(1, fontMetrics().lineSpacing());
    updateScrollBars();
}

void LineMemo::setPlainText(const QString &text) {
    setLines(std::make_shared<TextLines>(text));
}

void LineMemo::setLines(std::shared_ptr<const LineList> lines) {
    lines_ = std::move(lines);
    count_ = lines_ ? lines_->count() : 0;
    ++revision_;
    anchor_ = current_ = -1;
    dragging_ = false;
    measureLines();
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

QString LineMemo::toPlainText() const {
    return count_ > 0 ? lines_->text(0, count_ - 1) : QString();
}

void LineMemo::clear() {
    setPlainText(QString());
}

QString LineMemo::selectedText() const {
    if (!hasSelection())
        return QString();
    return lines_->text(std::min(anchor_, current_), std::max(anchor_, current_));
}

void LineMemo::selectAll() {
    if (lineCount() > 0)
        selectLines(0, lineCount() - 1);
}

void LineMemo::copy() const {
    if (hasSelection())
        QApplication::clipboard()->setText(selectedText());
}

QRect LineMemo::lineRect(int line) const {
    const int top = kMargin + (line - verticalScrollBar()->value()) * lineHeight_;
    return QRect(0, top, viewport()->width(), lineHeight_);
}

// The line under a viewport height, which may be outside the list.
int LineMemo::lineAt(int y) const {
    return verticalScrollBar()->value() + floorDiv(y - kMargin, lineHeight_);
}

int LineMemo::fullyVisibleLines() const {
    return std::max(1, (viewport()->height() - kMargin) / lineHeight_);
}

void LineMemo::measureLines() {
    widest_ = 0;
    if (count_ == 0)
        return;
    const QFontMetricsF metrics(font());
    if (!advances_)
        advances_ = &latinAdvances(font(), metrics);
    widest_ = lines_->widest(*advances_, metrics);
}

void LineMemo::updateScrollBars() {
    const int visible = fullyVisibleLines();
    QScrollBar *vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, lineCount() - visible));
    vertical->setPageStep(visible);
    vertical->setSingleStep(1);

    const int width = viewport()->width();
    const qint64 contentWidth = (widest_ + 63) / 64 + 2 * kMargin + kWidthSlack;
    QScrollBar *horizontal = horizontalScrollBar();
    horizontal->setRange(0, int(std::clamp<qint64>(contentWidth - width, 0, INT_MAX)));
    horizontal->setPageStep(std::max(1, width));
    horizontal->setSingleStep(std::max(1, fontMetrics().averageCharWidth()));
}

void LineMemo::selectLines(int anchor, int current) {
    anchor_ = anchor;
    current_ = current;
    viewport()->update();
}

bool LineMemo::event(QEvent *e) {
    // The keys of the list win over shortcuts of the window while it has the focus.
    if (e->type() == QEvent::ShortcutOverride && isOwnKey(static_cast<QKeyEvent *>(e))) {
        e->accept();
        return true;
    }
    return QAbstractScrollArea::event(e);
}

void LineMemo::changeEvent(QEvent *e) {
    if (e->type() == QEvent::FontChange) {
        advances_ = nullptr;
        lineHeight_ = std::max(1, fontMetrics().lineSpacing());
        measureLines();
        updateScrollBars();
        viewport()->update();
    }
    QAbstractScrollArea::changeEvent(e);
}

void LineMemo::paintEvent(QPaintEvent *e) {
    QPainter painter(viewport());
    painter.setFont(font());
    const QPalette &colours = palette();
    const int ascent = fontMetrics().ascent();
    const qreal x = kMargin - horizontalScrollBar()->value();
    const int selectionFirst = std::min(anchor_, current_);
    const int selectionLast = std::max(anchor_, current_);

    // A line scrolled out at the top must not show its feet in the margin.
    const int first = std::max(verticalScrollBar()->value(), lineAt(e->rect().top()));
    const int last = std::min(lineCount() - 1, lineAt(e->rect().bottom()));
    for (int line = first; line <= last; ++line) {
        const QRect rect = lineRect(line);
        const bool selected = hasSelection() && line >= selectionFirst && line <= selectionLast;
        if (selected)
            painter.fillRect(rect, colours.brush(QPalette::Highlight));
        painter.setPen(colours.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter.drawText(QPointF(x, rect.top() + ascent), lines_->line(line));
    }

    if (hasFocus()) {
        painter.setPen(QPen(colours.color(QPalette::Text), 1, Qt::DotLine));
        painter.drawRect(viewport()->rect().adjusted(0, 0, -1, -1));
    }
}

void LineMemo::resizeEvent(QResizeEvent *e) {
    QAbstractScrollArea::resizeEvent(e);
    updateScrollBars();
}

void LineMemo::keyPressEvent(QKeyEvent *e) {
    if (e->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (e->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    if (!isOwnKey(e)) {
        // Typing does nothing in a list; the key goes on to the window.
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    QScrollBar *vertical = verticalScrollBar();
    QScrollBar *horizontal = horizontalScrollBar();
    const bool control = e->modifiers().testFlag(Qt::ControlModifier);
    switch (e->key()) {
    case Qt::Key_Up:
        vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Down:
        vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_PageUp:
        vertical->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Left:
        horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Right:
        horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    // Home and End go to the starts and ends of the lines, with Ctrl to the
    // first and the last line.
    case Qt::Key_Home:
        (control ? vertical : horizontal)->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case Qt::Key_End:
        (control ? vertical : horizontal)->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    default:
        break;
    }
    e->accept();
}

void LineMemo::mousePressEvent(QMouseEvent *e) {
    if (e->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(e);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const int line = std::max(lineAt(e->position().toPoint().y()), verticalScrollBar()->value());
    if (line >= lineCount()) {
        // Below the last line there is nothing to take.
        if (hasSelection())
            selectLines(-1, -1);
        return;
    }
    dragging_ = true;
    if (e->modifiers().testFlag(Qt::ShiftModifier) && hasSelection())
        selectLines(anchor_, line);
    else
        selectLines(line, line);
}

void LineMemo::mouseMoveEvent(QMouseEvent *e) {
    if (!dragging_ || !(e->buttons() & Qt::LeftButton))
        return;
    const int y = e->position().toPoint().y();
    // Dragging past an edge brings the next lines into view.
    if (y < 0)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (y >= viewport()->height())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    const int first = verticalScrollBar()->value();
    const int last = std::min(lineCount() - 1, first + fullyVisibleLines() - 1);
    selectLines(anchor_, std::clamp(lineAt(y), first, std::max(first, last)));
}

void LineMemo::mouseReleaseEvent(QMouseEvent *e) {
    if (e->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(e);
        return;
    }
    if (dragging_) {
        dragging_ = false;
        QClipboard *clipboard = QApplication::clipboard();
        if (clipboard->supportsSelection() && hasSelection())
            clipboard->setText(selectedText(), QClipboard::Selection);
    }
}

void LineMemo::contextMenuEvent(QContextMenuEvent *e) {
    QMenu menu(this);
    QAction *copyAction = menu.addAction(QStringLiteral("Копировать"), this, &LineMemo::copy);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(hasSelection());
    QAction *allAction = menu.addAction(QStringLiteral("Выделить всё"), this, &LineMemo::selectAll);
    allAction->setShortcut(QKeySequence::SelectAll);
    allAction->setEnabled(lineCount() > 0);
    menu.exec(e->globalPos());
}

void LineMemo::focusInEvent(QFocusEvent *e) {
    QAbstractScrollArea::focusInEvent(e);
    viewport()->update();
}

void LineMemo::focusOutEvent(QFocusEvent *e) {
    QAbstractScrollArea::focusOutEvent(e);
    viewport()->update();
}
