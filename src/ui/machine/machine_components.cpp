// The machine's stages beside the pairs and its bearings: the edits of the
// document, the dialogs that make them, and the user's bearing library.
#include "machine/components_file.h"
#include "settings/safe_write.h"
#include "ui/kit/plain_text.h"
#include "ui/machine/component_dialogs.h"
#include "ui/machine/machine_controller.h"
#include "ui/machine/train_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString libraryFile() {
    return machine::bearingLibraryPath(
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

bool validExtra(const machine::MachineDocument &d, int extraIndex) {
    return extraIndex >= 0 && extraIndex < static_cast<int>(d.extraStages.size());
}
} // namespace

int MachineController::pairCount() const {
    return static_cast<int>(train().pairs.size());
}

std::vector<machine::ChainEntry> MachineController::chain() const {
    return machine::chainOrder(pairCount(), doc.extraStages);
}

// --- the edits

bool MachineController::addStage(int afterShaft, const machine::ExtraStage &stage) {
    const int shafts = std::max(machine::shaftCount(pairCount(), doc.extraStages), 1);
    if (!machine::insertStage(doc, pairCount(), afterShaft > 0 ? afterShaft : shafts, stage))
        return false;
    documentChanged(true);
    return true;
}

bool MachineController::changeStage(int extraIndex, const machine::ExtraStage &stage) {
    if (!validExtra(doc, extraIndex))
        return false;
    machine::ExtraStage &at = doc.extraStages[std::size_t(extraIndex)];
    const int afterPairs = at.afterPairs;
    // A stage that stops being planetary takes its planets' bearings along.
    if (stage.kind != machine::StageKind::Planetary)
        std::erase_if(doc.bearings,
                      [&](const machine::MountedBearing &b) { return b.planetsOf == extraIndex; });
    at = stage;
    at.afterPairs = afterPairs;
    documentChanged(true);
    return true;
}

bool MachineController::removeStage(int extraIndex) {
    if (!machine::removeStage(doc, pairCount(), extraIndex))
        return false;
    documentChanged(true);
    return true;
}

bool MachineController::moveStage(int extraIndex, int direction) {
    if (!machine::moveStage(doc, pairCount(), extraIndex, direction))
        return false;
    documentChanged(true);
    return true;
}

bool MachineController::addBearing(const machine::MountedBearing &bearing) {
    if (static_cast<int>(doc.bearings.size()) >= machine::kBearingLimit)
        return false;
    doc.bearings.push_back(bearing);
    documentChanged(true);
    return true;
}

bool MachineController::changeBearing(int index, const machine::MountedBearing &bearing) {
    if (index < 0 || index >= static_cast<int>(doc.bearings.size()))
        return false;
    doc.bearings[std::size_t(index)] = bearing;
    documentChanged(true);
    return true;
}

bool MachineController::removeBearing(int index) {
    if (index < 0 || index >= static_cast<int>(doc.bearings.size()))
        return false;
    doc.bearings.erase(doc.bearings.begin() + index);
    documentChanged(true);
    return true;
}

// --- the dialogs

namespace {
// The dialog's place: after the shaft asked for, else after the last.
void choosePlace(StageDialog &dialog, int afterShaft) {
    if (dialog.placeBox && afterShaft > 0)
        if (const int i = dialog.placeBox->findData(afterShaft); i >= 0)
            dialog.placeBox->setCurrentIndex(i);
}
} // namespace

bool MachineController::roomForStage() const {
    if (static_cast<int>(doc.extraStages.size()) < machine::kExtraStageLimit)
        return true;
    kit::showMessage(dialogParent(), QMessageBox::Information, TrainWindow::baseTitle(),
                     QStringLiteral("В агрегате уже %1 ступеней кроме пар — больше не помещается.")
                         .arg(machine::kExtraStageLimit));
    return false;
}

void MachineController::newPlanetary(int afterShaft) {
    if (!roomForStage())
        return;
    // A common stage: sun driven, ring fixed, carrier out; equal spacing holds.
    const machine::PlanetaryStage start{20, 30, 80, 4, machine::Member::Ring, machine::Member::Sun};
    PlanetaryDialog dialog(dialogParent(), start,
                           std::max(machine::shaftCount(pairCount(), doc.extraStages), 1));
    choosePlace(dialog, afterShaft);
    if (dialog.exec() != QDialog::Accepted)
        return;
    machine::ExtraStage stage;
    stage.kind = machine::StageKind::Planetary;
    stage.planetary = dialog.stage();
    addStage(dialog.afterShaft(), stage);
}

