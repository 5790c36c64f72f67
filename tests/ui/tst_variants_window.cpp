// TForm5, the modulation-frequency window: its layout and colours, what the
// search writes into it, and how it comes up and goes away.
#include "fixture.h"

#include "ui/dialogs/Unit5.h"
#include "ui/kit/line_memo.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <optional>

using namespace uitest;

namespace {

const QColor black(0, 0, 0);
const QString startCaption = QStringLiteral("Модуляционные частоты");

const QStringList memoNames = {"Memo1", "Memo2", "Memo3", "Memo4",  "Memo5", "Memo6",
                               "Memo7", "Memo8", "Memo9", "Memo10", "Memo11"};
const QStringList editNames = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"};

template <class W> W *child(QWidget *form, const QString &name) {
    return form->findChild<W *>(name);
}

QStringList memoTexts(TForm5 &form) {
    QStringList texts;
    for (const QString &name : memoNames)
        texts << child<LineMemo>(&form, name)->toPlainText();
    return texts;
}

QStringList editTexts(TForm5 &form) {
    QStringList texts;
    for (const QString &name : editNames)
        texts << child<QLineEdit>(&form, name)->text();
    return texts;
}

void fillSample(TForm5 &form) {
    form.startRun("1234", "17", "24,5", "53", "12", "7,8584905660377", "416,5");
    for (int family = 0; family < TForm5::kFamilyCount; ++family)
        form.setListText(family, QStringLiteral("1Fz+%1Fr1=40%1,5\n2Fz+%1Fr1=83%1").arg(family));
}

} // namespace

class VariantsWindowTest : public QObject {
    Q_OBJECT

    std::optional<UiFixture> fixture_;
    std::unique_ptr<TForm5> form_;

private slots:
    void init() {
        fixture_.emplace();
        form_ = std::make_unique<TForm5>();
    }
    void cleanup() {
        form_.reset();
        fixture_.reset();
    }

    void window_is_fixed_non_modal_with_close_and_minimise_only() {
        TForm5 &form = *form_;
        QCOMPARE(form.objectName(), "TForm5");
        QCOMPARE(form.windowTitle(), startCaption);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.size(), QSize(654, 519));
        QCOMPARE(form.minimumSize(), QSize(654, 519));
        QCOMPARE(form.maximumSize(), QSize(654, 519));
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(flags.testFlag(Qt::Window));
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(form.windowModality(), Qt::NonModal);
        QVERIFY(!form.testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(form.font().families().value(0), "MS Sans Serif");
        QCOMPARE(form.font().pixelSize(), 11);
    }

