// The machine's files: open, save, save as, the CSV export and the copy of
// the table, and the recovery file of unsaved work.
#include "ui/machine/machine_controller.h"

#include "settings/safe_write.h"
#include "ui/kit/plain_text.h"
#include "ui/machine/machine_search_window.h"
#include "ui/machine/train_window.h"
#include "ui/main/Unit1.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QStandardPaths>

namespace {
// The machine file's own type; files of the earlier ".json" open as well.
const QString kFileFilter = QStringLiteral("Файлы агрегата (*.gearfreq *.json);;Все файлы (*)");
const QString kMachineSuffix = QStringLiteral("gearfreq");
// The export's two conventions, in the order of machine::CsvConvention.

// A question with a button that goes ahead and "Отмена", which is the default.
bool confirm(QWidget *parent, const char *name, const QString &title, const QString &text,
             const QString &goAhead, const char *goAheadName) {
    const auto box = kit::messageBox(parent, QMessageBox::Question, title, text);
    box->setObjectName(QLatin1String(name));
    QPushButton *yes = box->addButton(goAhead, QMessageBox::AcceptRole);
    yes->setObjectName(QLatin1String(goAheadName));
    QPushButton *cancel = box->addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    cancel->setObjectName("cancelButton");
    box->setDefaultButton(cancel);
    box->exec();
    return box->clickedButton() == yes;
}
} // namespace

QWidget *MachineController::dialogParent() const {
    // The window the command came from, so that the focus goes back there.
    for (QWidget *w : {static_cast<QWidget *>(window), static_cast<QWidget *>(search)})
        if (w && w->isActiveWindow())
            return w;
    return form;
}

QString MachineController::chooseFile(QFileDialog::AcceptMode mode, const QString &title,
                                      const QString &filter, const QString &suffix,
                                      const QString &suggestion, int *filterIndex) const {
    const QString folder = path.isEmpty() ? QDir::currentPath() : QFileInfo(path).absolutePath();
    QFileDialog dialog(dialogParent(), title, folder, filter);
    dialog.setObjectName("machineFileDialog");
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    // The question before replacing a file is the program's own, in plain
    // text: Qt's would read a file name as markup.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = filter.split(QStringLiteral(";;"));
    if (filterIndex)
        dialog.selectNameFilter(filters.value(*filterIndex));
    if (!suggestion.isEmpty())
        dialog.selectFile(suggestion);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString chosen = dialog.selectedFiles().constFirst();
        if (filterIndex)
            *filterIndex = std::max<int>(0, filters.indexOf(dialog.selectedNameFilter()));
        if (mode == QFileDialog::AcceptOpen || !QFileInfo::exists(chosen) ||
            confirm(&dialog, "machineConfirmOverwrite", title,
                    QStringLiteral("Файл «%1» уже есть. Заменить его?")
                        .arg(QDir::toNativeSeparators(chosen)),
                    QStringLiteral("Заменить"), "replaceButton"))
            return chosen;
    }
    return {};
}

bool MachineController::askToDropChanges(const QString &title) const {
    return confirm(dialogParent(), "machineConfirmOpen", title,
                   QStringLiteral("В текущем агрегате есть несохранённые изменения. Открыть "
                                  "другой и потерять их?"),
                   QStringLiteral("Открыть"), "openButton");
}

bool MachineController::askToReplaceChangedFile(const QString &file) const {
    return confirm(dialogParent(), "machineConfirmReplace",
                   QStringLiteral("Сохранение файла агрегата"),
                   QStringLiteral("Файл «%1» изменён на диске после того, как агрегат был открыт "
                                  "или сохранён (другой программой или другим окном). Заменить "
                                  "его и потерять те изменения?")
                       .arg(QDir::toNativeSeparators(file)),
                   QStringLiteral("Заменить"), "replaceButton");
}

bool MachineController::writeOrExplain(const QString &file, const QByteArray &bytes,
                                       const QString &title, bool *chooseAnother) {
    *chooseAnother = false;
    const settings::WriteOutcome outcome = settings::writeFile(file, bytes);
    if (outcome.ok())
        return true;
    const QString text = settings::writeFailureText(file, outcome);
    if (!outcome.folderRefused) {
        kit::showMessage(dialogParent(), QMessageBox::Critical, title, text);
        return false;
    }
    *chooseAnother = confirm(dialogParent(), "machineFolderRefused", title, text,
                             QStringLiteral("Сохранить как…"), "saveAsButton");
    return false;
}

