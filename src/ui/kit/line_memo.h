// LineMemo: a read-only list of text lines that stays quick with a hundred
// thousand of them. Its lines come from a LineList, which makes a line's text
// when it is asked for; the memo paints only the lines in view and selects
// whole lines for copying. A plain text is one kind of list.
#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>

class QContextMenuEvent;
class QFontMetricsF;
class QKeyEvent;
class QMouseEvent;
class QPaintEvent;
class QResizeEvent;

// Advances of the Latin-1 characters in 1/64 pixels, each rounded up.
using LatinAdvances = std::array<std::int32_t, 256>;

// The lines a LineMemo shows.
class LineList {
public:
    virtual ~LineList() = default;
    virtual int count() const = 0;
    // Line `index` without its line break.
    virtual QString line(int index) const = 0;
    // Lines `first` to `last` as one text, joined by line breaks.
    virtual QString text(int first, int last) const;
    // The width of the widest line in 1/64 pixels: the sum of its characters'
    // advances, a line with other characters measured whole by `metrics`.
    virtual std::int64_t widest(const LatinAdvances &advances,
                                const QFontMetricsF &metrics) const = 0;
};

class LineMemo : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit LineMemo(QWidget *parent = nullptr);

    void setPlainText(const QString &text);
    // Lists `lines`, which the memo keeps and reads as long as it shows them.
    void setLines(std::shared_ptr<const LineList> lines);
    QString toPlainText() const;
    void clear();

    // Lines as a list counts them: an empty text has none, and a final line
    // break ends the last line instead of starting an empty one.
    int lineCount() const { return count_; }
    // Grows with every new text, so that a watcher can skip an unchanged list.
    int revision() const { return revision_; }

    // The selection is a run of whole lines.
    bool hasSelection() const { return anchor_ >= 0; }
    // The text of the selected lines as given, line breaks included; the last
    // line of the list brings its final line break along.
    QString selectedText() const;
    void selectAll();
    void copy() const;

    // Where a line is painted, in viewport coordinates; it may lie outside.
    QRect lineRect(int line) const;

protected:
    bool event(QEvent *e) override;
    void changeEvent(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    int lineAt(int y) const;
    int fullyVisibleLines() const;
    void measureLines();
    void updateScrollBars();
    void selectLines(int anchor, int current);

    std::shared_ptr<const LineList> lines_;
    int count_ = 0;
    qint64 widest_ = 0; // width of the longest line, in 1/64 pixels
    int lineHeight_ = 1;
    int revision_ = 0;
    int anchor_ = -1; // the selection runs from anchor_ to current_; none if negative
    int current_ = -1;
    bool dragging_ = false;
    // Advances of the Latin-1 characters in the current font, in 1/64 pixels
    // rounded up; looked up when a text first needs them.
    const LatinAdvances *advances_ = nullptr;
};
