// The secondary windows TForm4 (About), TForm6 (calculator notice) and
// TForm7 (confirmation before a new aggregate), and the JPEG decoding of the
// About picture.
#include "fixture.h"

#include "ui/dialogs/Unit4.h"
#include "ui/dialogs/Unit6.h"
#include "ui/dialogs/Unit7.h"
#include "ui/kit/jpeg_image.h"

#include <QBuffer>
#include <QFile>
#include <QGroupBox>
#include <QImageWriter>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

#include <memory>
#include <optional>

using namespace uitest;

namespace {

std::unique_ptr<QDialog> makeWindow(const QString &name, QWidget *parent = nullptr) {
    if (name == QLatin1String("TForm4"))
        return std::make_unique<TForm4>(parent);
    if (name == QLatin1String("TForm6"))
        return std::make_unique<TForm6>(parent);
    return std::make_unique<TForm7>(parent);
}

QByteArray aboutJpeg() {
    QFile file(QStringLiteral(":/about.jpg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray encoded(const QImage &image, const char *format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(100);
    return writer.write(image) ? bytes : QByteArray();
}

bool canWrite(const char *format) {
    return QImageWriter::supportedImageFormats().contains(format);
}

// The largest difference of one colour channel between two images of one size.
int largestDifference(const QImage &a, const QImage &b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int largest = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

QPoint offCentre(const QWidget *window) {
    return window->frameGeometry().center() - window->screen()->availableGeometry().center();
}

} // namespace

class SecondaryWindowsTest : public QObject {
    Q_OBJECT

    std::optional<UiFixture> fixture_;

private slots:
    void init() { fixture_.emplace(); }
    void cleanup() { fixture_.reset(); }

    void window_has_its_caption_size_and_a_frame_without_icons_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("fixedSize");
        QTest::newRow("About") << "TForm4"
                               << "О программе" << QSize(609, 338) << true;
        QTest::newRow("calculator notice") << "TForm6"
                                           << "ВНИМАНИЕ ! ! " << QSize(403, 73) << true;
        QTest::newRow("confirmation, sizeable") << "TForm7"
                                                << "Внимание!!!" << QSize(353, 147) << false;
    }
    void window_has_its_caption_size_and_a_frame_without_icons() {
        QFETCH(QString, window);
        QFETCH(QString, caption);
        QFETCH(QSize, size);
        QFETCH(bool, fixedSize);
        const auto form = makeWindow(window);

        QCOMPARE(form->objectName(), window);
        QCOMPARE(form->windowTitle(), caption);
        QCOMPARE(form->size(), size);
        // No system menu, hence no close box, and no minimise or maximise box.
        QCOMPARE(form->windowFlags(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        QVERIFY(!form->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(form->font().families().value(0), "MS Sans Serif");
        QCOMPARE(form->font().pixelSize(), 11);
        if (fixedSize) {
            QCOMPARE(form->minimumSize(), size);
            QCOMPARE(form->maximumSize(), size);
        } else {
            QCOMPARE(form->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
            QVERIFY(form->minimumSize().width() < size.width());
        }
    }

    void button_has_its_caption_font_and_place_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("bold");
        QTest::newRow("About close")
            << "TForm4"
            << "Button1"
            << "Закрыть" << QRect(491, 304, 118, 33) << "Times New Roman" << 19 << false;
        QTest::newRow("notice thanks")
            << "TForm6"
            << "Button1"
            << "СПАСИБО" << QRect(136, 48, 137, 22) << "MS Sans Serif" << 11 << false;
        QTest::newRow("confirmation continue")
            << "TForm7"
            << "Button1"
            << "Продолжить" << QRect(8, 88, 137, 25) << "Times New Roman" << 16 << true;
        QTest::newRow("confirmation cancel")
            << "TForm7"
            << "Button2"
            << "Отмена" << QRect(200, 88, 137, 25) << "Times New Roman" << 16 << true;
    }
    void button_has_its_caption_font_and_place() {
        QFETCH(QString, window);
        QFETCH(QString, button);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        QFETCH(QString, family);
        QFETCH(int, pixelSize);
        QFETCH(bool, bold);
        const auto form = makeWindow(window);
        auto *b = form->findChild<QPushButton *>(button);
        QVERIFY(b);

        QCOMPARE(b->parentWidget(), form.get());
        QCOMPARE(b->text(), text);
        QCOMPARE(b->geometry(), geometry);
        QCOMPARE(b->font().families().value(0), family);
        QCOMPARE(b->font().pixelSize(), pixelSize);
        QCOMPARE(b->font().bold(), bold);
        QVERIFY2(QFontMetrics(b->font()).horizontalAdvance(text) < geometry.width() - 8,
                 "the caption is clipped");
    }

    void warning_is_red_bold_text_that_fits_its_frame_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<QPoint>("position"); // null: centred in the frame
        QTest::newRow("calculator notice")
            << "TForm6" << QRect(3, 0, 398, 41) << "Label1" << kCalculatorMissingText
            << "MS Sans Serif" << 13 << QPoint();
        QTest::newRow("confirmation first line") << "TForm7" << QRect(1, 0, 344, 73) << "Label1"
                                                 << "исходные  данные"
                                                 << "Times New Roman" << 19 << QPoint(89, 12);
        QTest::newRow("confirmation second line") << "TForm7" << QRect(1, 0, 344, 73) << "Label2"
                                                  << "по зубчатым парам будут удалены"
                                                  << "Times New Roman" << 19 << QPoint(24, 38);
    }
    void warning_is_red_bold_text_that_fits_its_frame() {
        QFETCH(QString, window);
        QFETCH(QRect, frame);
        QFETCH(QString, label);
        QFETCH(QString, text);
        QFETCH(QString, family);
        QFETCH(int, pixelSize);
        QFETCH(QPoint, position);
        const auto form = makeWindow(window);
        auto *box = form->findChild<QGroupBox *>("GroupBox1");
        QVERIFY(box);
        auto *l = box->findChild<QLabel *>(label, Qt::FindDirectChildrenOnly);
        QVERIFY(l);

        QCOMPARE(box->parentWidget(), form.get());
        QCOMPARE(box->geometry(), frame);
        QVERIFY(box->title().isEmpty());
        QCOMPARE(l->text(), text);
        QCOMPARE(l->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(l->font().families().value(0), family);
        QCOMPARE(l->font().pixelSize(), pixelSize);
        QVERIFY(l->font().bold());
        if (position.isNull())
            QVERIFY(l->alignment() & Qt::AlignHCenter);
        else
            QCOMPARE(l->pos(), position);
        QVERIFY2(box->rect().contains(l->geometry()), "the text sticks out of its frame");
        const QFontMetrics metrics(l->font());
        QVERIFY2(metrics.horizontalAdvance(text) <= l->contentsRect().width(),
                 "the text is clipped");
        QVERIFY(metrics.height() <= l->contentsRect().height());
    }

    void only_the_buttons_are_tab_stops_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("tabStops");
        QTest::newRow("About") << "TForm4" << QStringList{"Button1"};
        QTest::newRow("calculator notice") << "TForm6" << QStringList{"Button1"};
        QTest::newRow("confirmation") << "TForm7" << QStringList{"Button1", "Button2"};
    }
    void only_the_buttons_are_tab_stops() {
        QFETCH(QString, window);
        QFETCH(QStringList, tabStops);
        const auto form = makeWindow(window);
        QStringList found;
        for (QWidget *child : form->findChildren<QWidget *>())
            if (child->focusPolicy() & Qt::TabFocus)
                found << child->objectName();
        QCOMPARE(found, tabStops);
    }

    void about_memo_is_read_only_lime_bold_serif_on_maroon() {
        TForm4 about;
        QPlainTextEdit *memo = about.Memo1;
        QCOMPARE(memo->objectName(), "Memo1");
        QCOMPARE(memo->geometry(), QRect(0, 0, 489, 337));
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->palette().color(QPalette::Text), QColor(0, 255, 0));
        QCOMPARE(memo->palette().color(QPalette::Base), QColor(128, 0, 0));
        QCOMPARE(memo->font().families().value(0), "Times New Roman");
        QCOMPARE(memo->font().pixelSize(), 16);
        QVERIFY(memo->font().bold());
        const QString text = memo->toPlainText();
        QVERIFY(text.contains("Частоты зубчатых передач"));
        QVERIFY(text.contains(QRegularExpression("Версия от \\d+ \\S+ \\d{4} г\\.")));
        QVERIFY(text.contains("распространяется бесплатно"));
    }

    void about_memo_centres_every_line_and_shows_it_whole() {
        TForm4 about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QPlainTextEdit *memo = about.Memo1;
        const int middle = memo->viewport()->width() / 2;
        int lines = 0;
        for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
            if (block.text().isEmpty())
                continue;
            ++lines;
            QCOMPARE(block.layout()->lineCount(), 1); // no line is wrapped
            QTextCursor cursor(block);
            const int left = memo->cursorRect(cursor).left();
            cursor.movePosition(QTextCursor::EndOfBlock);
            const int right = memo->cursorRect(cursor).left();
            QVERIFY2(std::abs((left + right) / 2 - middle) <= 3,
                     qPrintable(QStringLiteral("off centre: ") + block.text()));
        }
        QVERIFY(lines >= 3);
        QCOMPARE(memo->verticalScrollBar()->maximum(), 0);
        QTextCursor end(memo->document());
        end.movePosition(QTextCursor::End);
        QVERIFY2(memo->cursorRect(end).bottom() < memo->viewport()->height(),
                 "the last line is cut off");
    }

    void about_picture_is_a_colour_portrait_decoded_from_jpeg() {
        TForm4 about;
        const QImage picture = about.picture();
        QVERIFY(!picture.isNull());
        QVERIFY(picture.height() > picture.width());
        QVERIFY(!picture.allGray());
        const QImage byQt = QImage::fromData(aboutJpeg(), "JPEG");
        if (byQt.isNull())
            QSKIP("no JPEG plugin in Qt to compare with");
        QCOMPARE(picture.size(), byQt.size());
        QVERIFY(largestDifference(picture, byQt) <= 4);
    }

    void about_picture_fits_its_box_keeping_proportions() {
        TForm4 about;
        about.show();
        const QImage picture = about.picture();
        QVERIFY(!picture.isNull());
        QCOMPARE(about.Image1->geometry(), QRect(491, 0, 118, 161));
        QCOMPARE(about.Image1->alignment(), Qt::AlignCenter);
        const QSize shown = about.Image1->pixmap().size();
        const QSize box = about.Image1->size();
        QVERIFY2(shown.width() <= box.width() && shown.height() <= box.height(),
                 "the picture overflows its box");
        QVERIFY2(shown.width() == box.width() || shown.height() == box.height(),
                 "the picture does not fill its box");
        const double expectedHeight = double(shown.width()) * picture.height() / picture.width();
        QVERIFY2(std::abs(shown.height() - expectedHeight) <= 1.0, "the proportions changed");
    }

    void about_window_comes_up_once_in_front_without_blocking() {
        QWidget other;
        other.resize(200, 100);
        TForm4 about;
        about.bringUp();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QVERIFY(!about.isModal());
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY2(offCentre(&about).manhattanLength() <= 2, "not centred on the desktop");

        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        about.move(20, 30);
        const QPoint placed = about.pos();
        about.bringUp();
        about.bringUp();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QCOMPARE(about.pos(), placed); // brought to the front, not shown anew
        int shown = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            shown += w->isVisible() && w->objectName() == QLatin1String("TForm4");
        QCOMPARE(shown, 1);
    }

    void about_button_and_escape_close_the_window() {
        TForm4 about;
        about.bringUp();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::keyClick(about.Button1, Qt::Key_Escape);
        QVERIFY(about.isHidden());
        about.bringUp();
        QVERIFY(about.isVisible());
        about.Button1->click();
        QVERIFY(about.isHidden());
        about.bringUp();
        QVERIFY(about.isVisible());
    }

    void calculator_notice_is_shown_modally_and_closed_by_its_button() {
        QWidget parent;
        parent.setGeometry(0, 0, 120, 80);
        parent.show();
        TForm6 notice(&parent);
        QPoint offset;
        const auto seen = closeModalsDuring([&] { notice.exec(); },
                                            [&](QWidget *modal) {
                                                offset = offCentre(modal);
                                                pressButton("Button1")(modal);
                                            });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].objectName, "TForm6");
        QCOMPARE(seen[0].title, "ВНИМАНИЕ ! ! ");
        QCOMPARE(seen[0].texts, QStringList{kCalculatorMissingText});
        QCOMPARE(seen[0].focus, "Button1");
        QVERIFY2(!seen[0].closedByFallback, "the button left the notice open");
        QVERIFY(notice.isHidden());
        QVERIFY2(offset.manhattanLength() <= 2, "not centred on the desktop");
    }

