// Where each window comes up the first time under a window manager that
// frames it. The offscreen platform draws no frame, so a stand-in tells the
// windows the frame a window manager would give them (a thin one like
// Openbox's, a thick one like xfwm4's); the first showing must already
// stand where the frame belongs, not one showing later.
#include "fixture.h"
#include "ui/dialogs/Unit2.h"
#include "ui/dialogs/Unit3.h"
#include "ui/dialogs/Unit4.h"
#include "ui/dialogs/Unit5.h"
#include "ui/dialogs/Unit6.h"
#include "ui/dialogs/Unit7.h"
#include "ui/kit/window_frame.h"
#include "ui/main/Unit1.h"
#include "ui/startup.h"

#include <QScreen>
#include <QtTest>

#include <cmath>
#include <memory>
#include <optional>

using namespace uitest;

Q_DECLARE_METATYPE(QMargins)

namespace {

// The stand-in window manager for as long as it lives.
class FramedBy {
public:
    explicit FramedBy(const QMargins &margins) {
        windowFrame::setMarginsSource([margins](QWidget *) { return margins; });
    }
    ~FramedBy() { windowFrame::setMarginsSource({}); }
    FramedBy(const FramedBy &) = delete;
    FramedBy &operator=(const FramedBy &) = delete;
};

std::unique_ptr<QWidget> makeWindow(const QString &name) {
    if (name == QLatin1String("TForm2"))
        return std::make_unique<TForm2>();
    if (name == QLatin1String("TForm3"))
        return std::make_unique<TForm3>();
    if (name == QLatin1String("TForm4"))
        return std::make_unique<TForm4>();
    if (name == QLatin1String("TForm5"))
        return std::make_unique<TForm5>();
    if (name == QLatin1String("TForm6"))
        return std::make_unique<TForm6>();
    return std::make_unique<TForm7>();
}

// Shows the window the way the program does and returns its rectangle as
// it stood while up: modal windows by exec(), the others by show().
QRect firstShowing(QWidget *window) {
    QRect client;
    if (auto *dialog = qobject_cast<QDialog *>(window);
        dialog && window->objectName() != "TForm4") {
        const auto seen = closeModalsDuring([&] { dialog->exec(); },
                                            [&](QWidget *modal) {
                                                client = modal->geometry();
                                                modal->close();
                                            });
        if (seen.size() != 1)
            return {};
        return client;
    }
    window->show();
    client = window->geometry();
    window->hide();
    return client;
}

void addFrames() {
    QTest::addColumn<QMargins>("margins");
}

} // namespace

class WindowFrameTest : public QObject {
    Q_OBJECT

    std::optional<UiFixture> fixture_;

private slots:
    void init() { fixture_.emplace(); }
    void cleanup() { fixture_.reset(); }

    void first_showing_centres_the_frame_data() {
        QTest::addColumn<QString>("window");
        addFrames();
        const std::pair<const char *, QMargins> frames[] = {{"thin frame", QMargins(1, 20, 1, 1)},
                                                            {"thick frame", QMargins(5, 29, 5, 5)}};
        for (const char *window : {"TForm1", "TForm2", "TForm3", "TForm4", "TForm5", "TForm6"})
            for (const auto &[frame, margins] : frames)
                QTest::addRow("%s, %s", window, frame) << window << margins;
    }
    void first_showing_centres_the_frame() {
        QFETCH(QString, window);
        QFETCH(QMargins, margins);
        FramedBy windowManager(margins);
        QRect client;
        if (window == QLatin1String("TForm1")) {
            std::unique_ptr<TForm1> main(createWindows());
            main->show();
            client = main->geometry();
        } else {
            const auto form = makeWindow(window);
            client = firstShowing(form.get());
        }
        QVERIFY(client.isValid());
        const QRectF outer = QRectF(client).marginsAdded(QMarginsF(margins));
        const QRectF desktop = QGuiApplication::primaryScreen()->availableGeometry();
        // Whole pixels cannot centre an odd difference better than half a pixel.
        const QPointF offset = outer.center() - desktop.center();
        QVERIFY2(std::abs(offset.x()) <= 0.5 && std::abs(offset.y()) <= 0.5,
                 qPrintable(QStringLiteral("the frame stands %1, %2 off the centre")
                                .arg(offset.x())
                                .arg(offset.y())));
    }

    void confirmation_frame_has_its_size_and_place_the_first_time_data() {
        addFrames();
        QTest::newRow("thin frame, deeper at the bottom") << QMargins(1, 20, 1, 5);
        QTest::newRow("thick frame") << QMargins(5, 29, 5, 5);
    }
    void confirmation_frame_has_its_size_and_place_the_first_time() {
        QFETCH(QMargins, margins);
        FramedBy windowManager(margins);
        TForm7 confirm;
        const QRect client = firstShowing(&confirm);
        QCOMPARE(client.marginsAdded(margins), QRect(365, 209, 353, 147));
    }
};

QTEST_MAIN(WindowFrameTest)
#include "tst_window_frame.moc"
