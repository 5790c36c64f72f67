// LineMemo: a read-only list of text lines that stays quick with a hundred
// thousand of them. It keeps the text as it was given plus the offset of every
// line, paints only the lines in view and selects whole lines for copying.
#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <array>
#include <vector>

class QContextMenuEvent;
class QKeyEvent;
class QMouseEvent;
class QPaintEvent;
class QResizeEvent;

class LineMemo : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit LineMemo(QWidget *parent = nullptr);

    void setPlainText(const QString &text);
    QString toPlainText() const { return text_; }
    void clear();

    // Lines as a list counts them: an empty text has none, and a final line
    // break ends the last line instead of starting an empty one.
    int lineCount() const { return int(starts_.size()); }
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
    qsizetype lineEnd(int line) const;
    int lineAt(int y) const;
    int fullyVisibleLines() const;
    void indexLines();
    void updateScrollBars();
    void selectLines(int anchor, int current);

    QString text_;
    std::vector<qsizetype> starts_; // where each line begins in text_
    qint64 widest_ = 0;             // width of the longest line, in 1/64 pixels
    int lineHeight_ = 1;
    int revision_ = 0;
    int anchor_ = -1; // the selection runs from anchor_ to current_; none if negative
    int current_ = -1;
    bool dragging_ = false;
    // Advances of the Latin-1 characters in the current font, in 1/64 pixels
    // rounded up; measured when a text first needs them.
    std::array<qint32, 256> advances_{};
    bool advancesMeasured_ = false;
};
