// The menu "Агрегат": the train window, the machine file, export and copy.
#include "ui/machine/machine_menu.h"

#include "settings/safe_write.h"
#include "ui/kit/menu_rows.h"
#include "ui/kit/plain_text.h"
#include "ui/machine/train_window.h"
#include "ui/main/Unit1.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {
const QString kFileFilter = QStringLiteral("Файлы агрегата (*.json);;Все файлы (*)");
const QString kCsvFilter = QStringLiteral("Таблицы CSV (*.csv);;Все файлы (*)");
} // namespace

MachineController::MachineController(TForm1 *f) : QObject(f), form(f) {
    setObjectName("MachineController");
    buildMenu();
    doc.savedBytes = machine::machineFileBytes(state());
    // The unsaved mark follows typing in the input fields at once.
    for (QLineEdit *e : {form->Edit1, form->Edit2, form->Edit3, form->Edit4})
        connect(e, &QLineEdit::textChanged, this, &MachineController::showMark);
    // The table's numbers follow the precision setting.
    for (QAction *a : {form->N0001, form->N00001, form->N000001, form->N0000001, form->N32})
        connect(a, &QAction::triggered, this, &MachineController::pairsChanged);
    form->installEventFilter(this);
}

void MachineController::buildMenu() {
    using Row = menus::Row<MachineController>;
    using menus::Item, menus::Separator;
    static constexpr Row rows[] = {
        {0, Item, &MachineController::tableAction, "machineTable", "Сводная таблица", Qt::Key_F9},
        {0, Item, &MachineController::searchAction, "machineSearch", "Поиск по агрегату",
         Qt::Key_F7},
        {0, Separator},
        {0, Item, &MachineController::openAction, "machineOpen", "Открыть…", Qt::CTRL | Qt::Key_O},
        {0, Item, &MachineController::saveAction, "machineSave", "Сохранить", Qt::CTRL | Qt::Key_S},
        {0, Item, &MachineController::saveAsAction, "machineSaveAs", "Сохранить как…",
         Qt::CTRL | Qt::SHIFT | Qt::Key_S},
        {0, Separator},
        {0, Item, &MachineController::exportAction, "machineExport", "Экспорт таблицы…"},
        {0, Item, &MachineController::copyAction, "machineCopy", "Копировать таблицу"},
    };
    menu = new QMenu(QStringLiteral("Агрегат"), form->MainMenu1);
    menu->setObjectName("MachineMenu");
    menu->menuAction()->setObjectName("MachineMenuItem");
    form->MainMenu1->insertMenu(form->N13, menu);
    // Qt's own shortcuts run these items, in the main window and in the
    // windows that take the menu's actions.
    menus::build<MachineController>(this, menu, rows, Qt::WindowShortcut);
    connect(tableAction, &QAction::triggered, this, &MachineController::showTable);
    connect(openAction, &QAction::triggered, this, &MachineController::open);
    connect(saveAction, &QAction::triggered, this, &MachineController::save);
    connect(saveAsAction, &QAction::triggered, this, &MachineController::saveAs);
    connect(exportAction, &QAction::triggered, this, &MachineController::exportTable);
    connect(copyAction, &QAction::triggered, this, &MachineController::copyTable);
}

TrainWindow *MachineController::trainWindow() {
    if (window)
        return window;
    window = new TrainWindow(form);
    // Beside the main window, not a reason for the program to go on without it.
    window->setAttribute(Qt::WA_QuitOnClose, false);
    // The keys of the menu work in the window as well.
    window->addActions(menu->actions());
    connect(window, &TrainWindow::documentEdited, this, [this] {
        // The tables do not depend on the name and notes: only the mark follows.
        doc.name = window->name();
        doc.notes = window->notes();
        showMark();
    });
    connect(window, &TrainWindow::unitChanged, this, &MachineController::takeWindowEdits);
    connect(window, &TrainWindow::referenceChanged, this, &MachineController::takeWindowEdits);
    connect(window, &TrainWindow::writeRequested, this, &MachineController::writeChain);
    window->showDocument(doc.name, doc.notes, doc.unit, doc.reference);
    refreshWindow();
    return window;
}

