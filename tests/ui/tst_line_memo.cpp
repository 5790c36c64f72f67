// LineMemo, the list widget of the variants window: how it counts and keeps
// lines, how the user scrolls, selects and copies them, and that every line
// can be brought fully into view.
#include "fixture.h"

#include "ui/kit/line_memo.h"
#include "ui/kit/widget_kit.h"

#include <QClipboard>
#include <QMenu>
#include <QScrollBar>
#include <QtTest>

#include <memory>
#include <optional>

using namespace uitest;

namespace {

QString numberedLines(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("line %1").arg(i);
    return lines.join(QLatin1Char('\n'));
}

// Ink of the yellow text on the maroon ground, antialiased edges included.
bool isInk(QRgb pixel) {
    return qGreen(pixel) > 100 && qBlue(pixel) < 100;
}

// The dotted frame that shows the focus runs around the outermost pixels.
QRect inside(const QImage &image) {
    return image.rect().adjusted(1, 1, -1, -1);
}

// The rightmost column with ink inside a band, -1 without any.
int rightmostInk(const QImage &image, const QRect &band) {
    const QRect area = band.intersected(inside(image));
    for (int x = area.right(); x >= area.left(); --x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (isInk(image.pixel(x, y)))
                return x;
    return -1;
}

QImage viewportImage(LineMemo &memo) {
    return memo.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void sendToViewport(LineMemo &memo, QEvent::Type type, const QPoint &at, Qt::MouseButton button,
                    Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, at, memo.viewport()->mapToGlobal(at), button, buttons, modifiers);
    QCoreApplication::sendEvent(memo.viewport(), &event);
}

void clickLine(LineMemo &memo, int line, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, modifiers, memo.lineRect(line).center());
}

QString copied(LineMemo &memo) {
    QApplication::clipboard()->setText(QStringLiteral("nothing copied"));
    QTest::keyClick(&memo, Qt::Key_C, Qt::ControlModifier);
    return QApplication::clipboard()->text();
}

} // namespace

class LineMemoTest : public QObject {
    Q_OBJECT

    std::optional<UiFixture> fixture_;
    std::unique_ptr<LineMemo> memo_;

    // The size and look of a list of the variants window.
    void showMemo() {
        memo_->setGeometry(100, 100, 199, 105);
        memo_->setFont(kit::sansFont(16, true));
        kit::setColour(memo_.get(), QPalette::Base, kListMaroon);
        kit::setColour(memo_.get(), QPalette::Text, kListYellow);
        memo_->show();
        QVERIFY(QTest::qWaitForWindowExposed(memo_.get()));
        memo_->activateWindow();
        memo_->setFocus();
        QTRY_VERIFY(memo_->hasFocus());
    }

private slots:
    void init() {
        fixture_.emplace();
        memo_ = std::make_unique<LineMemo>();
    }
    void cleanup() {
        memo_.reset();
        fixture_.reset();
    }

