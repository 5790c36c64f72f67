// The notices TForm2 (smaller wheel) and TForm3 (input, texts A and B):
// their look, their keyboard and the return of text A after text B.
#include "fixture.h"

#include "ui/dialogs/Unit2.h"
#include "ui/dialogs/Unit3.h"
#include "ui/dialogs/Unit6.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <QtTest>

#include <memory>
#include <optional>

using namespace uitest;

namespace {

const QString caption = QStringLiteral("Обратите внимание! ! !");

std::unique_ptr<QDialog> makeNotice(const QString &name, QWidget *parent = nullptr) {
    if (name == QLatin1String("TForm2"))
        return std::make_unique<TForm2>(parent);
    return std::make_unique<TForm3>(parent);
}

// What a window manager does on Alt+F4 or on a close box it draws anyway:
// a close request to the native window, which Qt passes on as a
// spontaneous close event.
void closeByWindowManager(QWidget *window) {
    QCloseEvent request;
    QApplication::sendEvent(window->windowHandle(), &request);
}

QPushButton *button1(QDialog *notice) {
    return notice->findChild<QPushButton *>("Button1");
}

} // namespace

class NoticesTest : public QObject {
    Q_OBJECT

    std::optional<UiFixture> fixture_;

    static void addNoticeRows() {
        QTest::addColumn<QString>("window");
        QTest::newRow("TForm2") << "TForm2";
        QTest::newRow("TForm3") << "TForm3";
    }

private slots:
    void init() { fixture_.emplace(); }
    void cleanup() { fixture_.reset(); }

