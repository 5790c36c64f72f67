// The calculation's handlers on the main window: "ВЫЧИСЛИТЬ", the
// smaller-wheel mode and button, and the precision items.
#include "ui/main/Unit1.h"

#include "calc/arith_fault.h"
#include "calc/calculate.h"
#include "ui/dialogs/Unit2.h"
#include "ui/dialogs/Unit3.h"
#include "ui/dialogs/Unit5.h"
#include "ui/kit/plain_text.h"
#include "ui/kit/widget_kit.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolButton>

void TForm1::SpeedButton1Click() {
    noteChange();
    // An empty Fm counts as 0, and the edit keeps that 0 even if the run fails.
    const QString fm = calc::fmTextBeforeCalculation(Edit4->text());
    if (fm != Edit4->text())
        Edit4->setText(fm);

    std::array<QString, calc::kInputCount> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = inputEdits[i]->text();
    const calc::CalcOutcome outcome = calc::Calculate(pair, wheel, texts, PrecisionFactor);
    showSmallerWheelState();
    if (windows.form5)
        windows.form5->setDifferenceFr2First(wheel.variantsFr2First);

    if (outcome.display)
        for (std::size_t i = 0; i < displayEdits.size(); ++i)
            kit::showResult(displayEdits[i], (*outcome.display)[i]);

    switch (outcome.result) {
    case calc::CalcResult::InputNotice:
        showInputNotice();
        return;
    case calc::CalcResult::SmallerWheelNotice:
        if (windows.form2)
            windows.form2->exec();
        return;
    case calc::CalcResult::Fault:
        kit::showMessage(this, QMessageBox::Critical, windowTitle(),
                         calc::faultMessage(*outcome.fault));
        return;
    case calc::CalcResult::Success:
        break;
    }

    for (const calc::EntryWrite &w : calc::fmRowResets(Edit4->text()))
        (w.result ? resultEditOf : inputEditOf)[static_cast<std::size_t>(w.entry)]->setText(w.text);
    // Pair 9 is the last one: once slot 8 holds a pair, "Далее >" stays as it is.
    aggregate::calculationSucceeded(Aggregate);
    showNavigation();
    Edit55->setFocus();
    entry::calculationSucceeded(keypad);
    showMarks();
}

void TForm1::showInputNotice() {
    if (windows.form3)
        windows.form3->exec();
}

void TForm1::showSmallerWheelState() {
    Edit5->setText(wheel.smallerWheel);
    Label34->setVisible(!wheel.mainRowFr2First);
    Label35->setVisible(!wheel.mainRowFr2First);
    Label36->setVisible(wheel.mainRowFr2First);
    Label37->setVisible(wheel.mainRowFr2First);
    const bool automatic = calc::isAutomatic(wheel);
    Label51->setVisible(automatic);
    SpeedButton2->setVisible(!automatic);
    N7->setText(calc::modeItemCaption(wheel));
}

void TForm1::N7Click() {
    calc::toggleSmallerWheelMode(wheel);
    showSmallerWheelState();
}

void TForm1::SpeedButton2Click() {
    calc::pressSmallerWheelButton(wheel);
    showSmallerWheelState();
}

void TForm1::setPrecision(QAction *marked) {
    PrecisionFactor = marked->data().toInt();
    noteChange();
    for (QAction *a : precisionItems->actions())
        a->setChecked(a == marked);
}

void TForm1::N0001Click() {
    setPrecision(N0001);
}
void TForm1::N00001Click() {
    setPrecision(N00001);
}
void TForm1::N000001Click() {
    setPrecision(N000001);
}
void TForm1::N0000001Click() {
    setPrecision(N0000001);
}
void TForm1::N32Click() {
    setPrecision(N32);
}