    void counts_lines_as_a_list_does_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::newRow("empty text has no lines") << "" << 0;
        QTest::newRow("text without a line break") << "1Fz+1Fr1=40,5" << 1;
        QTest::newRow("two lines") << "1Fz+1Fr1=40,5\n2Fz+1Fr1=83" << 2;
        QTest::newRow("final line break ends the last line") << "1Fz\n2Fz\n" << 2;
        QTest::newRow("lone line break is one empty line") << "\n" << 1;
        QTest::newRow("empty line between two") << "1Fz\n\n2Fz" << 3;
        QTest::newRow("two final line breaks leave one empty line") << "1Fz\n\n" << 2;
        QTest::newRow("leading line break starts with an empty line") << "\n1Fz" << 2;
    }
    void counts_lines_as_a_list_does() {
        QFETCH(QString, text);
        QFETCH(int, lines);
        memo_->setPlainText(QStringLiteral("old\nold\nold\nold\nold"));
        memo_->setPlainText(text);
        QCOMPARE(memo_->lineCount(), lines);
    }

    void gives_back_the_text_it_was_given_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("one line") << "0Fz+0,5Fr1=12,5";
        QTest::newRow("final line break kept") << "1Fz+1Fr1=40,5\n2Fz+1Fr1=83\n";
        QTest::newRow("empty lines kept") << "\n\n1Fz\n\n";
        QTest::newRow("beyond Latin-1") << "Частота\n1Fz+1Fr1=40,5";
    }
    void gives_back_the_text_it_was_given() {
        QFETCH(QString, text);
        memo_->setPlainText(text);
        QCOMPARE(memo_->toPlainText(), text);
    }

    void clear_leaves_no_lines_and_no_selection() {
        memo_->setPlainText(numberedLines(5));
        memo_->selectAll();
        memo_->clear();
        QVERIFY(memo_->toPlainText().isEmpty());
        QCOMPARE(memo_->lineCount(), 0);
        QVERIFY(!memo_->hasSelection());
        QCOMPARE(memo_->verticalScrollBar()->maximum(), 0);
        QCOMPARE(memo_->horizontalScrollBar()->maximum(), 0);
    }

    void every_new_text_is_a_new_revision() {
        const int before = memo_->revision();
        memo_->setPlainText(QStringLiteral("1Fz"));
        const int first = memo_->revision();
        QVERIFY(first != before);
        // A new search with the same result is still a new list.
        memo_->setPlainText(QStringLiteral("1Fz"));
        QVERIFY(memo_->revision() != first);
        const int filled = memo_->revision();
        memo_->clear();
        QVERIFY(memo_->revision() != filled);
    }

    void ctrl_a_ctrl_c_copies_the_whole_text_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("lines") << "1Fz+1Fr1=40,5\n2Fz+1Fr1=83\n3Fz+1Fr1=125,5";
        QTest::newRow("final line break") << "1Fz+1Fr1=40,5\n2Fz+1Fr1=83\n";
        QTest::newRow("one line") << "0Fz+0,5Fr1=12,5";
    }
    void ctrl_a_ctrl_c_copies_the_whole_text() {
        QFETCH(QString, text);
        showMemo();
        memo_->setPlainText(text);
        QTest::keyClick(memo_.get(), Qt::Key_A, Qt::ControlModifier);
        QVERIFY(memo_->hasSelection());
        QCOMPARE(copied(*memo_), text);
    }

    void ctrl_c_without_a_selection_leaves_the_clipboard_alone() {
        showMemo();
        memo_->setPlainText(numberedLines(3));
        QCOMPARE(copied(*memo_), QStringLiteral("nothing copied"));
    }

    void a_new_text_drops_the_old_selection() {
        showMemo();
        memo_->setPlainText(numberedLines(3));
        memo_->selectAll();
        memo_->setPlainText(numberedLines(4));
        QVERIFY(!memo_->hasSelection());
        QCOMPARE(copied(*memo_), QStringLiteral("nothing copied"));
    }

    void click_selects_its_line() {
        showMemo();
        memo_->setPlainText(numberedLines(10));
        clickLine(*memo_, 1);
        QCOMPARE(copied(*memo_), QStringLiteral("line 1"));
        clickLine(*memo_, 0);
        QCOMPARE(copied(*memo_), QStringLiteral("line 0"));
    }

    void click_takes_the_focus() {
        QWidget window;
        window.resize(220, 230);
        auto *first = new LineMemo(&window);
        auto *second = new LineMemo(&window);
        first->setGeometry(0, 0, 199, 105);
        second->setGeometry(0, 110, 199, 105);
        second->setPlainText(numberedLines(3));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        first->setFocus();
        QTRY_VERIFY(first->hasFocus());
        QTest::mouseClick(second->viewport(), Qt::LeftButton, {}, second->lineRect(0).center());
        QVERIFY(second->hasFocus());
    }

    void dragging_and_shift_click_select_a_run_of_lines() {
        showMemo();
        memo_->setPlainText(numberedLines(10));
        const QPoint from = memo_->lineRect(1).center();
        const QPoint to = memo_->lineRect(3).center();
        sendToViewport(*memo_, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        sendToViewport(*memo_, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        sendToViewport(*memo_, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(copied(*memo_), QStringLiteral("line 1\nline 2\nline 3"));

        // Shift extends from where the selection began, upwards too.
        clickLine(*memo_, 0, Qt::ShiftModifier);
        QCOMPARE(copied(*memo_), QStringLiteral("line 0\nline 1"));
    }

    void moving_without_the_button_selects_nothing() {
        showMemo();
        memo_->setPlainText(numberedLines(10));
        sendToViewport(*memo_, QEvent::MouseMove, memo_->lineRect(2).center(), Qt::NoButton,
                       Qt::NoButton);
        QVERIFY(!memo_->hasSelection());
    }

    void selection_of_the_last_line_copies_to_the_end_of_the_text() {
        showMemo();
        memo_->setPlainText(QStringLiteral("line 0\nline 1\n"));
        clickLine(*memo_, 1);
        QCOMPARE(copied(*memo_), QStringLiteral("line 1\n"));
        clickLine(*memo_, 0);
        QCOMPARE(copied(*memo_), QStringLiteral("line 0"));
    }

    void click_below_the_last_line_clears_the_selection() {
        showMemo();
        memo_->setPlainText(numberedLines(2));
        clickLine(*memo_, 0);
        QVERIFY(memo_->hasSelection());
        const QRect below = memo_->lineRect(2);
        QVERIFY(memo_->viewport()->rect().contains(below.center()));
        QTest::mouseClick(memo_->viewport(), Qt::LeftButton, {}, below.center());
        QVERIFY(!memo_->hasSelection());
    }

    void vertical_range_brings_every_line_fully_into_view() {
        showMemo();
        const int count = 100;
        memo_->setPlainText(numberedLines(count));
        QScrollBar *bar = memo_->verticalScrollBar();
        const QRect view = memo_->viewport()->rect();
        QVERIFY(view.contains(memo_->lineRect(0)));

        QTest::keyClick(memo_.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(bar->value(), bar->maximum());
        QVERIFY(view.contains(memo_->lineRect(count - 1)));
        // No scrolling past the end: one line less and the last is not yet whole.
        bar->setValue(bar->maximum() - 1);
        QVERIFY(!view.contains(memo_->lineRect(count - 1)));
        bar->setValue(bar->maximum());

        // What is painted where the last line is, and what a click there takes.
        const QImage image = viewportImage(*memo_);
        QVERIFY(rightmostInk(image, memo_->lineRect(count - 1)) > 0);
        QVERIFY(rightmostInk(image, QRect(0, memo_->lineRect(count - 1).bottom() + 1, view.width(),
                                          view.height())) < 0);
        clickLine(*memo_, count - 1);
        QCOMPARE(copied(*memo_), QStringLiteral("line 99"));

        QTest::keyClick(memo_.get(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(bar->value(), 0);
        clickLine(*memo_, 0);
        QCOMPARE(copied(*memo_), QStringLiteral("line 0"));
    }

    void lines_scrolled_out_at_the_top_leave_the_margin_empty() {
        showMemo();
        // Tall letters with deep tails, so that a line above would reach down.
        QStringList lines(20, QStringLiteral("gjpqy|gjpqy|gjpqy"));
        memo_->setPlainText(lines.join(QLatin1Char('\n')));
        memo_->verticalScrollBar()->setValue(5);
        const QImage image = viewportImage(*memo_);
        QCOMPARE(rightmostInk(image, QRect(0, 0, image.width(), memo_->lineRect(5).top())), -1);
        QVERIFY(rightmostInk(image, memo_->lineRect(5)) > 0);
    }

    void keys_scroll_the_list_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("control");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<bool>("fromEnd");
        // Where the key leaves the bar: a signed count of steps, pages, or the ends.
        QTest::addColumn<QString>("expected");
        QTest::newRow("Down one line") << int(Qt::Key_Down) << false << false << false << "+step";
        QTest::newRow("Up one line") << int(Qt::Key_Up) << false << false << true << "-step";
        QTest::newRow("PageDown a page")
            << int(Qt::Key_PageDown) << false << false << false << "+page";
        QTest::newRow("PageUp a page") << int(Qt::Key_PageUp) << false << false << true << "-page";
        QTest::newRow("Ctrl+End last line") << int(Qt::Key_End) << true << false << false << "max";
        QTest::newRow("Ctrl+Home first line")
            << int(Qt::Key_Home) << true << false << true << "min";
        QTest::newRow("Right sideways") << int(Qt::Key_Right) << false << true << false << "+step";
        QTest::newRow("Left sideways") << int(Qt::Key_Left) << false << true << true << "-step";
        QTest::newRow("End to the line ends")
            << int(Qt::Key_End) << false << true << false << "max";
        QTest::newRow("Home to the line starts")
            << int(Qt::Key_Home) << false << true << true << "min";
    }
    void keys_scroll_the_list() {
        QFETCH(int, key);
        QFETCH(bool, control);
        QFETCH(bool, horizontal);
        QFETCH(bool, fromEnd);
        QFETCH(QString, expected);
        showMemo();
        QStringList lines;
        for (int i = 0; i < 100; ++i)
            lines << QStringLiteral("%1Fz+%1Fr1=%1 ").arg(i) + QString(90, QLatin1Char('m'));
        memo_->setPlainText(lines.join(QLatin1Char('\n')));
        QScrollBar *bar = horizontal ? memo_->horizontalScrollBar() : memo_->verticalScrollBar();
        QScrollBar *other = horizontal ? memo_->verticalScrollBar() : memo_->horizontalScrollBar();
        QVERIFY(bar->maximum() > 2 * bar->pageStep());
        const int start = fromEnd ? bar->maximum() : 0;
        bar->setValue(start);
        other->setValue(other->maximum() / 2);
        const int otherBefore = other->value();

        QTest::keyClick(memo_.get(), Qt::Key(key), control ? Qt::ControlModifier : Qt::NoModifier);
        const int wanted = expected == "+step"   ? start + bar->singleStep()
                           : expected == "-step" ? start - bar->singleStep()
                           : expected == "+page" ? start + bar->pageStep()
                           : expected == "-page" ? start - bar->pageStep()
                           : expected == "max"   ? bar->maximum()
                                                 : 0;
        QCOMPARE(bar->value(), wanted);
        QCOMPARE(other->value(), otherBefore);
        if (!horizontal && (expected == "+step" || expected == "-step"))
            QCOMPARE(bar->singleStep(), 1);
    }

    void page_step_is_the_lines_in_view() {
        showMemo();
        memo_->setPlainText(numberedLines(100));
        const int page = memo_->verticalScrollBar()->pageStep();
        const QRect view = memo_->viewport()->rect();
        QVERIFY(view.contains(memo_->lineRect(page - 1)));
        QVERIFY(!view.contains(memo_->lineRect(page)));
    }

    void wheel_scrolls_the_lines() {
        showMemo();
        memo_->setPlainText(numberedLines(100));
        const QPoint at = memo_->viewport()->rect().center();
        QWheelEvent down(at, memo_->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(memo_->viewport(), &down);
        const int scrolled = memo_->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        QWheelEvent up(at, memo_->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(memo_->viewport(), &up);
        QCOMPARE(memo_->verticalScrollBar()->value(), 0);
    }

    void short_lines_need_no_sideways_scrolling() {
        showMemo();
        memo_->setPlainText(QStringLiteral("1Fz\n2Fz\n3Fz"));
        QCOMPARE(memo_->horizontalScrollBar()->maximum(), 0);
    }

    void long_line_widens_the_sideways_range_to_its_end_data() {
        QTest::addColumn<QString>("longLine");
        QTest::newRow("Latin")
            << "10Fz+20,5Fr1=4165,5 10Fz+20,5Fr1=4165,5 10Fz+20,5Fr1=4165,5 WWWW";
        QTest::newRow("beyond Latin-1") << "Частота зацепления Частота зацепления ЖЖЖЖ";
    }
    void long_line_widens_the_sideways_range_to_its_end() {
        QFETCH(QString, longLine);
        showMemo();
        memo_->setPlainText(QStringLiteral("1Fz\n") + longLine + QStringLiteral("\n2Fz"));
        QScrollBar *bar = memo_->horizontalScrollBar();
        QVERIFY(bar->maximum() > 0);
        const QRect band = memo_->lineRect(1);
        const int edge = inside(viewportImage(*memo_)).right();

        // At the start the long line runs out of view on the right...
        const int start = rightmostInk(viewportImage(*memo_), band);
        QVERIFY2(start > edge - 8, qPrintable(QString::number(start)));
        // ...and at the end of the range its last letter stands whole near the edge.
        QTest::keyClick(memo_.get(), Qt::Key_End);
        QCOMPARE(bar->value(), bar->maximum());
        const int end = rightmostInk(viewportImage(*memo_), band);
        QVERIFY2(end > edge - 16 && end < edge - 1, qPrintable(QString::number(end)));
    }

    void a_larger_font_spaces_and_measures_the_lines_anew() {
        showMemo();
        memo_->setPlainText(QStringLiteral("Fz Fz Fz Fz Fz Fz Fz Fz Fz Fz\n"));
        const int narrowRange = memo_->horizontalScrollBar()->maximum();
        memo_->setFont(kit::sansFont(32, true));
        QVERIFY(memo_->horizontalScrollBar()->maximum() > narrowRange + 100);
        // The letters of the first line stay within its own height.
        const QImage image = viewportImage(*memo_);
        const QRect first = memo_->lineRect(0);
        QVERIFY(rightmostInk(image, first) > 0);
        QCOMPARE(rightmostInk(image, QRect(0, first.bottom() + 1, image.width(), image.height())),
                 -1);
    }

    void lines_are_painted_in_the_palettes_text_colour_on_its_base() {
        showMemo();
        memo_->setPlainText(QStringLiteral("1Fz+1Fr1=40,5"));
        const QImage image = viewportImage(*memo_);
        const QRect line = memo_->lineRect(0);
        int yellowPixels = 0;
        for (int y = line.top(); y <= line.bottom(); ++y)
            for (int x = 1; x < image.width() - 1; ++x)
                yellowPixels += QColor(image.pixel(x, y)) == kListYellow;
        QVERIFY(yellowPixels > 20);
        // Away from the text the list shows its base colour.
        QCOMPARE(QColor(image.pixel(image.width() / 2, image.height() - 4)), kListMaroon);
    }

    void selected_lines_are_painted_highlighted() {
        showMemo();
        memo_->setPlainText(numberedLines(3));
        const QColor highlight = memo_->palette().color(QPalette::Highlight);
        QVERIFY(highlight != kListMaroon);
        clickLine(*memo_, 1);
        const QImage image = viewportImage(*memo_);
        const int x = image.width() - 6; // right of the text
        QCOMPARE(QColor(image.pixel(x, memo_->lineRect(1).center().y())), highlight);
        QCOMPARE(QColor(image.pixel(x, memo_->lineRect(0).center().y())), kListMaroon);
        QCOMPARE(QColor(image.pixel(x, memo_->lineRect(2).center().y())), kListMaroon);
    }

    void typing_leaves_the_text_as_it_is() {
        showMemo();
        const QString text = numberedLines(3);
        memo_->setPlainText(text);
        memo_->selectAll();
        const int revision = memo_->revision();
        QTest::keyClicks(memo_.get(), QStringLiteral("12,5"));
        for (Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Space})
            QTest::keyClick(memo_.get(), key);
        QTest::keyClick(memo_.get(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(memo_.get(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(memo_->toPlainText(), text);
        QCOMPARE(memo_->revision(), revision);
    }

    void tab_moves_on_to_the_next_widget() {
        QWidget window;
        window.resize(220, 230);
        auto *first = new LineMemo(&window);
        auto *second = new LineMemo(&window);
        first->setGeometry(0, 0, 199, 105);
        second->setGeometry(0, 110, 199, 105);
        first->setPlainText(numberedLines(3));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        first->setFocus();
        QTRY_VERIFY(first->hasFocus());
        QTest::keyClick(first, Qt::Key_Tab);
        QVERIFY(second->hasFocus());
        QCOMPARE(first->toPlainText(), numberedLines(3));
    }

    void context_menu_copies_and_selects_all() {
        showMemo();
        memo_->setPlainText(numberedLines(3));
        clickLine(*memo_, 2);
        QStringList offered;
        bool copyEnabled = false;
        // The menu runs its own loop; it is answered from inside.
        QTimer::singleShot(0, memo_.get(), [&] {
            QMenu *menu = activePopupMenu();
            if (!menu)
                return;
            for (QAction *action : menu->actions()) {
                offered << action->text();
                if (action->text() == QStringLiteral("Копировать")) {
                    copyEnabled = action->isEnabled();
                    action->trigger();
                }
            }
            menu->close();
        });
        // A menu the answer above missed must not keep the test waiting.
        QTimer::singleShot(2000, memo_.get(), [] {
            if (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
        });
        QApplication::clipboard()->setText(QStringLiteral("nothing copied"));
        const QPoint at = memo_->lineRect(0).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, memo_->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(memo_->viewport(), &event);
        QCOMPARE(offered, QStringList({"Копировать", "Выделить всё"}));
        QVERIFY(copyEnabled);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("line 2"));
    }

    void hundred_thousand_lines_keep_their_count_ends_and_width() {
        showMemo();
        QStringList lines;
        for (int i = 0; i < 100000; ++i)
            lines << QStringLiteral("%1Fz+%2Fr1=%3").arg(i % 100).arg(i % 37).arg(i);
        lines[54321] += QStringLiteral(" the longest line of all");
        memo_->setPlainText(lines.join(QLatin1Char('\n')));
        QCOMPARE(memo_->lineCount(), 100000);
        QTest::keyClick(memo_.get(), Qt::Key_End, Qt::ControlModifier);
        clickLine(*memo_, 99999);
        QCOMPARE(copied(*memo_), lines.last());

        // The sideways range is set by that one line, wherever it is.
        memo_->verticalScrollBar()->setValue(54321);
        QTest::keyClick(memo_.get(), Qt::Key_End);
        const QImage image = viewportImage(*memo_);
        const int edge = inside(image).right();
        const int end = rightmostInk(image, memo_->lineRect(54321));
        QVERIFY2(end > edge - 16 && end < edge - 1, qPrintable(QString::number(end)));
    }

    // The lists keep pictures of their scroll bars; what they show must be
    // what the style paints for the same place, colours and state.
    void scroll_bars_look_as_the_style_paints_them_data() {
        QTest::addColumn<Qt::Orientation>("orientation");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("disabled");
        QTest::newRow("vertical at the top") << Qt::Vertical << 0 << false;
        QTest::newRow("vertical scrolled") << Qt::Vertical << 40 << false;
        QTest::newRow("vertical at the end") << Qt::Vertical << 96 << false;
        QTest::newRow("horizontal scrolled") << Qt::Horizontal << 30 << false;
        QTest::newRow("disabled list") << Qt::Vertical << 40 << true;
    }
    void scroll_bars_look_as_the_style_paints_them() {
        QFETCH(Qt::Orientation, orientation);
        QFETCH(int, value);
        QFETCH(bool, disabled);
        showMemo();
        memo_->setPlainText(numberedLines(100) + QStringLiteral("\n") + QString(60, u'W'));
        memo_->setEnabled(!disabled);
        QScrollBar *bar =
            orientation == Qt::Vertical ? memo_->verticalScrollBar() : memo_->horizontalScrollBar();
        // Painted once at the top, so that a picture is kept before it moves.
        bar->grab();
        bar->setValue(value);
        const QImage cached = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);

        QScrollBar reference(orientation);
        reference.setPalette(bar->palette());
        reference.setRange(bar->minimum(), bar->maximum());
        reference.setPageStep(bar->pageStep());
        reference.setValue(bar->value());
        reference.setEnabled(bar->isEnabled());
        reference.resize(bar->size());
        QCOMPARE(cached, reference.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
};

QTEST_MAIN(LineMemoTest)
#include "tst_line_memo.moc"