    void calculator_notice_answers_keys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Return presses the button") << int(Qt::Key_Return) << true;
        QTest::newRow("Space presses the button") << int(Qt::Key_Space) << true;
        QTest::newRow("Escape is ignored") << int(Qt::Key_Escape) << false;
    }
    void calculator_notice_answers_keys() {
        QFETCH(int, key);
        QFETCH(bool, closes);
        TForm6 notice;
        const auto seen = closeModalsDuring([&] { notice.exec(); }, pressKey(Qt::Key(key)));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].closedByFallback, !closes);
    }

    void confirmation_stands_at_its_place_not_centred_data() {
        QTest::addColumn<bool>("withParent");
        QTest::newRow("without parent") << false;
        QTest::newRow("over the main window") << true;
    }
    void confirmation_stands_at_its_place_not_centred() {
        QFETCH(bool, withParent);
        QWidget parent;
        parent.setGeometry(500, 400, 300, 200);
        if (withParent)
            parent.show();
        TForm7 confirm(withParent ? &parent : nullptr);
        for (int showing = 1; showing <= 2; ++showing) {
            QRect frame;
            const auto seen = closeModalsDuring([&] { confirm.exec(); },
                                                [&](QWidget *modal) {
                                                    frame = modal->frameGeometry();
                                                    modal->close();
                                                });
            QCOMPARE(seen.size(), 1);
            QCOMPARE(frame, QRect(365, 209, 353, 147));
        }
    }

    void confirmation_closed_without_an_answer_is_cancelled_data() {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("Escape") << true;
        QTest::newRow("closed by the window manager") << false;
    }
    void confirmation_closed_without_an_answer_is_cancelled() {
        QFETCH(bool, byEscape);
        TForm7 confirm;
        confirm.setResult(QDialog::Accepted);
        int result = -1;
        const auto seen =
            closeModalsDuring([&] { result = confirm.exec(); },
                              byEscape ? pressKey(Qt::Key_Escape)
                                       : Responder([](QWidget *modal) { modal->close(); }));
        QCOMPARE(seen.size(), 1);
        QVERIFY2(!seen[0].closedByFallback, "the window stayed open");
        QCOMPARE(result, int(QDialog::Rejected));
        QVERIFY(confirm.isHidden());
    }

    void decoder_gives_a_null_image_for_damaged_bytes_data() {
        QTest::addColumn<QByteArray>("data");
        const QByteArray jpeg = aboutJpeg();
        QVERIFY(jpeg.size() > 1000);
        QByteArray noHeight = jpeg;
        const qsizetype frame = noHeight.indexOf(QByteArray("\xFF\xC0", 2));
        QVERIFY(frame > 0);
        noHeight[frame + 5] = 0; // the height in the frame header
        noHeight[frame + 6] = 0;

        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("Частоты зубчатых передач");
        QTest::newRow("start marker only") << jpeg.left(2);
        QTest::newRow("header only") << jpeg.left(frame + 40);
        QTest::newRow("cut in half") << jpeg.left(jpeg.size() / 2);
        QTest::newRow("zero height") << noHeight;
        if (canWrite("png"))
            QTest::newRow("PNG") << encoded(QImage(8, 8, QImage::Format_RGB32), "png");
    }
    void decoder_gives_a_null_image_for_damaged_bytes() {
        QFETCH(QByteArray, data);
        QVERIFY(jpeg::decode(data).isNull());
    }

    void decoder_reads_what_an_encoder_wrote_data() {
        QTest::addColumn<QImage>("original");
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<QList<QRect>>("solid"); // away from edges that colour subsampling blurs
        QImage colour(40, 24, QImage::Format_RGB32);
        colour.fill(QColor(200, 40, 10));
        for (int x = 0; x < 16; ++x)
            for (int y = 0; y < 16; ++y)
                colour.setPixelColor(x, y, QColor(20, 60, 220));
        QImage grey(16, 40, QImage::Format_Grayscale8);
        grey.fill(60);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                grey.setPixel(x, y, 230);
        QTest::newRow("colour, channels in order")
            << colour << QImage::Format_RGB888
            << QList<QRect>{QRect(0, 0, 12, 12), QRect(24, 0, 16, 24)};
        QTest::newRow("grey stays grey")
            << grey << QImage::Format_Grayscale8 << QList<QRect>{grey.rect()};
    }
    void decoder_reads_what_an_encoder_wrote() {
        QFETCH(QImage, original);
        QFETCH(QImage::Format, format);
        QFETCH(QList<QRect>, solid);
        if (!canWrite("jpeg"))
            QSKIP("no JPEG writer in Qt");
        const QImage decoded = jpeg::decode(encoded(original, "jpeg"));
        QCOMPARE(decoded.size(), original.size());
        QCOMPARE(decoded.format(), format);
        for (const QRect &part : solid)
            QVERIFY2(largestDifference(decoded.copy(part), original.copy(part)) <= 8,
                     qPrintable(QStringLiteral("colours differ in %1,%2 %3x%4")
                                    .arg(part.x())
                                    .arg(part.y())
                                    .arg(part.width())
                                    .arg(part.height())));
    }
};

QTEST_MAIN(SecondaryWindowsTest)
#include "tst_secondary_windows.moc"
