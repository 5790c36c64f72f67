// The started main window that most ui tests drive, on top of fixture.h.
//
//   MainWindowFixture   a test class derives from it after QObject and holds, per test
//                       function, a UiFixture (`fixture`) and the windows made by
//                       createWindows() (`form`, the main window):
//                           class SomeTest : public QObject, protected MainWindowFixture {
//                               void init() { QVERIFY(startMainWindow()); }
//                               void cleanup() { stopMainWindow(); }
//                       startMainWindow() shows the main window and waits until it is
//                       active; WaitFor::Exposed waits only until it is on the screen.
//   enterPair           fills in a pair: Z1, Fr1, Z2 and Fm (Fm "0" unless given).
//   calculate           presses "ВЫЧИСЛИТЬ" and fails the test on any notice; with a
//                       pair, enters it first.
//   text, type          an edit of the main window read or set by its name.
//   machineController   the machine windows' controller that createWindows() made.
//
// A test whose windows start otherwise (several starts in one test, a stand-in window
// manager, never shown) keeps its own start-up and uses fixture.h alone.
#pragma once

#include "fixture.h"
#include "ui/machine/machine_controller.h"
#include "ui/main/Unit1.h"
#include "ui/startup.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <optional>

namespace uitest {

#ifdef GEARFREQ_TEST_SPECTRUM_MODULE
// The spectrum window's module of this build, for a test run by hand too
// (ctest names it in the environment).
inline const bool spectrumModuleOfThisBuild = [] {
    if (qEnvironmentVariableIsEmpty("GEARFREQ_SPECTRUM_MODULE"))
        qputenv("GEARFREQ_SPECTRUM_MODULE", GEARFREQ_TEST_SPECTRUM_MODULE);
    return true;
}();
#endif

inline QString text(TForm1 *form, const char *edit) {
    return form->findChild<QLineEdit *>(edit)->text();
}
inline void type(TForm1 *form, const char *edit, const QString &t) {
    form->findChild<QLineEdit *>(edit)->setText(t);
}

inline MachineController *machineController(TForm1 *form) {
    return form->findChild<MachineController *>();
}

enum class WaitFor { Active, Exposed };

class MainWindowFixture {
protected:
    // Destroyed in reverse order: the windows before the working directory and guard.
    std::optional<UiFixture> fixture;
    std::unique_ptr<TForm1> form;
    MachineController *machine = nullptr; // the main window's, once started with it

    // A fresh working directory first, since the windows read the settings file from it.
    [[nodiscard]] bool startMainWindow(WaitFor until = WaitFor::Active) {
        fixture.emplace();
        form.reset(createWindows());
        form->show();
        return until == WaitFor::Active ? QTest::qWaitForWindowActive(form.get())
                                        : QTest::qWaitForWindowExposed(form.get());
    }
    // The main window started, and its machine controller found.
    [[nodiscard]] bool startWithMachine() {
        if (!startMainWindow())
            return false;
        machine = machineController(form.get());
        return machine != nullptr;
    }
    void stopMainWindow() {
        machine = nullptr;
        form.reset();
        fixture.reset();
    }

    static void enterPair(TForm1 *window, const QString &z1, const QString &fr1, const QString &z2,
                          const QString &fm = QStringLiteral("0")) {
        window->Edit1->setText(z1);
        window->Edit2->setText(fr1);
        window->Edit3->setText(z2);
        window->Edit4->setText(fm);
    }
    void enterPair(const QString &z1, const QString &fr1, const QString &z2,
                   const QString &fm = QStringLiteral("0")) {
        enterPair(form.get(), z1, fr1, z2, fm);
    }

    void calculate() {
        const auto seen = closeModalsDuring([&] { form->SpeedButton1->click(); });
        QVERIFY2(seen.isEmpty(), describe(seen));
    }
    void calculate(const QString &z1, const QString &fr1, const QString &z2,
                   const QString &fm = QStringLiteral("0")) {
        enterPair(z1, fr1, z2, fm);
        calculate();
    }
};

} // namespace uitest
