// The main window's API for the windows beyond the specified ones: what
// they read, the two ways they bring pairs in, and the one change signal,
// sent once per command however many steps the command took.
#include "ui/main/Unit1.h"

#include "calc/calculate.h"
#include "calc/number_text.h"
#include "calc/rows.h"
#include "ui/main/command_scope.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

void TForm1::noteChange(bool newAggregate) {
    changePending = true;
    newAggregatePending = newAggregatePending || newAggregate;
    if (commandDepth == 0)
        flushChange();
}

void TForm1::flushChange() {
    if (!changePending)
        return;
    const bool fresh = newAggregatePending;
    changePending = newAggregatePending = false;
    emit pairsChanged(fresh);
}

aggregate::GearPair TForm1::shownPair() const {
    return {Edit1->text(), Edit2->text(), Edit3->text(), Edit4->text()};
}

bool TForm1::shownPairCalculated() const {
    return calc::fieldsCalculated(pair,
                                  {Edit1->text(), Edit2->text(), Edit3->text(), Edit4->text()});
}

bool TForm1::bringPair(int j) {
    CommandScope scope(*this);
    const bool stored = j >= 1 && j <= aggregate::kPairCount && Aggregate.PairStore.occupied(j) &&
                        Aggregate.itemVisible[static_cast<std::size_t>(j - 1)];
    if (stored)
        jumpToPair(j); // what the pair item "j - пара" runs
    else if (j == Aggregate.CurrentPair)
        SpeedButton1Click(); // the newest pair, not stored yet: it is shown already
    else
        return false;
    renderState();
    return true;
}

bool TForm1::bringCombination(int j, calc::Entry row, double k1, double k2) {
    CommandScope scope(*this);
    if (!bringPair(j))
        return false;
    const calc::RowSpec &shape = calc::rowOf(row);
    inputEditOf[static_cast<std::size_t>(shape.k1)]->setText(calc::generalDecimal(k1));
    inputEditOf[static_cast<std::size_t>(shape.k2)]->setText(calc::generalDecimal(k2));
    SpeedButton1Click();
    renderState();
    return true;
}

void TForm1::replaceAggregate(const aggregate::AggregateState &state,
                              const std::optional<aggregate::GearPair> &fields, bool calculate,
                              bool clearCalculated) {
    CommandScope scope(*this);
    Aggregate = state;
    pair.clearCalculated();
    if (fields)
        loadPair(*fields);
    showNavigation();
    if (calculate)
        SpeedButton1Click();
    if (clearCalculated)
        pair.clearCalculated();
    noteChange();
    renderState();
}

void TForm1::addMenu(QMenu *menu) {
    MainMenu1->insertMenu(N13, menu);
}