// --- the machine file

bool MachineController::open() {
    if (modified() && !askToDropChanges(QStringLiteral("Открытие файла агрегата")))
        return false;
    const QString chosen = chooseFile(QFileDialog::AcceptOpen, QStringLiteral("Открыть агрегат"),
                                      kFileFilter, kMachineSuffix, QString());
    return !chosen.isEmpty() && openFile(chosen);
}

bool MachineController::openFile(const QString &chosen) {
    // Opened through a link, the file is the one the link leads to: a save
    // replaces that file, and the title names it.
    const QString file = machine::resolvedFilePath(chosen);
    const machine::MachineFileRead read = machine::readMachineFile(file);
    if (!read.state) {
        kit::showMessage(dialogParent(), QMessageBox::Critical,
                         QStringLiteral("Открытие файла агрегата"), read.error);
        return false;
    }
    path = file;
    diskStamp = read.stamp;
    savedBytes = machine::machineFileBytes(*read.state);
    applyState(*read.state);
    rememberFile(file);
    openMeasurement();
    return true;
}

bool MachineController::openRecent(const QString &file) {
    if (modified() && !askToDropChanges(QStringLiteral("Открытие файла агрегата")))
        return false;
    if (openFile(file))
        return true;
    if (!QFileInfo::exists(file)) {
        preferences.recentFiles.removeAll(file);
        savePreferences();
        showRecentFiles();
    }
    return false;
}

void MachineController::applyState(const machine::MachineState &s) {
    doc = s.document;
    if (window)
        window->showDocument(doc);
    // The pair shown is calculated as a jump to it would be; a newest pair
    // still being entered is left as "Далее >" left it.
    const aggregate::AggregateState a = machine::restoredAggregate(s);
    const bool stored = a.PairStore.occupied(s.currentPair);
    form->replaceAggregate(a, s.inputs,
                           stored || (!s.inputs.z1.isEmpty() && !s.inputs.z2.isEmpty()), stored);
}

bool MachineController::save() {
    return path.isEmpty() ? saveAs() : saveTo(path);
}

bool MachineController::saveAs() {
    // The machine's name, cleaned of what a file dialog or another system
    // reads specially, unless the machine has a file already.
    const QString suggestion =
        !path.isEmpty() ? path : machine::suggestedFileName(doc.name, kMachineSuffix);
    const QString chosen = chooseFile(QFileDialog::AcceptSave, QStringLiteral("Сохранить агрегат"),
                                      kFileFilter, kMachineSuffix, suggestion);
    return !chosen.isEmpty() && saveTo(machine::resolvedFilePath(chosen));
}

bool MachineController::saveTo(const QString &file) {
    // Another program (or window) has changed the file since it was opened
    // or saved here: its change is not replaced without a question.
    if (file == path && diskStamp.exists) {
        const settings::FileStamp now = settings::stampFile(file, machine::kMachineFileLimit);
        if (now.exists && now != diskStamp && !askToReplaceChangedFile(file))
            return false;
    }
    // The measurement is kept relative to the folder the file goes to.
    const QString measurement = doc.measurement;
    if (!measurement.isEmpty())
        doc.measurement = QFileInfo(file).absoluteDir().relativeFilePath(measurementPath());
    const QByteArray bytes = machine::machineFileBytes(state());
    bool chooseAnother = false;
    if (!writeOrExplain(file, bytes, QStringLiteral("Сохранение файла агрегата"), &chooseAnother)) {
        doc.measurement = measurement;
        return chooseAnother && saveAs();
    }
    path = file;
    diskStamp = settings::stampOf(bytes);
    savedBytes = bytes;
    rememberFile(file);
    // The work is safe in its file: no recovery of it is needed any more.
    removeRecovery();
    showMark();
    return true;
}

bool MachineController::internationalCsv() const {
    return settings::internationalCsvFirst(preferences);
}

