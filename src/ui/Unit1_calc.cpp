// The calculation's handlers on the main window: "ВЫЧИСЛИТЬ", the
// smaller-wheel mode and button, and the precision items.
#include "ui/Unit1.h"

#include "calc/arith_fault.h"
#include "calc/calculate.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/Unit5.h"
#include "ui/widget_kit.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScopeGuard>
#include <QToolButton>

void TForm1::SpeedButton1Click()
{
    const auto refresh = qScopeGuard([this] { pairsChanged(); });
    // An empty Fm counts as 0, and the edit keeps that 0 even if the run fails.
    if (Edit4->text().isEmpty())
        Edit4->setText("0");

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
        QMessageBox::critical(this, windowTitle(), calc::faultMessage(*outcome.fault));
        return;
    case calc::CalcResult::Success:
        break;
    }

    // Without an intermediate frequency its four rows are blanked; the table
    // keeps what was computed.
    if (Edit4->text() == QLatin1String("0")) {
        for (const calc::ModulationSpec &row : calc::kModulation) {
            if (!row.usesFm)
                continue;
            surface->findChild<QLineEdit *>(row.k1Edit)->setText("1");
            surface->findChild<QLineEdit *>(row.k2Edit)->setText("1");
            surface->findChild<QLineEdit *>(row.resultEdit)->clear();
        }
    }
    // Pair 9 is the last one: once slot 8 holds a pair, "Далее >" stays as it is.
    aggregate::calculationSucceeded(Aggregate);
    showNavigation();
    Edit55->setFocus();
    entry::calculationSucceeded(keypad);
    showMarks();
}

void TForm1::showInputNotice()
{
    if (windows.form3)
        windows.form3->exec();
}

void TForm1::showSmallerWheelState()
{
    Edit5->setText(wheel.smallerWheel);
    Edit63->setText(wheel.mode);
    Label34->setVisible(!wheel.mainRowFr2First);
    Label35->setVisible(!wheel.mainRowFr2First);
    Label36->setVisible(wheel.mainRowFr2First);
    Label37->setVisible(wheel.mainRowFr2First);
    const bool automatic = calc::isAutomatic(wheel);
    Label51->setVisible(automatic);
    SpeedButton2->setVisible(!automatic);
    N7->setText(calc::modeItemCaption(wheel));
}

void TForm1::N7Click()
{
    calc::toggleSmallerWheelMode(wheel);
    showSmallerWheelState();
}

void TForm1::SpeedButton2Click()
{
    calc::pressSmallerWheelButton(wheel);
    showSmallerWheelState();
}

void TForm1::setPrecision(std::int32_t factor, QAction *marked)
{
    PrecisionFactor = factor;
    for (QAction *a : {N0001, N00001, N000001, N0000001, N32})
        a->setChecked(a == marked);
}

void TForm1::N0001Click() { setPrecision(100, N0001); }
void TForm1::N00001Click() { setPrecision(1000, N00001); }
void TForm1::N000001Click() { setPrecision(10000, N000001); }
void TForm1::N0000001Click() { setPrecision(100000, N0000001); }
void TForm1::N32Click() { setPrecision(1, N32); }