void MachineController::newBelt(int afterShaft) {
    if (!roomForStage())
        return;
    BeltDialog dialog(dialogParent(), {},
                      std::max(machine::shaftCount(pairCount(), doc.extraStages), 1));
    choosePlace(dialog, afterShaft);
    if (dialog.exec() != QDialog::Accepted)
        return;
    machine::ExtraStage stage;
    stage.kind = machine::StageKind::Belt;
    stage.belt = dialog.belt();
    addStage(dialog.afterShaft(), stage);
}

void MachineController::editStage(int extraIndex) {
    if (!validExtra(doc, extraIndex))
        return;
    machine::ExtraStage stage = doc.extraStages[std::size_t(extraIndex)];
    if (stage.kind == machine::StageKind::Planetary) {
        PlanetaryDialog dialog(dialogParent(), stage.planetary, 0);
        if (dialog.exec() != QDialog::Accepted)
            return;
        stage.planetary = dialog.stage();
    } else {
        BeltDialog dialog(dialogParent(), stage.belt, 0);
        if (dialog.exec() != QDialog::Accepted)
            return;
        stage.belt = dialog.belt();
    }
    changeStage(extraIndex, stage);
}

std::vector<BearingPlace> MachineController::bearingPlaces() const {
    std::vector<BearingPlace> places;
    const machine::Train t = train();
    for (int s = 1; s <= t.shaftCount(); ++s) {
        QString text = QStringLiteral("вал %1").arg(s);
        if (!doc.shaftName(s).isEmpty())
            text += QStringLiteral(" «%1»").arg(doc.shaftName(s));
        places.push_back({text, s, -1});
    }
    for (const machine::TrainPlanetary &p : t.planetaries)
        places.push_back(
            {QStringLiteral("сателлиты планетарной %1").arg(p.number), 0, p.extraIndex});
    return places;
}

std::vector<machine::Bearing> MachineController::bearingLibrary(QString *problem) const {
    machine::BearingLibraryRead read = machine::readBearingLibrary(libraryFile());
    if (problem)
        *problem = read.error;
    return std::move(read.bearings);
}

bool MachineController::keepInLibrary(const machine::Bearing &bearing) {
    QString problem;
    std::vector<machine::Bearing> library = bearingLibrary(&problem);
    // An unreadable library is not overwritten: what it holds may be the
    // user's work.
    if (!problem.isEmpty()) {
        kit::showMessage(dialogParent(), QMessageBox::Warning, QStringLiteral("Подшипник"),
                         QStringLiteral("Подшипник не сохранён в библиотеке: %1").arg(problem));
        return false;
    }
    const QString file = libraryFile();
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QString error = settings::writeFileSafely(
        file, machine::bearingLibraryBytes(machine::withBearing(std::move(library), bearing)));
    if (!error.isEmpty()) {
        kit::showMessage(dialogParent(), QMessageBox::Warning, QStringLiteral("Подшипник"), error);
        return false;
    }
    return true;
}

bool MachineController::runBearingDialog(machine::MountedBearing &bearing) {
    QString problem;
    const std::vector<machine::Bearing> library = bearingLibrary(&problem);
    BearingDialog dialog(
        dialogParent(), bearing, bearingPlaces(), library,
        problem.isEmpty() ? QString()
                          : QStringLiteral("Библиотека подшипников не прочитана: %1").arg(problem));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    bearing = dialog.mounted();
    if (dialog.keepInLibrary())
        keepInLibrary(bearing.bearing);
    return true;
}

void MachineController::newBearing() {
    if (static_cast<int>(doc.bearings.size()) >= machine::kBearingLimit) {
        kit::showMessage(dialogParent(), QMessageBox::Information, TrainWindow::baseTitle(),
                         QStringLiteral("В агрегате уже %1 подшипников — больше не помещается.")
                             .arg(machine::kBearingLimit));
        return;
    }
    machine::MountedBearing bearing;
    bearing.bearing.geometry = {};
    if (runBearingDialog(bearing))
        addBearing(bearing);
}

void MachineController::editBearing(int index) {
    if (index < 0 || index >= static_cast<int>(doc.bearings.size()))
        return;
    machine::MountedBearing bearing = doc.bearings[std::size_t(index)];
    if (runBearingDialog(bearing))
        changeBearing(index, bearing);
}
