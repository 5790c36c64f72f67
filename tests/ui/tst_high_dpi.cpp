// The pictures on a dense screen. Run with QT_SCALE_FACTOR 1.5 and 2: the
// program-drawn pictures come in the screen's own pixels instead of being
// 16-pixel bitmaps blown up, and the About picture shows the detail its
// source has.
#include "main_window_fixture.h"
#include "ui/dialogs/Unit4.h"

#include <QLabel>
#include <QToolButton>
#include <QtTest>

#include <cmath>

using namespace uitest;

namespace {

// The same picture at 1× blown up to the dense size, smoothly or pixel by pixel.
bool isBlownUp(const QImage &dense, const QImage &plain) {
    for (Qt::TransformationMode mode : {Qt::FastTransformation, Qt::SmoothTransformation}) {
        const QImage blown = plain.scaled(dense.size(), Qt::IgnoreAspectRatio, mode)
                                 .convertToFormat(QImage::Format_ARGB32);
        if (blown == dense.convertToFormat(QImage::Format_ARGB32))
            return true;
    }
    return false;
}

} // namespace

class HighDpiTest : public QObject, protected MainWindowFixture {
    Q_OBJECT

    qreal ratio_ = 1;

private slots:
    void initTestCase() {
        ratio_ = qApp->devicePixelRatio();
        QVERIFY2(ratio_ > 1, "run with QT_SCALE_FACTOR above 1");
    }
    void init() { QVERIFY(startMainWindow(WaitFor::Exposed)); }
    void cleanup() { stopMainWindow(); }

    void drawn_pictures_come_in_screen_pixels_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("calculator") << "SpeedButton1";
        QTest::newRow("new aggregate") << "SpeedButton33";
        QTest::newRow("triangle up") << "SpeedButton38";
        QTest::newRow("triangle down") << "SpeedButton39";
        QTest::newRow("window icon") << "";
    }
    void drawn_pictures_come_in_screen_pixels() {
        QFETCH(QString, button);
        QIcon icon = form->windowIcon();
        QSize size(32, 32);
        if (!button.isEmpty()) {
            auto *b = form->findChild<QToolButton *>(button);
            QVERIFY(b);
            icon = b->icon();
            size = b->iconSize();
        }
        QCOMPARE(form->devicePixelRatioF(), ratio_);
        const QPixmap dense = icon.pixmap(size, ratio_);
        const QPixmap plain = icon.pixmap(size, 1.0);
        const QSize pixels(qRound(size.width() * ratio_), qRound(size.height() * ratio_));
        QCOMPARE(dense.size(), pixels);
        QVERIFY(qFuzzyCompare(dense.devicePixelRatio(), ratio_));
        QVERIFY2(!isBlownUp(dense.toImage(), plain.toImage()),
                 "the dense picture is the plain one enlarged");
    }

    void about_picture_has_the_detail_of_the_screen() {
        auto *about = form->findChild<TForm4 *>("TForm4");
        QVERIFY(about);
        about->bringUp();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        const QPixmap shown = about->Image1->pixmap();
        const QImage source = TForm4::picture();
        QVERIFY(!shown.isNull() && !source.isNull());
        // It fills its box as before, measured in the window's own units...
        const QSizeF box = shown.deviceIndependentSize();
        QVERIFY(std::abs(box.width() - 118) <= 1 || std::abs(box.height() - 161) <= 1);
        QVERIFY(box.width() <= 118.5 && box.height() <= 161.5);
        // ... with as many of the source's pixels as the screen can show.
        const int expected = std::min(source.width(), int(std::lround(box.width() * ratio_)));
        QVERIFY2(
            std::abs(shown.width() - expected) <= 1,
            qPrintable(
                QStringLiteral("%1 pixels wide, %2 expected").arg(shown.width()).arg(expected)));
    }
};

QTEST_MAIN(HighDpiTest)
#include "tst_high_dpi.moc"