    void notice_is_a_fixed_dialog_without_close_box_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QSize>("clientSize");
        QTest::newRow("TForm2") << "TForm2" << QSize(519, 89);
        QTest::newRow("TForm3") << "TForm3" << QSize(516, 88);
    }
    void notice_is_a_fixed_dialog_without_close_box() {
        QFETCH(QString, window);
        QFETCH(QSize, clientSize);
        const auto notice = makeNotice(window);

        QCOMPARE(notice->objectName(), window);
        QCOMPARE(notice->windowTitle(), caption);
        QCOMPARE(notice->size(), clientSize);
        QCOMPARE(notice->minimumSize(), clientSize);
        QCOMPARE(notice->maximumSize(), clientSize);
        QCOMPARE(notice->windowFlags(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        QVERIFY(!notice->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(notice->font().families().value(0), "MS Sans Serif");
        QCOMPARE(notice->font().pixelSize(), 11);
    }

    void button_reads_spasibo_in_bold_at_its_place_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("TForm2") << "TForm2" << QRect(140, 60, 237, 25);
        QTest::newRow("TForm3") << "TForm3" << QRect(160, 60, 197, 25);
    }
    void button_reads_spasibo_in_bold_at_its_place() {
        QFETCH(QString, window);
        QFETCH(QRect, geometry);
        const auto notice = makeNotice(window);
        QPushButton *button = button1(notice.get());

        QVERIFY(button);
        QCOMPARE(button->text(), "СПАСИБО");
        QCOMPARE(button->geometry(), geometry);
        QVERIFY(button->font().bold());
        QCOMPARE(button->font().pixelSize(), 11);
    }

    void frame_shows_navy_bold_text_that_fits_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pixelSize");
        QTest::newRow("TForm2 smaller wheel") << "TForm2"
                                              << "GroupBox1" << kSmallerWheelText << 15;
        QTest::newRow("TForm3 text A") << "TForm3"
                                       << "GroupBox1" << kTextA << 16;
        QTest::newRow("TForm3 text B") << "TForm3"
                                       << "GroupBox2" << kTextB << 16;
    }
    void frame_shows_navy_bold_text_that_fits() {
        QFETCH(QString, window);
        QFETCH(QString, frame);
        QFETCH(QString, text);
        QFETCH(int, pixelSize);
        const auto notice = makeNotice(window);
        auto *box = notice->findChild<QGroupBox *>(frame);
        QVERIFY(box);
        QCOMPARE(box->parentWidget(), notice.get());
        QCOMPARE(box->geometry(), QRect(4, 4, 509, 49));
        QVERIFY(box->title().isEmpty());
        auto *label = box->findChild<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(label);

        QCOMPARE(label->text(), text);
        QCOMPARE(label->palette().color(QPalette::WindowText), kTextNavy);
        QCOMPARE(label->font().pixelSize(), pixelSize);
        QVERIFY(label->font().bold());
        QVERIFY(box->rect().contains(label->geometry()));
        const QFontMetrics metrics(label->font());
        QVERIFY2(metrics.horizontalAdvance(text) <= label->contentsRect().width(),
                 "the text is clipped");
        QVERIFY(metrics.height() <= label->contentsRect().height());
    }

    void button_is_the_only_tab_stop_and_has_the_focus_data() { addNoticeRows(); }
    void button_is_the_only_tab_stop_and_has_the_focus() {
        QFETCH(QString, window);
        const auto notice = makeNotice(window);
        QStringList tabStops;
        for (QWidget *child : notice->findChildren<QWidget *>())
            if (child->focusPolicy() & Qt::TabFocus)
                tabStops << child->objectName();
        QCOMPARE(tabStops, QStringList{"Button1"});

        QString focusAfterTab;
        const auto seen = closeModalsDuring([&] { notice->exec(); },
                                            [&](QWidget *modal) {
                                                pressKey(Qt::Key_Tab)(modal);
                                                if (QWidget *focus = QApplication::focusWidget())
                                                    focusAfterTab = focus->objectName();
                                                pressButton()(modal);
                                            });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].focus, "Button1");
        QCOMPARE(focusAfterTab, "Button1");
    }

    void key_presses_the_button_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        for (const char *window : {"TForm2", "TForm3"}) {
            QTest::addRow("%s Return", window) << window << int(Qt::Key_Return) << 0;
            QTest::addRow("%s keypad Enter", window)
                << window << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
            QTest::addRow("%s Space", window) << window << int(Qt::Key_Space) << 0;
        }
    }
    void key_presses_the_button() {
        QFETCH(QString, window);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        const auto notice = makeNotice(window);
        auto *form3 = qobject_cast<TForm3 *>(notice.get());
        if (form3)
            form3->GroupBox2->setVisible(true);

        const auto seen = closeModalsDuring(
            [&] { notice->exec(); }, pressKey(Qt::Key(key), Qt::KeyboardModifiers(modifiers)));
        QCOMPARE(seen.size(), 1);
        QVERIFY2(!seen[0].closedByFallback, "the key left the notice open");
        QVERIFY(notice->isHidden());
        if (form3)
            QVERIFY2(form3->GroupBox2->isHidden(), "the key closed without pressing the button");
    }

    void escape_leaves_the_notice_open_data() { addNoticeRows(); }
    void escape_leaves_the_notice_open() {
        QFETCH(QString, window);
        const auto notice = makeNotice(window);
        const auto seen = closeModalsDuring([&] { notice->exec(); }, pressKey(Qt::Key_Escape));
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen[0].closedByFallback, "Escape closed the notice");
    }

    void notice_is_centred_on_the_desktop_not_over_its_parent_data() { addNoticeRows(); }
    void notice_is_centred_on_the_desktop_not_over_its_parent() {
        QFETCH(QString, window);
        QWidget parent;
        parent.setGeometry(0, 0, 120, 80);
        parent.show();
        const auto notice = makeNotice(window, &parent);

        const auto seen = closeModalsDuring([&] { notice->exec(); });
        QCOMPARE(seen.size(), 1);
        const QPoint offset =
            seen[0].frame.center() - notice->screen()->availableGeometry().center();
        QVERIFY2(
            offset.manhattanLength() <= 2,
            qPrintable(QStringLiteral("off centre by %1, %2").arg(offset.x()).arg(offset.y())));
    }

    void input_notice_reads_text_a_unless_the_caller_raises_text_b() {
        TForm3 form3;
        auto show = [&] { return closeModalsDuring([&] { form3.exec(); }); };

        auto seen = show();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].objectName, "TForm3");
        QCOMPARE(seen[0].texts, QStringList{kTextA});

        form3.GroupBox2->setVisible(true);
        seen = show();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].texts, QStringList{kTextB});

        seen = show();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].texts, QStringList{kTextA});
    }

    void window_manager_close_acts_as_the_button_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("TForm2") << "TForm2";
        QTest::newRow("TForm3") << "TForm3";
        QTest::newRow("TForm6") << "TForm6";
    }
    void window_manager_close_acts_as_the_button() {
        QFETCH(QString, window);
        std::unique_ptr<QDialog> notice;
        if (window == QLatin1String("TForm6"))
            notice = std::make_unique<TForm6>();
        else
            notice = makeNotice(window);
        int pressed = 0;
        connect(button1(notice.get()), &QPushButton::clicked, [&] { ++pressed; });

        const auto seen = closeModalsDuring([&] { notice->exec(); },
                                            [](QWidget *modal) { closeByWindowManager(modal); });
        QCOMPARE(seen.size(), 1);
        QVERIFY2(!seen[0].closedByFallback, "the window manager could not close the notice");
        QVERIFY(notice->isHidden());
        QCOMPARE(pressed, 1);
    }

    // The input notice closed by the window manager after text B: the next
    // ordinary showing reads text A, as after "СПАСИБО".
    void text_a_follows_text_b_closed_by_the_window_manager() {
        TForm3 form3;
        form3.GroupBox2->setVisible(true);
        auto seen = closeModalsDuring([&] { form3.exec(); },
                                      [](QWidget *modal) { closeByWindowManager(modal); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].texts, QStringList{kTextB});

        seen = closeModalsDuring([&] { form3.exec(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].texts, QStringList{kTextA});
    }

    void text_b_frame_hides_text_a_completely() {
        TForm3 form3;
        form3.GroupBox2->setVisible(true);
        const QImage withTextA = form3.grab().toImage();
        form3.GroupBox1->findChild<QLabel *>()->clear();
        QCOMPARE(form3.grab().toImage(), withTextA);
    }
};

QTEST_MAIN(NoticesTest)
#include "tst_notices.moc"
