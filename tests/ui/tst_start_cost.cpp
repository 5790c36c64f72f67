// What the start costs beyond the windows themselves: the first paint of the
// main window reads no image through Qt's image-format plugins (loading them
// all, with the SVG library, cost about 2 ms and a mebibyte) and
// starts no threads for Qt's raster engine, and the program's style, which
// draws the group boxes' frames for that, draws them exactly as Fusion does.
#include "fixture.h"
#include "ui/main/Unit1.h"
#include "ui/startup.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleFactory>
#include <QtTest>

#include <memory>

class StartCostTest : public QObject {
    Q_OBJECT

private slots:
    // First in this process: nothing before it has read an image.
    void first_paint_loads_no_image_plugin_and_starts_no_thread() {
        uitest::UiFixture fixture;
        std::unique_ptr<TForm1> main(createWindows());
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        main->grab(); // every child painted
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        QVERIFY2(!mapped.contains("/imageformats/"), "an image-format plugin is loaded");
        QVERIFY2(!mapped.contains("libQt6Svg"), "the SVG library is loaded");
        // The variants window's summary is measured when it is first shown.
        const auto *variants = main->findChild<QWidget *>(QStringLiteral("TForm5"));
        QVERIFY(variants && variants->isHidden());
        for (const QLabel *caption :
             variants->findChildren<QLabel *>(QRegularExpression(QStringLiteral("^Label1[3-8]$"))))
            QVERIFY2(caption->width() == 0, qPrintable(caption->objectName()));
        // On a screen of twice the density the edits' frames, as Fusion
        // draws them, are tall enough for the pool as well; the start that
        // is measured is on a screen of normal density.
        if (main->devicePixelRatioF() > 1)
            return;
        const QDir tasks(QStringLiteral("/proc/self/task"));
        for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile name(tasks.filePath(task + QStringLiteral("/comm")));
            QVERIFY(name.open(QIODevice::ReadOnly));
            QVERIFY2(!name.readAll().startsWith("Thread (pooled)"), "a pool thread is running");
        }
    }

    void group_box_frames_are_drawn_as_fusion_draws_them_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("checkable");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<QRect>("repainted"); // null: the whole box
        const QSize region(353, 350);
        QTest::newRow("titled, as a region") << "Результат" << false << region << 11 << QRect();
        QTest::newRow("untitled, as a modulation row")
            << "" << false << QSize(225, 36) << 11 << QRect();
        QTest::newRow("titled, large font") << "Fz" << false << QSize(120, 80) << 19 << QRect();
        QTest::newRow("checkable, untitled") << "" << true << QSize(100, 60) << 11 << QRect();
        QTest::newRow("smaller than the frame picture")
            << "" << false << QSize(10, 8) << 11 << QRect();
        QTest::newRow("flatter than its title") << "Fz" << false << QSize(40, 6) << 11 << QRect();
        QTest::newRow("an edit inside repainted")
            << "Результат" << false << region << 11 << QRect(20, 200, 57, 21);
        QTest::newRow("a strip across two bands repainted")
            << "Результат" << false << region << 11 << QRect(0, 170, 353, 20);
        QTest::newRow("the bottom edge repainted")
            << "Результат" << false << region << 11 << QRect(100, 340, 40, 10);
    }
    void group_box_frames_are_drawn_as_fusion_draws_them() {
        QFETCH(QString, title);
        QFETCH(bool, checkable);
        QFETCH(QSize, size);
        QFETCH(int, pixelSize);
        QFETCH(QRect, repainted);
        uitest::UiFixture fixture;
        delete createWindows(); // the program's style, as at the start
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        QImage pictures[2];
        for (int i = 0; i < 2; ++i) {
            QGroupBox box(title);
            if (i == 1)
                box.setStyle(fusion.get());
            QFont font = box.font();
            font.setPixelSize(pixelSize);
            font.setBold(true);
            box.setFont(font);
            box.setCheckable(checkable);
            box.resize(size);
            if (repainted.isNull()) {
                pictures[i] = box.grab().toImage();
                continue;
            }
            // As when an edit in the group changes: only that part is painted.
            const qreal ratio = box.devicePixelRatioF();
            pictures[i] = QImage(size * ratio, QImage::Format_ARGB32_Premultiplied);
            pictures[i].setDevicePixelRatio(ratio);
            pictures[i].fill(Qt::magenta);
            box.render(&pictures[i], QPoint(), QRegion(repainted));
        }
        QVERIFY(QApplication::style() != fusion.get());
        QCOMPARE(pictures[0], pictures[1]);
    }
};

QTEST_MAIN(StartCostTest)
#include "tst_start_cost.moc"
