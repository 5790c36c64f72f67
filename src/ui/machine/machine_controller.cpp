// The machine document, its menu and its views; the file commands and the
// recovery are in machine_files.cpp.
#include "ui/machine/machine_controller.h"

#include "calc/input_text.h"
#include "calc/rows.h"
#include "ui/kit/accessible_windows.h"
#include "ui/kit/menu_rows.h"
#include "ui/kit/plain_text.h"
#include "ui/machine/machine_search_window.h"
#include "ui/machine/spectrum_loader.h"
#include "ui/machine/train_window.h"
#include "ui/main/Unit1.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStandardPaths>

namespace {

// The machine as the spectrum window sees it: the controller's document and
// train, and its commands.
class ControllerHost : public SpectrumHost {
public:
    explicit ControllerHost(MachineController *c) : controller(c) {}
    machine::Train train() const override { return controller->train(); }
    machine::MachineDocument document() const override { return controller->document(); }
    void setKnownSpeed(const machine::ReferenceSpeed &known) override {
        controller->setKnownSpeed(known);
    }
    void searchSpacing(double hertz) override { controller->searchSpacing(hertz); }
    void measurementOpened(const QString &path) override { controller->setMeasurement(path); }

private:
    MachineController *controller;
};

} // namespace

MachineController::MachineController(TForm1 *f) : QObject(f), form(f) {
    setObjectName("MachineController");
    buildMenu();
    savedBytes = machine::machineFileBytes(state());
    connect(form, &TForm1::pairsChanged, this, &MachineController::pairsChanged);
    form->installEventFilter(this);
    // Unsaved work goes to the recovery file every minute while there is any.
    recoveryTimer.setObjectName("recoveryTimer");
    recoveryTimer.setInterval(kRecoveryIntervalMs);
    connect(&recoveryTimer, &QTimer::timeout, this, &MachineController::writeRecovery);
    lookForRecovery();
}