bool MachineController::exportTable() {
    const QString base = path.isEmpty()
                             ? machine::suggestedFileName(doc.name, QStringLiteral("csv"))
                             : QFileInfo(path).completeBaseName() + QStringLiteral(".csv");
    // The convention is chosen with the file, and remembered for the next.
    int convention = internationalCsv() ? 1 : 0;
    const QString chosen =
        chooseFile(QFileDialog::AcceptSave, QStringLiteral("Экспорт таблицы"),
                   machine::csvFilters(), QStringLiteral("csv"), base, &convention);
    if (chosen.isEmpty())
        return false;
    if (preferences.internationalCsv != (convention == 1)) { // also when never chosen
        preferences.internationalCsv = convention == 1;
        savePreferences();
    }
    return exportTo(machine::resolvedFilePath(chosen));
}

bool MachineController::exportTo(const QString &file) {
    const machine::CsvConvention convention = internationalCsv()
                                                  ? machine::CsvConvention::International
                                                  : machine::CsvConvention::Russian;
    bool chooseAnother = false;
    if (!writeOrExplain(file, machine::trainCsv(tables(), convention),
                        QStringLiteral("Экспорт таблицы"), &chooseAnother))
        return chooseAnother && exportTable();
    return true;
}

void MachineController::copyTable() {
    QApplication::clipboard()->setText(machine::trainTabText(tables()));
}

// --- the recovery of unsaved work

namespace {
QString dataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}
} // namespace

QString MachineController::recoveryFile() const {
    return machine::recoveryPath(dataFolder(), started, QCoreApplication::applicationPid());
}

// The newest recovery an earlier run left, if it can be read.
void MachineController::lookForRecovery() {
    offered.reset();
    offeredFile.clear();
    for (const QString &file : machine::leftRecoveryFiles(
             dataFolder(), QCoreApplication::applicationPid(), recoveryFile())) {
        const machine::RecoveryRead read = machine::readRecovery(file);
        if (read.recovery) {
            offered = read.recovery;
            offeredFile = file;
            break;
        }
    }
    showRecoveryOffer();
}

void MachineController::showRecoveryOffer() {
    recoverAction->setEnabled(offered.has_value());
    if (window)
        window->showRecovery(offered ? offered->savedAt : QDateTime(),
                             offered ? offered->state.document.name : QString());
}

bool MachineController::writeRecovery() {
    const QString file = recoveryFile();
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    const machine::Recovery r{state(), path, QDateTime::currentDateTimeUtc()};
    // A failure here has nobody to tell: the close goes ahead, and the
    // minute after tries again.
    if (!settings::writeFile(file, machine::recoveryBytes(r)).ok())
        return false;
    recoveryWritten = true;
    // What was taken in from an earlier run is in this run's file now.
    if (!takenFile.isEmpty()) {
        QFile::remove(takenFile);
        takenFile.clear();
    }
    return true;
}

void MachineController::removeRecovery() {
    if (recoveryWritten)
        QFile::remove(recoveryFile());
    recoveryWritten = false;
    if (!takenFile.isEmpty()) {
        QFile::remove(takenFile);
        takenFile.clear();
    }
}

bool MachineController::recover() {
    if (!offered)
        return false;
    if (modified() && !askToDropChanges(QStringLiteral("Восстановление агрегата")))
        return false;
    const machine::Recovery r = *offered;
    takenFile = offeredFile;
    offered.reset();
    offeredFile.clear();
    // The work belongs to the file it came from, as that file is now: the
    // title shows it unsaved until it is saved there (or elsewhere).
    path = r.file;
    diskStamp = r.file.isEmpty() ? settings::FileStamp{}
                                 : settings::stampFile(r.file, machine::kMachineFileLimit);
    const machine::MachineFileRead onDisk =
        r.file.isEmpty() ? machine::MachineFileRead{} : machine::readMachineFile(r.file);
    savedBytes = onDisk.state ? machine::machineFileBytes(*onDisk.state) : QByteArray();
    applyState(r.state);
    showRecoveryOffer();
    // Safe at once in this run's own file.
    writeRecovery();
    return true;
}

void MachineController::discardRecovery() {
    if (!offeredFile.isEmpty())
        QFile::remove(offeredFile);
    // An older one, if any, is offered next.
    lookForRecovery();
}
