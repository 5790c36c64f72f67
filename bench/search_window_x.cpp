// The program with a worst-case search prepared (worst_cases.h), for timing
// the search through the X server (scripts/bench runs it under x_clock, which
// sends F2): the main window shows the calculated pair and the search boxes
// filled as the user would, and waits with the focus in the entry field.
//   search_window_x count   the most lines, as short as they get
//   search_window_x text    as many lines, with 15-digit values
#include "ui/main/Unit1.h"
#include "ui/startup.h"
#include "worst_cases.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstring>
#include <memory>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const WorstCase &worst =
        argc > 1 && std::strcmp(argv[1], "text") == 0 ? kWorstByText : kWorstByCount;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    std::unique_ptr<TForm1> form(createWindows());
    const QString frequency = QString::fromLatin1(worst.frequencyText);
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