bool MachineController::eventFilter(QObject *watched, QEvent *event) {
    // The main window's close always goes ahead; the table goes with it.
    if (watched == form && event->type() == QEvent::Close && window)
        window->hide();
    return QObject::eventFilter(watched, event);
}

void MachineController::takeWindowEdits() {
    doc.name = window->name();
    doc.notes = window->notes();
    doc.unit = window->unit();
    doc.reference = window->reference();
    refreshWindow();
}

void MachineController::pairsChanged() {
    if (window && window->isVisible())
        refreshWindow();
    else
        showMark();
}

void MachineController::aggregateReset() {
    doc.name.clear();
    doc.notes.clear();
    doc.reference.text.clear();
    doc.path.clear();
    doc.diskStamp = {};
    doc.savedBytes = machine::machineFileBytes(state());
    if (window)
        window->showDocument(doc.name, doc.notes, doc.unit, doc.reference);
    pairsChanged();
}

machine::TrainSource MachineController::source() const {
    machine::TrainSource s;
    s.store = form->Aggregate.PairStore;
    s.currentPair = form->Aggregate.CurrentPair;
    s.shown = {form->Edit1->text(), form->Edit2->text(), form->Edit3->text(), form->Edit4->text()};
    const auto &captured = form->pair.inputTexts;
    s.shownCalculated = machine::fieldsCalculated(
        form->pair.pairCalculated(),
        {captured[calc::InZ1], captured[calc::InFr1], captured[calc::InZ2], captured[calc::InFm]},
        s.shown);
    s.precisionFactor = form->PrecisionFactor;
    return s;
}

std::optional<machine::ReferenceSpeed> MachineController::typedReference() const {
    if (doc.reference.text.isEmpty())
        return std::nullopt;
    return doc.reference;
}

machine::Train MachineController::train() const {
    const machine::TrainSource s = source();
    const machine::ChainPairs chain = machine::chainPairs(s);
    if (const auto reference = typedReference()) {
        const machine::ChainRewrite r =
            machine::followSpeed(chain.pairs, *reference, s.precisionFactor);
        if (r.error.isEmpty())
            return machine::buildTrain(r.pairs, chain.lastInFields, s.precisionFactor);
    }
    return machine::buildTrain(chain.pairs, chain.lastInFields, s.precisionFactor);
}

machine::TrainTables MachineController::tables() const {
    return machine::trainTables(train(), doc.unit);
}

machine::MachineState MachineController::state() const {
    const machine::TrainSource s = source();
    return machine::captureState(doc.name, doc.notes, s.store, s.currentPair, s.shown,
                                 typedReference());
}

bool MachineController::modified() const {
    return machine::machineFileBytes(state()) != doc.savedBytes;
}

void MachineController::showMark() {
    if (window)
        window->showFile(doc.path, modified());
}

QString MachineController::status(const machine::ChainRewrite &rewrite,
                                  const machine::Train &stored) const {
    if (stored.pairs.empty())
        return QStringLiteral("Рассчитайте пару 1: таблица покажет её и каждую следующую пару, "
                              "сохранённую кнопкой «Далее >».");
    const auto reference = typedReference();
    if (!reference)
        return QStringLiteral("Показана цепь, как она хранится в парах. Задайте скорость любого "
                              "вала, чтобы получить частоты от неё.");
    const QString speed = QStringLiteral("вала %1 (%2 %3)")
                              .arg(reference->shaft)
                              .arg(reference->text, machine::speedUnitName(reference->unit));
    if (!rewrite.error.isEmpty())
        return QStringLiteral("Скорость %1 не учтена: %2. Показана цепь, как она хранится в "
                              "парах.")
            .arg(speed, rewrite.error);
    std::vector<aggregate::GearPair> storedPairs;
    for (const machine::TrainPair &p : stored.pairs)
        storedPairs.push_back(p.texts);
    if (storedPairs == rewrite.pairs)
        return QStringLiteral("Цепь в парах совпадает со скоростью %1.").arg(speed);
    return QStringLiteral("Показана цепь от скорости %1. В парах пока другие Fr1: кнопка "
                          "«Записать цепь в пары» перенесёт эти.")
        .arg(speed);
}