void MachineController::buildMenu() {
    using Row = menus::Row<MachineController>;
    using menus::Item, menus::Separator, menus::Submenu, menus::Disabled;
    static constexpr Row rows[] = {
        {0, Item, &MachineController::tableAction, "machineTable", "Сводная &таблица", Qt::Key_F9},
        {0, Item, &MachineController::searchAction, "machineSearch", "&Поиск по агрегату",
         Qt::Key_F7},
        {0, Item, &MachineController::spectrumAction, "machineSpectrum", "Спект&р…", Qt::Key_F11},
        {0, Separator},
        {0, Item, &MachineController::openAction, "machineOpen", "&Открыть…", Qt::CTRL | Qt::Key_O},
        {0, Item, &MachineController::saveAction, "machineSave", "&Сохранить",
         Qt::CTRL | Qt::Key_S},
        {0, Item, &MachineController::saveAsAction, "machineSaveAs", "Сохранить &как…",
         Qt::CTRL | Qt::SHIFT | Qt::Key_S},
        {0, Submenu, &MachineController::recentMenuAction, "machineRecent", "Последние &файлы"},
        {0,
         Item,
         &MachineController::recoverAction,
         "machineRecover",
         "&Восстановить несохранённое",
         {},
         Disabled},
        {0, Separator},
        {0, Item, &MachineController::exportAction, "machineExport", "&Экспорт таблицы…"},
        {0, Item, &MachineController::copyAction, "machineCopy", "Копировать таб&лицу"},
    };
    menu = new QMenu(QStringLiteral("&Агрегат"), form->MainMenu1);
    menu->setObjectName("MachineMenu");
    menu->menuAction()->setObjectName("MachineMenuItem");
    form->addMenu(menu);
    // Qt's own shortcuts run these items, in the main window and in the
    // windows that take the menu's actions.
    menus::build<MachineController>(this, menu, rows, Qt::WindowShortcut);
    connect(tableAction, &QAction::triggered, this, &MachineController::showTable);
    connect(searchAction, &QAction::triggered, this, &MachineController::showSearch);
    connect(spectrumAction, &QAction::triggered, this, &MachineController::showSpectrum);
    connect(openAction, &QAction::triggered, this, &MachineController::open);
    connect(saveAction, &QAction::triggered, this, &MachineController::save);
    connect(saveAsAction, &QAction::triggered, this, &MachineController::saveAs);
    connect(recoverAction, &QAction::triggered, this, &MachineController::recover);
    connect(exportAction, &QAction::triggered, this, &MachineController::exportTable);
    connect(copyAction, &QAction::triggered, this, &MachineController::copyTable);
    preferences = settings::readPreferences(settings::preferencesPath(
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
    showRecentFiles();
}

void MachineController::showRecentFiles() {
    QMenu *recent = recentMenuAction->menu();
    recent->clear();
    int number = 0;
    for (const QString &file : preferences.recentFiles) {
        const QFileInfo info(file);
        // "&1 pump.gearfreq — /home/user/machines": the key, the name, the folder.
        QAction *item = recent->addAction(kit::plainTitle(
            QStringLiteral("&%1 %2 — %3")
                .arg(++number)
                .arg(info.fileName().replace(QLatin1Char('&'), QStringLiteral("&&")),
                     QDir::toNativeSeparators(info.absolutePath())
                         .replace(QLatin1Char('&'), QStringLiteral("&&")))));
        item->setObjectName(QStringLiteral("machineRecent%1").arg(number));
        item->setData(file);
        connect(item, &QAction::triggered, this, [this, file] { openRecent(file); });
    }
    recentMenuAction->setEnabled(!preferences.recentFiles.isEmpty());
}

void MachineController::rememberFile(const QString &file) {
    preferences.recentFiles = settings::withRecent(preferences.recentFiles, file);
    savePreferences();
    showRecentFiles();
}

void MachineController::savePreferences() {
    // Only a convenience: a folder that refuses it costs the list, nothing else.
    settings::writePreferences(settings::preferencesPath(QStandardPaths::writableLocation(
                                   QStandardPaths::AppConfigLocation)),
                               preferences);
}

TrainWindow *MachineController::trainWindow() {
    if (window)
        return window;
    kit::exposeAsWindow("TrainWindow");
    window = new TrainWindow(form);
    // Beside the main window, not a reason for the program to go on without it.
    window->setAttribute(Qt::WA_QuitOnClose, false);
    // The keys of the menu work in the window as well.
    window->addActions(menu->actions());
    connect(window, &TrainWindow::nameEdited, this, &MachineController::setName);
    connect(window, &TrainWindow::notesEdited, this, &MachineController::setNotes);
    connect(window, &TrainWindow::unitChosen, this, &MachineController::setUnit);
    connect(window, &TrainWindow::knownSpeedEdited, this, &MachineController::setKnownSpeed);
    connect(window, &TrainWindow::shaftNameEdited, this, &MachineController::setShaftName);
    connect(window, &TrainWindow::writeRequested, this, &MachineController::writeChain);
    connect(window, &TrainWindow::exportRequested, this, &MachineController::exportTable);
    connect(window, &TrainWindow::copyRequested, this, &MachineController::copyTable);
    connect(window, &TrainWindow::recoverRequested, this, &MachineController::recover);
    connect(window, &TrainWindow::discardRequested, this, &MachineController::discardRecovery);
    connect(window, &TrainWindow::planetaryRequested, this, &MachineController::newPlanetary);
    connect(window, &TrainWindow::beltRequested, this, &MachineController::newBelt);
    connect(window, &TrainWindow::stageEditRequested, this, &MachineController::editStage);
    connect(window, &TrainWindow::stageRemoveRequested, this, &MachineController::removeStage);
    connect(window, &TrainWindow::stageMoveRequested, this, &MachineController::moveStage);
    connect(window, &TrainWindow::bearingAddRequested, this, &MachineController::newBearing);
    connect(window, &TrainWindow::bearingEditRequested, this, &MachineController::editBearing);
    connect(window, &TrainWindow::bearingRemoveRequested, this, &MachineController::removeBearing);
    window->showDocument(doc);
    showRecoveryOffer();
    refreshWindow();
    return window;
}

MachineSearchWindow *MachineController::searchWindow() {
    if (search)
        return search;
    kit::exposeAsWindow("MachineSearchWindow");
    search = new MachineSearchWindow(this, form);
    search->setAttribute(Qt::WA_QuitOnClose, false);
    search->addActions(menu->actions());
    return search;
}

SpectrumView *MachineController::spectrumView() {
    if (spectrum)
        return spectrum;
    const SpectrumModule module = loadSpectrumModule();
    if (!module.factory) {
        kit::showMessage(dialogParent(), QMessageBox::Critical, QStringLiteral("Спектр"),
                         module.error);
        return nullptr;
    }
    spectrumHost = std::make_unique<ControllerHost>(this);
    spectrum = module.factory(spectrumHost.get(), form);
    QWidget *w = spectrum->widget();
    w->setAttribute(Qt::WA_QuitOnClose, false);
    w->addActions(menu->actions());
    openMeasurement();
    return spectrum;
}

void MachineController::setMeasurement(const QString &file) {
    const QString absolute = QFileInfo(file).absoluteFilePath();
    doc.measurement =
        path.isEmpty() ? absolute : QFileInfo(path).absoluteDir().relativeFilePath(absolute);
    showMark();
}

QString MachineController::measurementPath() const {
    if (doc.measurement.isEmpty() || QFileInfo(doc.measurement).isAbsolute() || path.isEmpty())
        return doc.measurement;
    return QDir::cleanPath(QFileInfo(path).absoluteDir().filePath(doc.measurement));
}

// The measurement the machine file refers to, into the spectrum window when
// it is up (a file that is gone is said so there, and the machine stays).
void MachineController::openMeasurement() {
    if (spectrum && !doc.measurement.isEmpty())
        spectrum->openFile(measurementPath());
}

void MachineController::showSpectrum() {
    SpectrumView *view = spectrumView();
    if (!view)
        return;
    QWidget *w = view->widget();
    w->show();
    w->raise();
    w->activateWindow();
}

void MachineController::searchSpacing(double hertz) {
    MachineSearchWindow *w = searchWindow();
    w->spacingMode->setChecked(true);
    w->unitBox->setCurrentIndex(w->unitBox->findData(int(machine::Unit::Hertz)));
    w->frequencyEdit->setText(machine::significantText(hertz, 7));
    showSearch();
    w->search();
}

bool MachineController::eventFilter(QObject *watched, QEvent *event) {
    // The main window's close always goes ahead; the machine windows go with
    // it, and unsaved work goes to the recovery file.
    if (watched == form && event->type() == QEvent::Close) {
        for (QWidget *w : {static_cast<QWidget *>(window), static_cast<QWidget *>(search),
                           spectrum ? spectrum->widget() : nullptr})
            if (w)
                w->hide();
        if (modified())
            writeRecovery();
        else
            removeRecovery();
    }
    return QObject::eventFilter(watched, event);
}

// --- the document

void MachineController::setName(const QString &name) {
    doc.name = calc::leftCharacters(name, machine::kNameLimit);
    documentChanged(false);
}

void MachineController::setNotes(const QString &notes) {
    doc.notes = calc::leftCharacters(notes, machine::kNotesLimit);
    documentChanged(false);
}

void MachineController::setUnit(const machine::UnitChoice &unit) {
    doc.unit = unit;
    documentChanged(true);
}

void MachineController::setKnownSpeed(const machine::ReferenceSpeed &known) {
    doc.known = known;
    doc.known.text = calc::capturedText(known.text);
    documentChanged(true);
}

void MachineController::setShaftName(int shaft, const QString &name) {
    if (shaft < 1 || shaft > machine::kShaftLimit)
        return;
    if (doc.shaftNames.size() < std::size_t(shaft))
        doc.shaftNames.resize(std::size_t(shaft));
    doc.shaftNames[std::size_t(shaft - 1)] =
        calc::leftCharacters(name.simplified(), machine::kShaftNameLimit);
    documentChanged(true);
}

void MachineController::documentChanged(bool tablesToo) {
    if (tablesToo && spectrum)
        spectrum->machineChanged();
    if (tablesToo && window && window->isVisible())
        refreshWindow();
    else
        showMark();
    if (tablesToo && search)
        search->machineChanged();
}

void MachineController::pairsChanged(bool newAggregate) {
    // A new aggregate starts a new machine: its file, name, notes, shaft
    // names and speed go with the old one; the unit of the tables stays.
    if (newAggregate) {
        const machine::UnitChoice unit = doc.unit;
        doc = {};
        doc.unit = unit;
        path.clear();
        diskStamp = {};
        savedBytes = machine::machineFileBytes(state());
        if (window)
            window->showDocument(doc);
    }
    documentChanged(true);
}

// --- what the windows show

machine::TrainSource MachineController::source() const {
    machine::TrainSource s;
    const aggregate::AggregateState &a = form->aggregateState();
    s.store = a.PairStore;
    s.currentPair = a.CurrentPair;
    s.shown = form->shownPair();
    s.shownCalculated = form->shownPairCalculated();
    s.precisionFactor = form->precisionFactor();
    return s;
}

machine::Train MachineController::train() const {
    const machine::TrainSource s = source();
    return machine::buildTrain(machine::chainPairs(s), s.precisionFactor, doc);
}

machine::TrainTables MachineController::tables() const {
    return machine::trainTables(train(), doc.unit, doc);
}

machine::MachineState MachineController::state() const {
    const machine::TrainSource s = source();
    return machine::captureState(doc, s.store, s.currentPair, s.shown);
}

bool MachineController::modified() const {
    return machine::machineFileBytes(state()) != savedBytes;
}

void MachineController::showMark() {
    const bool unsaved = modified();
    if (window)
        window->showFile(path, unsaved);
    // The recovery file is written while there is unsaved work.
    if (unsaved && !recoveryTimer.isActive())
        recoveryTimer.start();
    else if (!unsaved)
        recoveryTimer.stop();
}

QString MachineController::status(const machine::Train &t) const {
    if (t.pairs.empty())
        return QStringLiteral("Рассчитайте пару 1: таблица покажет её и каждую следующую пару, "
                              "сохранённую кнопкой «Далее >».");
    if (!doc.hasKnownSpeed())
        return QStringLiteral("Скорости — от Fr1 пары 1 через числа зубьев. Задайте скорость "
                              "любого вала, чтобы получить частоты от неё.");
    const QString speed =
        QStringLiteral("вала %1 (%2 %3)")
            .arg(doc.known.shaft)
            .arg(calc::excerpt(doc.known.text), machine::speedUnitName(doc.known.unit));
    if (!t.followsKnown)
        return QStringLiteral("Скорость %1 не учтена: %2. Скорости — от Fr1 пары 1.")
            .arg(speed, t.knownProblem);
    for (const machine::TrainPair &p : t.pairs)
        if (p.fr1TextDiffers)
            return QStringLiteral("Скорости — от скорости %1. В парах другие Fr1: кнопка "
                                  "«Записать Fr1 в пары» перенесёт эти.")
                .arg(speed);
    return QStringLiteral("Скорости — от скорости %1; Fr1 в парах с ней согласны.").arg(speed);
}

void MachineController::refreshWindow() {
    if (!window)
        return;
    const machine::Train t = train();
    window->offerShafts(t.shaftCount());
    window->showChain(machine::chainOrder(static_cast<int>(t.pairs.size()), doc.extraStages));
    window->showTables(machine::trainTables(t, doc.unit, doc), status(t), t.followsKnown);
    ++builds;
    showMark();
}

void MachineController::showTable() {
    TrainWindow *w = trainWindow();
    refreshWindow();
    w->show();
    w->raise();
    w->activateWindow();
}

void MachineController::showSearch() {
    MachineSearchWindow *w = searchWindow();
    w->show();
    w->raise();
    w->activateWindow();
    w->focusFrequency();
}

MachineController::Brought MachineController::bringLine(const machine::Line &line) {
    using machine::Base;
    if (line.base == Base::Planetary || line.base == Base::Belt || line.base == Base::Bearing)
        return {Brought::Elsewhere, 0};
    const machine::Train t = train();
    const int p = line.pair;
    int in = 0; // the shaft of the pair's wheel 1
    for (const machine::TrainPair &q : t.pairs)
        if (q.number == p)
            in = q.inputShaft;
    // A sideband by the pair's own input or output shaft has a row in the
    // main window: k·Fz ± m·Fr1 and the like.
    const bool input = in > 0 && line.shaft.number == in && line.shaft.via == 0;
    const bool output =
        in > 0 && line.shaft.number == in + 1 && (line.shaft.via == 0 || line.shaft.via == p);
    const calc::RowSpec *row = nullptr;
    if ((line.base == Base::Fz || line.base == Base::Fm) && line.m != 0 && (input || output))
        row = calc::rowWith(line.base == Base::Fz ? calc::Entry::Fz : calc::Entry::Fm,
                            input ? calc::Entry::Fr1 : calc::Entry::Fr2,
                            line.sign > 0 ? calc::RowOperator::Plus : calc::RowOperator::Minus);
    if (row)
        return {form->bringCombination(p, row->entry, line.k, line.m) ? Brought::Row
                                                                      : Brought::Gone,
                p};
    // A shaft: the pair it drives (wheel 1), else the pair that drives it,
    // the pair named for a second speed of a shaft.
    int pair = p;
    if (line.base == Base::Shaft) {
        const auto pairOf = [&](const machine::TrainStage *s) {
            return s && s->kind == machine::StageKind::Pair
                       ? t.pairs[static_cast<std::size_t>(s->index)].number
                       : 0;
        };
        const int shaft = line.shaft.number;
        pair = line.shaft.via != 0 ? line.shaft.via : pairOf(t.stageFrom(shaft));
        if (pair == 0)
            pair = pairOf(t.stageFrom(shaft - 1));
        if (pair == 0)
            return {Brought::Elsewhere, 0};
    }
    return {form->bringPair(pair) ? Brought::Pair : Brought::Gone, pair};
}

bool MachineController::writeChain() {
    if (!doc.hasKnownSpeed())
        return false;
    const machine::TrainSource s = source();
    const machine::ChainRewrite rewrite = machine::followSpeed(
        machine::storedChain(s).pairs, doc.known, s.precisionFactor, doc.extraStages);
    if (!rewrite.error.isEmpty()) {
        kit::showMessage(dialogParent(), QMessageBox::Warning, TrainWindow::baseTitle(),
                         rewrite.error);
        return false;
    }
    const machine::ChainWriteBack plan = machine::planWriteBack(s, rewrite);
    aggregate::AggregateState a = form->aggregateState();
    for (const auto &[k, texts] : plan.slotTexts)
        a.storeSlot(k, texts);
    form->replaceAggregate(a, plan.fields, plan.recalculate, plan.clearCalculated);
    return true;
}
