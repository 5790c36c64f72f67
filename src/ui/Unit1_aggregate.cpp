// Pair navigation and the new aggregate on the main window: the decisions
// come from the aggregate core, the handlers write the fields and run the
// calculation as a click of "ВЫЧИСЛИТЬ" would.
#include "ui/Unit1.h"

#include "ui/Unit7.h"
#include "ui/widget_kit.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolButton>

void TForm1::showNavigation()
{
    const QString current = QString::number(Aggregate.CurrentPair);
    Label45->setText(current);
    Edit62->setText(current);
    SpeedButton31->setEnabled(Aggregate.nextEnabled);
    SpeedButton40->setEnabled(Aggregate.nextEnabled);
    SpeedButton32->setEnabled(Aggregate.backEnabled);
    SpeedButton37->setEnabled(Aggregate.backEnabled);
    for (std::size_t i = 0; i < pairItems.size(); ++i)
        pairItems[i]->setVisible(Aggregate.itemVisible[i]);
}

aggregate::GearPair TForm1::shownPair() const
{
    return {Edit1->text(), Edit2->text(), Edit3->text(), Edit4->text()};
}

void TForm1::loadPair(const aggregate::GearPair &p)
{
    // Each changed field runs its change handler, as typing would.
    Edit1->setText(p.z1);
    Edit2->setText(p.fr1);
    Edit3->setText(p.z2);
    Edit4->setText(p.fm);
    for (QLineEdit *e : {Edit1, Edit2, Edit3, Edit4})
        e->setCursorPosition(0);
}

void TForm1::SpeedButton31Click()
{
    const auto refresh = qScopeGuard([this] { pairsChanged(); });
    if (aggregate::nextPath(Aggregate) == aggregate::NextPath::Advance) {
        const aggregate::GearPair next = aggregate::advanceNext(Aggregate);
        loadPair(next);
        showNavigation();
        SpeedButton1Click();
        return;
    }
    // The new pair starts on the shaft of wheel 2 of this one, with Fr2 as shown.
    const QString fr2Shown = Edit16->text();
    if (aggregate::createNext(Aggregate, shownPair(), pair.pairCalculated)) {
        Edit1->clear();
        Edit2->setText(fr2Shown);
        Edit2->setCursorPosition(0);
        setMarked(1, true);
        setMarked(2, false);
        setMarked(0, false);
        Edit1->setFocus();
        Edit3->clear();
        Edit4->setText("0");
        setMarked(3, false);
    }
    showNavigation();
}

void TForm1::SpeedButton32Click()
{
    const aggregate::GearPair previous = aggregate::back(Aggregate, shownPair(), pair.pairCalculated);
    loadPair(previous);
    showNavigation();
    SpeedButton1Click();
    pair.pairCalculated = 0;
    pairsChanged();
}

void TForm1::N16Click()
{
    aggregate::saveStep(Aggregate, shownPair(), pair.pairCalculated);
    showNavigation();
}

void TForm1::jumpToPair(int j)
{
    if (j <= 8)
        N16->trigger();
    const aggregate::GearPair target = aggregate::jump(Aggregate, j);
    loadPair(target);
    showNavigation();
    SpeedButton1Click();
    pair.pairCalculated = 0;
    pairsChanged();
}

void TForm1::SpeedButton33Click()
{
    if (Aggregate.NewAggregateConfirmed == 0) {
        // The dialog's buttons do the work; its result is not needed here.
        if (windows.form7)
            windows.form7->exec();
        return;
    }
    Edit62->setText("1");
    Edit1->setFocus();
    Edit1->clear();
    Edit2->setText("0");
    Edit3->setText("0");
    Edit4->setText("0");
    aggregate::resetAggregate(Aggregate);
    showNavigation();
    for (int q = 0; q < 4; ++q)
        setMarked(q, false);
    pairsChanged(true);
}