void MachineController::refreshWindow() {
    if (!window)
        return;
    const machine::TrainSource s = source();
    const machine::ChainPairs chain = machine::chainPairs(s);
    const machine::Train stored =
        machine::buildTrain(chain.pairs, chain.lastInFields, s.precisionFactor);
    machine::ChainRewrite rewrite;
    if (const auto reference = typedReference())
        rewrite = machine::followSpeed(chain.pairs, *reference, s.precisionFactor);
    const bool follows = typedReference() && rewrite.error.isEmpty();
    const machine::Train shown =
        follows ? machine::buildTrain(rewrite.pairs, chain.lastInFields, s.precisionFactor)
                : stored;
    window->showTables(machine::trainTables(shown, doc.unit), status(rewrite, stored), follows);
    showMark();
}

void MachineController::showTable() {
    TrainWindow *w = trainWindow();
    refreshWindow();
    w->show();
    w->raise();
    w->activateWindow();
}

QWidget *MachineController::dialogParent() const {
    if (window && window->isActiveWindow())
        return window;
    return form;
}

QString MachineController::chooseFile(QFileDialog::AcceptMode mode, const QString &title,
                                      const QString &filter, const QString &suffix,
                                      const QString &suggestion) const {
    const QString folder =
        doc.path.isEmpty() ? QDir::currentPath() : QFileInfo(doc.path).absolutePath();
    QFileDialog dialog(dialogParent(), title, folder, filter);
    dialog.setObjectName("machineFileDialog");
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    if (!suggestion.isEmpty())
        dialog.selectFile(suggestion);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

namespace {
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

bool MachineController::askToDropChanges() const {
    return confirm(dialogParent(), "machineConfirmOpen", QStringLiteral("Открытие файла агрегата"),
                   QStringLiteral("В текущем агрегате есть несохранённые изменения. Открыть "
                                  "другой файл и потерять их?"),
                   QStringLiteral("Открыть"), "openButton");
}

bool MachineController::askToReplaceChangedFile(const QString &path) const {
    return confirm(dialogParent(), "machineConfirmReplace",
                   QStringLiteral("Сохранение файла агрегата"),
                   QStringLiteral("Файл «%1» изменён на диске после того, как агрегат был открыт "
                                  "или сохранён (другой программой или другим окном). Заменить "
                                  "его и потерять те изменения?")
                       .arg(QDir::toNativeSeparators(path)),
                   QStringLiteral("Заменить"), "replaceButton");
}

bool MachineController::writeOrExplain(const QString &path, const QByteArray &bytes,
                                       const QString &title, bool *chooseAnother) {
    *chooseAnother = false;
    const settings::WriteOutcome outcome = settings::writeFile(path, bytes);
    if (outcome.ok())
        return true;
    const QString text = settings::writeFailureText(path, outcome);
    if (!outcome.folderRefused) {
        kit::showMessage(dialogParent(), QMessageBox::Critical, title, text);
        return false;
    }
    *chooseAnother = confirm(dialogParent(), "machineFolderRefused", title, text,
                             QStringLiteral("Сохранить как…"), "saveAsButton");
    return false;
}

bool MachineController::open() {
    if (modified() && !askToDropChanges())
        return false;
    const QString path = chooseFile(QFileDialog::AcceptOpen, QStringLiteral("Открыть агрегат"),
                                    kFileFilter, QStringLiteral("json"), QString());
    return !path.isEmpty() && openFile(path);
}

bool MachineController::openFile(const QString &chosen) {
    // Opened through a link, the file is the one the link leads to: a save
    // replaces that file, and the title names it.
    const QString path = machine::resolvedFilePath(chosen);
    const machine::MachineFileRead read = machine::readMachineFile(path);
    if (!read.state) {
        kit::showMessage(dialogParent(), QMessageBox::Critical,
                         QStringLiteral("Открытие файла агрегата"), read.error);
        return false;
    }
    doc.path = path;
    doc.diskStamp = read.stamp;
    doc.savedBytes = machine::machineFileBytes(*read.state);
    applyState(*read.state);
    return true;
}

void MachineController::applyState(const machine::MachineState &s) {
    doc.name = s.name;
    doc.notes = s.notes;
    doc.reference = s.reference.value_or(machine::ReferenceSpeed{});
    if (window)
        window->showDocument(doc.name, doc.notes, doc.unit, doc.reference);
    form->Aggregate = machine::restoredAggregate(s);
    form->pair.clearCalculated();
    form->loadPairFields(s.inputs);
    form->showAggregate();
    // The pair shown is calculated as a jump to it would be; a newest pair
    // still being entered is left as "Далее >" left it.
    const bool stored = form->Aggregate.PairStore.occupied(s.currentPair);
    if (stored || (!s.inputs.z1.isEmpty() && !s.inputs.z2.isEmpty()))
        form->SpeedButton1Click();
    if (stored)
        form->pair.clearCalculated();
    pairsChanged();
}

bool MachineController::save() {
    return doc.path.isEmpty() ? saveAs() : saveTo(doc.path);
}

bool MachineController::saveAs() {
    // The machine's name, cleaned of what a file dialog or another system
    // reads specially, unless the machine has a file already.
    const QString suggestion = !doc.path.isEmpty()
                                   ? doc.path
                                   : machine::suggestedFileName(doc.name, QStringLiteral("json"));
    const QString path = chooseFile(QFileDialog::AcceptSave, QStringLiteral("Сохранить агрегат"),
                                    kFileFilter, QStringLiteral("json"), suggestion);
    return !path.isEmpty() && saveTo(machine::resolvedFilePath(path));
}

bool MachineController::saveTo(const QString &path) {
    // Another program (or window) has changed the file since it was opened
    // or saved here: its change is not replaced without a question.
    if (path == doc.path && doc.diskStamp.exists) {
        const settings::FileStamp now = settings::stampFile(path, machine::kMachineFileLimit);
        if (now.exists && now != doc.diskStamp && !askToReplaceChangedFile(path))
            return false;
    }
    const QByteArray bytes = machine::machineFileBytes(state());
    bool chooseAnother = false;
    if (!writeOrExplain(path, bytes, QStringLiteral("Сохранение файла агрегата"), &chooseAnother))
        return chooseAnother && saveAs();
    doc.path = path;
    doc.diskStamp = settings::stampOf(bytes);
    doc.savedBytes = bytes;
    showMark();
    return true;
}

bool MachineController::exportTable() {
    const QString base = doc.path.isEmpty()
                             ? machine::suggestedFileName(doc.name, QStringLiteral("csv"))
                             : QFileInfo(doc.path).completeBaseName() + QStringLiteral(".csv");
    const QString path = chooseFile(QFileDialog::AcceptSave, QStringLiteral("Экспорт таблицы"),
                                    kCsvFilter, QStringLiteral("csv"), base);
    return !path.isEmpty() && exportTo(machine::resolvedFilePath(path));
}

bool MachineController::exportTo(const QString &path) {
    bool chooseAnother = false;
    if (!writeOrExplain(path, machine::trainCsv(tables()), QStringLiteral("Экспорт таблицы"),
                        &chooseAnother))
        return chooseAnother && exportTable();
    return true;
}

void MachineController::copyTable() {
    QApplication::clipboard()->setText(machine::trainTabText(tables()));
}

bool MachineController::writeChain() {
    const machine::TrainSource s = source();
    const auto reference = typedReference();
    if (!reference)
        return false;
    const machine::ChainRewrite rewrite =
        machine::followSpeed(machine::chainPairs(s).pairs, *reference, s.precisionFactor);
    if (!rewrite.error.isEmpty()) {
        kit::showMessage(dialogParent(), QMessageBox::Warning, TrainWindow::baseTitle(),
                         rewrite.error);
        return false;
    }
    const machine::ChainWriteBack plan = machine::planWriteBack(s, rewrite);
    for (const auto &[k, texts] : plan.slotTexts)
        form->Aggregate.storeSlot(k, texts);
    if (plan.fields)
        form->loadPairFields(*plan.fields);
    form->showAggregate();
    if (plan.recalculate)
        form->SpeedButton1Click();
    if (plan.clearCalculated)
        form->pair.clearCalculated();
    pairsChanged();
    return true;
}
