// The program with the worst-case search prepared, for timing the search
// through the X server (scripts/bench runs it under x_clock, which sends F2):
// the main window shows a calculated pair and the search boxes filled so that
// every one of the 112 211 candidates of the grid of step 0,5 up to 50
// matches, and waits with the focus in the entry field.
//   search_window_x count   lines as short as they get (Fr1 = Fm = 0,1)
//   search_window_x text    the same lines with 15-digit values
#include "ui/main/Unit1.h"
#include "ui/startup.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstring>
#include <memory>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const bool longValues = argc > 1 && std::strcmp(argv[1], "text") == 0;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    std::unique_ptr<TForm1> form(createWindows());
    // Z1 = Z2 = 1 keeps Fz = Fr1 = Fr2; Fm the same: every candidate of the
    // eleven families lies within 20 Hz of 5.
    const QString frequency =
        longValues ? QStringLiteral("0,0987654321098765") : QStringLiteral("0,1");
    form->Edit1->setText(QStringLiteral("1"));
    form->Edit2->setText(frequency);
    form->Edit3->setText(QStringLiteral("1"));
    form->Edit4->setText(frequency);
    form->SpeedButton1Click();
    form->SpeedButton26Click(); // harmonic step 0,5
    form->Edit55->setText(QStringLiteral("5"));
    form->Edit58->setText(QStringLiteral("20"));
    form->Edit60->setText(QStringLiteral("40000"));
    form->Edit61->setText(QStringLiteral("50"));
    form->show();
    form->Edit55->setFocus();
    return app.exec();
}