    void lists_are_maroon_with_yellow_bold_text_and_both_scroll_bars_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("Memo1 Fz+Fr1") << "Memo1" << QRect(2, 20, 199, 105);
        QTest::newRow("Memo2 Fz-Fr1") << "Memo2" << QRect(2, 146, 199, 105);
        QTest::newRow("Memo3 Fz+Fr2") << "Memo3" << QRect(2, 272, 199, 105);
        QTest::newRow("Memo4 Fz-Fr2") << "Memo4" << QRect(2, 398, 199, 105);
        QTest::newRow("Memo5 Fr1*Fr2") << "Memo5" << QRect(224, 20, 201, 105);
        QTest::newRow("Memo6 Fr1+Fr2") << "Memo6" << QRect(224, 146, 201, 105);
        QTest::newRow("Memo7 difference") << "Memo7" << QRect(224, 272, 201, 105);
        QTest::newRow("Memo8 Fm+Fr1") << "Memo8" << QRect(448, 20, 201, 105);
        QTest::newRow("Memo9 Fm-Fr1") << "Memo9" << QRect(448, 146, 201, 105);
        QTest::newRow("Memo10 Fm+Fr2") << "Memo10" << QRect(448, 272, 201, 105);
        QTest::newRow("Memo11 Fm-Fr2") << "Memo11" << QRect(448, 398, 201, 105);
    }
    void lists_are_maroon_with_yellow_bold_text_and_both_scroll_bars() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        auto *memo = child<LineMemo>(form_.get(), name);
        QVERIFY(memo);
        QCOMPARE(memo->parentWidget(), form_.get());
        QCOMPARE(memo->geometry(), geometry);
        QVERIFY(memo->toPlainText().isEmpty());
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(memo->palette().color(QPalette::Base), kListMaroon);
        QCOMPARE(memo->palette().color(QPalette::Text), kListYellow);
        QVERIFY(memo->font().bold());
        QCOMPARE(memo->font().pixelSize(), 16);
    }

    void titles_name_their_families_above_the_lists_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("visible");
        QTest::newRow("Label1") << "Label1" << QPoint(24, -2) << "Fz + Fr1" << true;
        QTest::newRow("Label2") << "Label2" << QPoint(24, 124) << "Fz - Fr1" << true;
        QTest::newRow("Label3") << "Label3" << QPoint(24, 250) << "Fz + Fr2" << true;
        QTest::newRow("Label4") << "Label4" << QPoint(24, 376) << "Fz - Fr2" << true;
        QTest::newRow("Label5") << "Label5" << QPoint(248, -2) << "Fr1 * Fr2" << true;
        QTest::newRow("Label6") << "Label6" << QPoint(248, 124) << "Fr1+Fr2" << true;
        QTest::newRow("Label7 shown") << "Label7" << QPoint(248, 250) << "Fr1 - Fr2" << true;
        QTest::newRow("Label8 hidden") << "Label8" << QPoint(248, 250) << "Fr2 - Fr1" << false;
        QTest::newRow("Label9") << "Label9" << QPoint(464, -2) << "Fm + Fr1" << true;
        QTest::newRow("Label10") << "Label10" << QPoint(472, 124) << "Fm - Fr1" << true;
        QTest::newRow("Label11") << "Label11" << QPoint(472, 250) << "Fm + Fr2" << true;
        QTest::newRow("Label12") << "Label12" << QPoint(480, 376) << "Fm - Fr2" << true;
    }
    void titles_name_their_families_above_the_lists() {
        QFETCH(QString, name);
        QFETCH(QPoint, position);
        QFETCH(QString, text);
        QFETCH(bool, visible);
        form_->show();
        auto *label = child<QLabel>(form_.get(), name);
        QVERIFY(label);
        QCOMPARE(label->parentWidget(), form_.get());
        QCOMPARE(label->pos(), position);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->isVisible(), visible);
        QCOMPARE(label->font().pixelSize(), 19);
        QVERIFY(label->width() >= label->sizeHint().width());
        QCOMPARE(label->palette().color(QPalette::WindowText),
                 QApplication::palette(label).color(QPalette::WindowText));
    }

    void summary_shows_navy_labels_before_black_bold_boxes_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QPoint>("labelPosition");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QPoint>("editPosition");
        QTest::newRow("Z1") << "Label13" << QPoint(5, 12) << "Z1="
                            << "Edit1" << QPoint(36, 12);
        QTest::newRow("Fr1") << "Label14" << QPoint(115, 12) << "Fr1="
                             << "Edit2" << QPoint(152, 12);
        QTest::newRow("Z2") << "Label15" << QPoint(5, 44) << "Z2="
                            << "Edit3" << QPoint(36, 44);
        QTest::newRow("Fr2") << "Label16" << QPoint(115, 44) << "Fr2="
                             << "Edit5" << QPoint(152, 44);
        QTest::newRow("Fm") << "Label17" << QPoint(4, 76) << "Fm="
                            << "Edit4" << QPoint(36, 76);
        QTest::newRow("Fz") << "Label18" << QPoint(120, 76) << "Fz="
                            << "Edit6" << QPoint(152, 76);
    }
    void summary_shows_navy_labels_before_black_bold_boxes() {
        QFETCH(QString, label);
        QFETCH(QPoint, labelPosition);
        QFETCH(QString, text);
        QFETCH(QString, edit);
        QFETCH(QPoint, editPosition);
        auto *group = child<QGroupBox>(form_.get(), "GroupBox1");
        QVERIFY(group);
        QCOMPARE(group->geometry(), QRect(208, 380, 233, 105));
        QVERIFY(group->title().isEmpty());

        auto *caption = child<QLabel>(group, label);
        auto *box = child<QLineEdit>(group, edit);
        QVERIFY(caption && box);
        QCOMPARE(caption->pos(), labelPosition);
        QCOMPARE(caption->text(), text);
        QCOMPARE(caption->palette().color(QPalette::WindowText), kTextNavy);
        QVERIFY(caption->font().bold());
        QCOMPARE(caption->font().pixelSize(), 16);
        QCOMPARE(box->geometry(), QRect(editPosition, QSize(75, 21)));
        QVERIFY(box->text().isEmpty());
        QCOMPARE(box->palette().color(QPalette::Text), black);
        QVERIFY(box->font().bold());
        QCOMPARE(box->font().pixelSize(), 13);
        // The caption's own text must end before its box starts.
        QVERIFY2(
            caption->x() + caption->sizeHint().width() <= box->x(),
            qPrintable(
                QStringLiteral("%1 is %2 px wide").arg(text).arg(caption->sizeHint().width())));
    }

    // A caption's letters stop short of its box: at least two pixels of the
    // group's surface lie between the last letter and the box's frame.
    void summary_caption_keeps_clear_of_its_box_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("edit");
        QTest::newRow("Z1") << "Label13"
                            << "Edit1";
        QTest::newRow("Fr1") << "Label14"
                             << "Edit2";
        QTest::newRow("Z2") << "Label15"
                            << "Edit3";
        QTest::newRow("Fr2") << "Label16"
                             << "Edit5";
        QTest::newRow("Fm") << "Label17"
                            << "Edit4";
        QTest::newRow("Fz") << "Label18"
                            << "Edit6";
    }
    void summary_caption_keeps_clear_of_its_box() {
        QFETCH(QString, label);
        QFETCH(QString, edit);
        auto *group = child<QGroupBox>(form_.get(), "GroupBox1");
        auto *caption = child<QLabel>(group, label);
        auto *box = child<QLineEdit>(group, edit);
        QVERIFY(caption && box);
        const QImage ink = caption->grab().toImage();
        const QRgb surface = caption->palette().color(QPalette::Window).rgb();
        int lastInk = -1;
        for (int x = 0; x < ink.width(); ++x)
            for (int y = 0; y < ink.height(); ++y)
                if (ink.pixel(x, y) != surface)
                    lastInk = x;
        QVERIFY(lastInk >= 0);
        const int gap = box->x() - (caption->x() + lastInk) - 1;
        QVERIFY2(gap >= 2, qPrintable(QStringLiteral("%1 pixels between \"%2\" and its box")
                                          .arg(gap)
                                          .arg(caption->text())));
    }

    void close_button_reads_zakryt_in_bold_under_the_summary() {
        QPushButton *button = form_->Button1;
        QCOMPARE(child<QPushButton>(form_.get(), "Button1"), button);
        QCOMPARE(button->text(), "Закрыть");
        QCOMPARE(button->geometry(), QRect(208, 492, 233, 25));
        QVERIFY(button->font().bold());
        QCOMPARE(button->font().pixelSize(), 13);
    }

    void first_showing_is_centred_and_later_ones_keep_the_users_place() {
        form_->bringUp(true);
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        const QPoint centre = form_->screen()->availableGeometry().center();
        QVERIFY2((form_->frameGeometry().center() - centre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("centre %1,%2")
                                .arg(form_->frameGeometry().center().x())
                                .arg(form_->frameGeometry().center().y())));
        form_->move(10, 20);
        form_->Button1->click();
        form_->bringUp(true);
        QCOMPARE(form_->pos(), QPoint(10, 20));
    }

    void start_of_run_names_the_target_fills_the_summary_and_empties_the_lists() {
        TForm5 &form = *form_;
        form.setListText(0, "old line");
        form.setListText(10, "old\nlines");
        form.startRun("1234,5", "17", "24,5", "53", "12", "7,86", "416,5");
        QCOMPARE(form.windowTitle(), "результаты пойска значения 1234,5");
        QCOMPARE(editTexts(form), QStringList({"17", "24,5", "53", "12", "7,86", "416,5"}));
        QCOMPARE(memoTexts(form), QStringList(TForm5::kFamilyCount, QString()));
    }

    void long_summary_number_shows_its_leading_digits() {
        form_->startRun("1", "17", "24,5", "53", "12", "7,85849056603774", "416,5");
        QCOMPARE(form_->Edit5->cursorPosition(), 0);
    }

    void list_text_goes_to_its_family_list_only_data() {
        QTest::addColumn<int>("family");
        for (int family = 0; family < TForm5::kFamilyCount; ++family)
            QTest::addRow("family %d to %s", family, qPrintable(memoNames[family])) << family;
    }
    void list_text_goes_to_its_family_list_only() {
        QFETCH(int, family);
        const QString lines = QStringLiteral("0Fz+0Fr1=0\n1Fz+0Fr1=416,5\n0Fz+1Fr1=24,5");
        form_->setListText(family, lines);
        QStringList expected(TForm5::kFamilyCount, QString());
        expected[family] = lines;
        QCOMPARE(memoTexts(*form_), expected);
        QCOMPARE(child<LineMemo>(form_.get(), memoNames[family])->lineCount(), 3);
    }

    void titles_are_written_in_label_order_and_fit_their_counts() {
        const std::array<QString, TForm5::kTitleCount> titles = {
            "Fz + Fr1 (3)",     "Fz - Fr1 (12)",   "Fz + Fr2 (0)",   "Fz - Fr2 (101)",
            "Fr1 * Fr2 (1020)", "Fr1 + Fr2 (7)",   "Fr1 - Fr2 (45)", "Fr2 - Fr1 (45)",
            "Fm + Fr1 (2)",     "Fm - Fr1 (3030)", "Fm + Fr2 (1)",   "Fm - Fr2 (10201)"};
        form_->setTitles(titles);
        for (int i = 0; i < TForm5::kTitleCount; ++i) {
            auto *label = child<QLabel>(form_.get(), QStringLiteral("Label%1").arg(i + 1));
            QCOMPARE(label->text(), titles[static_cast<std::size_t>(i)]);
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        }
    }

    void difference_title_follows_the_smaller_wheel_data() {
        QTest::addColumn<bool>("fr2First");
        QTest::newRow("wheel 2 smaller: Fr2 - Fr1") << true;
        QTest::newRow("wheel 1 smaller: Fr1 - Fr2") << false;
    }
    void difference_title_follows_the_smaller_wheel() {
        QFETCH(bool, fr2First);
        form_->show();
        form_->setDifferenceFr2First(!fr2First);
        form_->setDifferenceFr2First(fr2First);
        QCOMPARE(form_->Label8->isVisible(), fr2First);
        QCOMPARE(form_->Label7->isVisible(), !fr2First);
        const QStringList seen = seenTexts(form_.get());
        QVERIFY(seen.contains(fr2First ? "Fr2 - Fr1" : "Fr1 - Fr2"));
        QVERIFY(!seen.contains(fr2First ? "Fr1 - Fr2" : "Fr2 - Fr1"));
    }

    void closing_only_hides_and_keeps_the_contents_data() {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("Button1 Zakryt") << true;
        QTest::newRow("title-bar close") << false;
    }
    void closing_only_hides_and_keeps_the_contents() {
        QFETCH(bool, byButton);
        QPointer<TForm5> form = form_.get();
        fillSample(*form);
        form->setDifferenceFr2First(true);
        const QStringList lists = memoTexts(*form);
        const QStringList summary = editTexts(*form);
        form->bringUp(true);
        QVERIFY(QTest::qWaitForWindowExposed(form));

        if (byButton)
            QTest::mouseClick(form->Button1, Qt::LeftButton);
        else
            QVERIFY(form->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!form) {
            (void)form_.release();
            QFAIL("closing destroyed the window");
        }
        QVERIFY(!form->isVisible());
        form->bringUp(true);
        QCOMPARE(form->windowTitle(), "результаты пойска значения 1234");
        QCOMPARE(memoTexts(*form), lists);
        QCOMPARE(editTexts(*form), summary);
        QVERIFY(form->Label8->isVisible());
    }

    void closing_does_not_end_the_program() {
        form_->bringUp(true);
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QSignalSpy lastWindowClosed(qApp, &QGuiApplication::lastWindowClosed);
        // Only a running event loop reacts to the last window going away.
        QTimer::singleShot(0, form_.get(), [this] { form_->close(); });
        QTimer::singleShot(200, qApp, [] { QCoreApplication::exit(7); });
        QCOMPARE(QCoreApplication::exec(), 7);
        QVERIFY(!form_->isVisible());
        QCOMPARE(lastWindowClosed.count(), 0);
    }

    void bring_up_restores_a_minimised_window_only_when_asked_data() {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<bool>("staysMinimised");
        QTest::newRow("variants command restores") << true << false;
        QTest::newRow("search leaves it minimised") << false << true;
    }
    void bring_up_restores_a_minimised_window_only_when_asked() {
        QFETCH(bool, restore);
        QFETCH(bool, staysMinimised);
        form_->bringUp(true);
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        form_->showMinimized();
        QTRY_VERIFY(form_->windowState().testFlag(Qt::WindowMinimized));

        form_->bringUp(restore);
        QCoreApplication::processEvents();
        QVERIFY(form_->isVisible());
        QCOMPARE(form_->windowState().testFlag(Qt::WindowMinimized), staysMinimised);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void bring_up_shows_a_hidden_window_without_blocking() {
        form_->bringUp(false);
        QVERIFY(form_->isVisible());
        QVERIFY(!form_->isMinimized());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void keyboard_runs_from_the_button_through_the_lists_to_the_summary() {
        form_->bringUp(true);
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        QCOMPARE(QApplication::focusWidget(), form_->Button1);

        QStringList order{QApplication::focusWidget()->objectName()};
        for (int step = 0; step < 17; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, QStringList({"Button1", "Memo1", "Memo2", "Memo3", "Memo4", "Memo5",
                                     "Memo6", "Memo7", "Memo8", "Memo9", "Memo10", "Memo11",
                                     "Edit1", "Edit2", "Edit3", "Edit5", "Edit4", "Edit6"}));
        QVERIFY(memoTexts(*form_).join(QString()).isEmpty()); // no tab typed into a list
    }
};

QTEST_MAIN(VariantsWindowTest)
#include "tst_variants_window.moc"
