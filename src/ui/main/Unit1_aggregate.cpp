// Pair navigation and the new aggregate on the main window: the decisions
// come from the aggregate core, the handlers write the fields and run the
// calculation as a click of "ВЫЧИСЛИТЬ" would.
#include "ui/main/Unit1.h"

#include "ui/dialogs/Unit7.h"
#include "ui/kit/widget_kit.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

void TForm1::showNavigation() {
    Label45->setText(QString::number(Aggregate.CurrentPair));
    SpeedButton31->setEnabled(Aggregate.nextEnabled);
    SpeedButton40->setEnabled(Aggregate.nextEnabled);
    SpeedButton32->setEnabled(Aggregate.backEnabled);
    SpeedButton37->setEnabled(Aggregate.backEnabled);
    for (std::size_t i = 0; i < pairItems.size(); ++i)
        pairItems[i]->setVisible(Aggregate.itemVisible[i]);
}

void TForm1::loadPair(const aggregate::GearPair &p) {
    // Each changed field runs its change handler, as typing would.
    Edit1->setText(p.z1);
    Edit2->setText(p.fr1);
    Edit3->setText(p.z2);
    Edit4->setText(p.fm);
    for (QLineEdit *e : {Edit1, Edit2, Edit3, Edit4})
        e->setCursorPosition(0);
}

void TForm1::SpeedButton31Click() {
    noteChange();
    if (aggregate::nextPath(Aggregate) == aggregate::NextPath::Advance) {
        const aggregate::GearPair next = aggregate::advanceNext(Aggregate);
        loadPair(next);
        showNavigation();
        SpeedButton1Click();
        return;
    }
    // The new pair starts on the shaft of wheel 2 of this one, with Fr2 as shown.
    const QString fr2Shown = Edit16->text();
    const bool started = aggregate::createNext(Aggregate, shownPair());
    pair.clearCalculated();
    if (started)
        startPair(aggregate::nextPairStart(fr2Shown));
    showNavigation();
}

void TForm1::SpeedButton32Click() {
    const aggregate::GearPair previous =
        aggregate::back(Aggregate, shownPair(), pair.pairCalculated());
    loadPair(previous);
    showNavigation();
    SpeedButton1Click();
    pair.clearCalculated();
    noteChange();
}

void TForm1::N16Click() {
    aggregate::saveStep(Aggregate, shownPair(), pair.pairCalculated());
    pair.clearCalculated();
    showNavigation();
}

void TForm1::jumpToPair(int j) {
    if (j <= 8)
        N16->trigger();
    const aggregate::GearPair target = aggregate::jump(Aggregate, j);
    loadPair(target);
    showNavigation();
    SpeedButton1Click();
    pair.clearCalculated();
    noteChange();
}

void TForm1::SpeedButton33Click() {
    if (Aggregate.NewAggregateConfirmed == 0) {
        // The dialog's buttons do the work; its result is not needed here.
        if (windows.form7)
            windows.form7->exec();
        return;
    }
    aggregate::resetAggregate(Aggregate);
    startPair(aggregate::newAggregateStart());
    showNavigation();
    noteChange(true);
}

void TForm1::startPair(const aggregate::PairStart &start) {
    Edit1->setFocus();
    loadPair(start.texts);
    // The change rules of the fields have marked what changed; the start
    // decides the marks.
    for (const entry::Quantity q : entry::kQuantities)
        keypad.setMarked(q, start.marks[entry::KeypadState::index(q)]);
    showMarks();
}
