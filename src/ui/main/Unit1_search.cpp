// The frequency search and its controls on the main window: the search
// itself, the manual mode with its coefficient buttons, the variants window,
// the harmonic step and the tolerance arrows.
#include "ui/main/Unit1.h"

#include "calc/arith_fault.h"
#include "calc/rows.h"
#include "search/grid.h"
#include "search/search_parameters.h"
#include "search/tolerance_ladder.h"
#include "ui/dialogs/Unit3.h"
#include "ui/dialogs/Unit5.h"
#include "ui/kit/plain_text.h"
#include "ui/kit/updown.h"
#include "ui/kit/widget_kit.h"
#include "ui/main/family_lines.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolButton>

#include <memory>

void TForm1::SpeedButton14Click() {
    QLineEdit *const boxes[] = {Edit55, Edit58, Edit59, Edit60, Edit61};
    search::ParameterTexts texts;
    for (int i = 0; i < search::kParameterCount; ++i)
        texts.texts[std::size_t(i)] = boxes[i]->text();
    const auto writeBoxes = [&](const std::vector<search::BoxText> &writes) {
        for (const search::BoxText &w : writes)
            boxes[static_cast<int>(w.box)]->setText(w.text);
    };

    const search::SearchPreparation prep = search::prepareSearch(
        texts, {Edit1->text(), Edit2->text(), Edit3->text(), Edit4->text()}, pair.inputTexts);
    writeBoxes(prep.defaults);
    setFreshEntry();
    if (prep.notice == search::SearchNotice::InputsChanged) {
        if (windows.form3) {
            windows.form3->GroupBox2->setVisible(true);
            windows.form3->exec();
        }
        return;
    }
    for (const calc::RowSpec &row : calc::kRows)
        resultEditOf[static_cast<std::size_t>(row.entry)]->clear();
    if (prep.notice == search::SearchNotice::BadInput) {
        showInputNotice();
        return;
    }
    if (windows.form5)
        windows.form5->startRun(Edit55->text(), Edit1->text(), Edit2->text(), Edit3->text(),
                                Edit4->text(), Edit16->text(), Edit6->text());
    writeBoxes(prep.limits);

    const auto walked = std::make_shared<const search::GridResult>(
        search::walkGrid(search::gridPair(pair), prep.parameters, PrecisionFactor));
    const search::GridResult &result = *walked;
    search::applyCandidates(pair.table, result);
    for (int f = 0; f < search::kFamilyCount; ++f) {
        const auto family = static_cast<search::Family>(f);
        const calc::RowSpec &row = search::rowOf(family);
        if (const std::optional<search::RowTexts> first = search::firstMatch(result, family)) {
            kit::showResult(resultEditOf[static_cast<std::size_t>(row.entry)], first->result);
            inputEditOf[static_cast<std::size_t>(row.k1)]->setText(first->k1);
            inputEditOf[static_cast<std::size_t>(row.k2)]->setText(first->k2);
        }
        if (windows.form5)
            windows.form5->setList(f, std::make_shared<FamilyLines>(walked, family));
    }
    if (result.fault) {
        kit::showMessage(this, QMessageBox::Critical, windowTitle(),
                         calc::faultMessage(*result.fault));
        return;
    }
    if (windows.form5) {
        windows.form5->setTitles(search::titleTexts(result));
        if (search::bringsUpVariants(result))
            windows.form5->bringUp(false);
    }
}

void TForm1::SpeedButton23Click() {
    searchControls.toggleMode();
    const bool toManual = !searchControls.automatic();
    SpeedButton23->setText(searchControls.modeCaption());
    SpeedButton24->setEnabled(!toManual);
    for (QWidget *w : std::initializer_list<QWidget *>{SpeedButton14, Edit58, SpeedButton38,
                                                       SpeedButton39, Label50})
        w->setVisible(!toManual);
    Edit55->setGeometry(160, Edit55->y(), toManual ? 149 : 100, Edit55->height());
    for (QToolButton *w : {SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton6})
        w->setVisible(toManual);
    for (QWidget *w :
         std::initializer_list<QWidget *>{UpDown4, Label52, Label49, SpeedButton26, Edit59, Edit61})
        w->setVisible(!toManual);
}

void TForm1::coefficientButton(int base) {
    constexpr calc::Entry kBases[] = {calc::Entry::Fz, calc::Entry::Fr1, calc::Entry::Fr2,
                                      calc::Entry::Fm};
    const QString text = Edit55->text();
    for (const calc::Entry target :
         search::coefficientTargets(kBases[base], wheel.smallerWheel == QLatin1String("1")))
        inputEditOf[static_cast<std::size_t>(target)]->setText(text);
    setFreshEntry();
    SpeedButton1Click();
}

void TForm1::SpeedButton24Click() {
    if (windows.form5)
        windows.form5->bringUp(true);
}

void TForm1::SpeedButton26Click() {
    searchControls.toggleStep();
    Edit59->setText(searchControls.stepText());
    SpeedButton26->setText(searchControls.stepCaption());
}

void TForm1::stepTolerance(bool up) {
    const std::optional<QString> stepped = search::StepTolerance(
        Edit58->text(), up ? search::ToleranceDirection::Up : search::ToleranceDirection::Down);
    if (!stepped) {
        showInputNotice();
        return;
    }
    Edit58->setText(*stepped);
}

void TForm1::SpeedButton38Click() {
    stepTolerance(true);
}
void TForm1::SpeedButton39Click() {
    stepTolerance(false);
}
