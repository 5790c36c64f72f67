// The main window's side of the machine-level capabilities: it installs the
// menu "Агрегат" and tells it when the pairs have changed.
#include "ui/main/Unit1.h"

#include "ui/machine/machine_menu.h"
#include "ui/machine/machine_search_window.h"

void TForm1::installMachineMenu() {
    machineMenu = new MachineController(this);
    new MachineSearchItem(this, machineMenu);
}

void TForm1::pairsChanged(bool newAggregate) {
    if (!machineMenu)
        return;
    if (newAggregate)
        machineMenu->aggregateReset();
    else
        machineMenu->pairsChanged();
}
