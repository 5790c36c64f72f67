// The windows under a dark desktop theme: the program's texts are coloured
// for light backgrounds (navy, maroon, red), so every window keeps its light
// palette whatever palette the theme gives the application, and every text
// stays readable against what lies behind it.
#include "fixture.h"
#include "ui/kit/widget_kit.h"
#include "ui/main/Unit1.h"
#include "ui/startup.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>
#include <QtTest>

#include <cmath>
#include <memory>
#include <optional>

using namespace uitest;

namespace {

// A dark theme as a desktop hands it to Qt: light texts on dark surfaces.
QPalette darkTheme(const QColor &surface) {
    QPalette p(QColor(230, 230, 230), surface);
    p.setColor(QPalette::Base, surface.darker(130));
    p.setColor(QPalette::AlternateBase, surface);
    p.setColor(QPalette::Text, QColor(240, 240, 240));
    p.setColor(QPalette::ButtonText, QColor(240, 240, 240));
    p.setColor(QPalette::ToolTipBase, surface);
    p.setColor(QPalette::ToolTipText, QColor(240, 240, 240));
    return p;
}

double luminance(const QColor &c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// The contrast ratio of two colours, 1 to 21.
double contrast(const QColor &a, const QColor &b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct Text {
    QString where;
    QColor ink;
    QColor ground;
};

// Every text a window shows, with the colours it is painted in. Disabled
// controls are greyed out on purpose and left out.
QList<Text> textsOf(QWidget *window) {
    QList<Text> texts;
    auto add = [&](QWidget *w, QPalette::ColorRole ink, QPalette::ColorRole ground) {
        const QPalette &p = w->palette();
        texts.append({window->objectName() + '/' + w->objectName(), p.color(QPalette::Active, ink),
                      p.color(QPalette::Active, ground)});
    };
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || !w->isEnabled() || w->isWindow())
            continue;
        if (auto *label = qobject_cast<QLabel *>(w); label && !label->text().trimmed().isEmpty())
            add(w, QPalette::WindowText, QPalette::Window);
        else if (auto *box = qobject_cast<QGroupBox *>(w); box && !box->title().trimmed().isEmpty())
            add(w, QPalette::WindowText, QPalette::Window);
        else if (auto *b = qobject_cast<QAbstractButton *>(w); b && !b->text().isEmpty())
            add(w, QPalette::ButtonText, QPalette::Button);
        else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractScrollArea *>(w))
            add(w, QPalette::Text, QPalette::Base);
    }
    return texts;
}

QList<QWidget *> allWindows(TForm1 *main) {
    QList<QWidget *> windows{main};
    for (const char *name : {"TForm2", "TForm3", "TForm4", "TForm5", "TForm6", "TForm7"})
        windows << main->findChild<QWidget *>(name);
    return windows;
}

} // namespace

class DarkDesktopTest : public QObject {
    Q_OBJECT

    std::optional<UiFixture> fixture_;
    std::unique_ptr<TForm1> main_;

private slots:
    // The desktop's theme: a dark palette and a style of its own.
    void initTestCase() {
        QApplication::setPalette(darkTheme(QColor(34, 32, 32)));
        QApplication::setStyle(QStringLiteral("Windows"));
    }

    void init() {
        fixture_.emplace();
        main_.reset(createWindows());
    }
    void cleanup() {
        main_.reset();
        fixture_.reset();
    }

    void every_text_reads_against_its_background_data() {
        QTest::addColumn<QString>("window");
        for (const char *name :
             {"TForm1", "TForm2", "TForm3", "TForm4", "TForm5", "TForm6", "TForm7"})
            QTest::newRow(name) << name;
    }
    void every_text_reads_against_its_background() {
        QFETCH(QString, window);
        QWidget *form =
            window == QLatin1String("TForm1") ? main_.get() : main_->findChild<QWidget *>(window);
        QVERIFY(form);
        const QList<Text> texts = textsOf(form);
        QVERIFY(texts.size() >= 2);
        for (const Text &t : texts)
            QVERIFY2(contrast(t.ink, t.ground) >= 3.0,
                     qPrintable(QStringLiteral("%1: %2 on %3, contrast %4 : 1")
                                    .arg(t.where, t.ink.name(), t.ground.name())
                                    .arg(contrast(t.ink, t.ground), 0, 'f', 1)));
    }

    void specified_colours_stand_on_the_light_surface() {
        const QColor lightSurface(239, 239, 239);
        for (QWidget *window : allWindows(main_.get()))
            QCOMPARE(window->palette().color(QPalette::Window), lightSurface);
        auto *notice = main_->findChild<QWidget *>("TForm3");
        auto *textA = notice->findChild<QLabel *>("Label1");
        QCOMPARE(textA->palette().color(QPalette::WindowText), kTextNavy);
        QCOMPARE(textA->palette().color(QPalette::Window), lightSurface);
        QCOMPARE(main_->Edit1->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(main_->Edit1->palette().color(QPalette::Text), QColor(Qt::black));
    }

    void theme_changed_while_running_leaves_the_windows_light() {
        QApplication::setPalette(darkTheme(QColor(20, 24, 40)));
        for (QWidget *window : allWindows(main_.get()))
            for (const Text &t : textsOf(window))
                QVERIFY2(contrast(t.ink, t.ground) >= 3.0, qPrintable(t.where));
        QApplication::setPalette(darkTheme(QColor(34, 32, 32)));
    }

    void windows_are_drawn_in_the_fusion_style() {
        QCOMPARE(kit::drawingStyleName(QApplication::style()), QStringLiteral("fusion"));
        for (QWidget *window : allWindows(main_.get())) {
            QCOMPARE(kit::drawingStyleName(window->style()), QStringLiteral("fusion"));
            // The lists draw their scroll bars through a style of their own.
            for (QScrollBar *bar : window->findChildren<QScrollBar *>())
                QVERIFY2(kit::drawingStyleName(bar->style()) == QStringLiteral("fusion"),
                         qPrintable(bar->parentWidget()->objectName()));
        }
    }

    void menus_and_hints_are_light() {
        QList<QMenu *> menus{main_->PopupMenu1};
        for (QAction *a : main_->MainMenu1->actions())
            menus << a->menu();
        std::unique_ptr<QMenu> standard(main_->Edit6->createStandardContextMenu());
        menus << standard.get();
        for (QMenu *menu : menus) {
            QVERIFY(menu);
            menu->ensurePolished(); // as before it is shown
            const QPalette p = menu->palette();
            QVERIFY2(contrast(p.color(QPalette::WindowText), p.color(QPalette::Window)) >= 4.5 &&
                         luminance(p.color(QPalette::Window)) > 0.5,
                     qPrintable(menu->objectName() + ' ' + menu->title() + ' ' +
                                p.color(QPalette::Window).name()));
        }
        QVERIFY(luminance(QToolTip::palette().color(QPalette::ToolTipBase)) > 0.5);
        QVERIFY(contrast(QToolTip::palette().color(QPalette::ToolTipText),
                         QToolTip::palette().color(QPalette::ToolTipBase)) >= 4.5);
    }
};

QTEST_MAIN(DarkDesktopTest)
#include "tst_dark_desktop.moc"
