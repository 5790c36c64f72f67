// The machine-wide search window: inputs, the ranked list and the move to a
// chosen pair. The core reads the texts, ranks and writes every number.
#include "ui/machine/machine_search_window.h"

#include "calc/number_text.h"
#include "ui/kit/accessible_windows.h"
#include "ui/kit/plain_text.h"
#include "ui/kit/widget_kit.h"
#include "ui/machine/machine_controller.h"
#include "ui/machine/match_table_model.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace {

template <class W> W *named(W *w, const char *name) {
    w->setObjectName(QLatin1String(name));
    return w;
}

QSpinBox *spinBox(const char *name, int low, int high, int value) {
    auto *box = named(new QSpinBox, name);
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

// The units of the machine's tables, as the train window offers them.
QComboBox *unitChoiceBox(const char *name) {
    auto *box = named(new QComboBox, name);
    box->addItem(QStringLiteral("Гц"), int(machine::Unit::Hertz));
    box->addItem(QStringLiteral("об/мин (CPM)"), int(machine::Unit::PerMinute));
    box->addItem(QStringLiteral("порядки"), int(machine::Unit::Orders));
    return box;
}

} // namespace

MachineSearchWindow::MachineSearchWindow(MachineController *c, QWidget *parent)
    : QWidget(parent, Qt::Window), controller(c) {
    setObjectName(QStringLiteral("MachineSearchWindow"));
    setWindowTitle(QStringLiteral("Поиск по агрегату"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildModeRow());
    layout->addWidget(buildFrequencyRow());
    layout->addWidget(buildLimitsRow());
    messageLabel = named(kit::plainLabel({}), "messageLabel");
    messageLabel->setWordWrap(true);
    layout->addWidget(messageLabel);
    buildResults();
    layout->addWidget(resultView, 1);
    auto *hint = kit::plainLabel(
        QStringLiteral("Двойной щелчок или Enter на строке — её пара в главном окне, "
                       "рассчитанная; боковая полоса пары — ещё и в её строке модуляционных "
                       "частот."));
    hint->setWordWrap(true);
    layout->addWidget(hint);
    resize(760, 560);
    unitChanged();
    modeChanged();
}

QWidget *MachineSearchWindow::buildModeRow() {
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    peakMode = named(new QRadioButton(QStringLiteral("П&ик")), "peakMode");
    spacingMode = named(new QRadioButton(QStringLiteral("&Расстояние между пиками (боковые)")),
                        "spacingMode");
    peakMode->setChecked(true);
    auto *group = new QButtonGroup(row);
    group->addButton(peakMode);
    group->addButton(spacingMode);
    connect(peakMode, &QRadioButton::toggled, this, &MachineSearchWindow::modeChanged);
    layout->addWidget(kit::plainLabel(QStringLiteral("Искать:")));
    layout->addWidget(peakMode);
    layout->addWidget(spacingMode);
    layout->addStretch();
    return row;
}

QWidget *MachineSearchWindow::buildFrequencyRow() {
    auto *row = new QWidget;
    auto *grid = new QGridLayout(row);
    grid->setContentsMargins(0, 0, 0, 0);
    frequencyLabel = named(kit::plainLabel({}), "frequencyLabel");
    frequencyEdit = named(new QLineEdit, "frequencyEdit");
    frequencyLabel->setBuddy(frequencyEdit);
    unitBox = unitChoiceBox("unitBox");
    kit::nameByRole(unitBox, QStringLiteral("Единица частоты"));
    ordersShaftBox = named(new QComboBox, "ordersShaftBox");
    kit::nameByRole(ordersShaftBox, QStringLiteral("Вал, в порядках которого частота"));
    toleranceEdit = named(new QLineEdit(QStringLiteral("1")), "toleranceEdit");
    // The bound keeps every list to tens of thousands of rows at most.
    toleranceEdit->setToolTip(
        QStringLiteral("Не больше %1 % от частоты пика (или от расстояния между пиками).")
            .arg(calc::generalDecimal(100 * machine::kToleranceLimitShare)));
    toleranceUnitBox = named(new QComboBox, "toleranceUnitBox");
    kit::nameByRole(toleranceUnitBox, QStringLiteral("Единица допуска"));
    resolutionEdit = named(new QLineEdit, "resolutionEdit");
    resolutionEdit->setPlaceholderText(QStringLiteral("не задано: десятая часть допуска"));
    resolutionUnit = named(kit::plainLabel({}), "resolutionUnit");
    searchButton = named(new QPushButton(QStringLiteral("&Искать")), "searchButton");
    searchButton->setDefault(true);
    auto *toleranceLabel = kit::plainLabel(QStringLiteral("&Допуск ±"));
    toleranceLabel->setBuddy(toleranceEdit);
    auto *resolutionLabel = kit::plainLabel(QStringLiteral("Ра&зрешение спектра"));
    resolutionLabel->setBuddy(resolutionEdit);
    resolutionLabel->setToolTip(QStringLiteral("Расстояние между линиями спектра. Объяснения, "
                                               "чьи отклонения различаются меньше него, "
                                               "идут от простого к сложному."));
    grid->addWidget(frequencyLabel, 0, 0);
    grid->addWidget(frequencyEdit, 0, 1);
    grid->addWidget(unitBox, 0, 2);
    grid->addWidget(ordersShaftBox, 0, 3);
    grid->addWidget(toleranceLabel, 1, 0);
    grid->addWidget(toleranceEdit, 1, 1);
    grid->addWidget(toleranceUnitBox, 1, 2);
    grid->addWidget(resolutionLabel, 2, 0);
    grid->addWidget(resolutionEdit, 2, 1);
    grid->addWidget(resolutionUnit, 2, 2);
    grid->addWidget(searchButton, 0, 4, 3, 1);
    grid->setColumnStretch(1, 1);
    connect(unitBox, &QComboBox::currentIndexChanged, this, &MachineSearchWindow::unitChanged);
    connect(searchButton, &QPushButton::clicked, this, &MachineSearchWindow::search);
    for (QLineEdit *e : {frequencyEdit, toleranceEdit, resolutionEdit})
        connect(e, &QLineEdit::returnPressed, this, &MachineSearchWindow::search);
    return row;
}

QWidget *MachineSearchWindow::buildLimitsRow() {
    auto *row = new QWidget;
    auto *layout = new QGridLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    maxHarmonicBox = spinBox("maxHarmonicBox", 1, machine::kHarmonicLimit, 10);
    stepBox = named(new QComboBox, "stepBox");
    stepBox->addItems({QStringLiteral("1"), QStringLiteral("0,5")});
    kit::nameByRole(stepBox, QStringLiteral("Шаг гармоник"));
    maxSidebandBox = spinBox("maxSidebandBox", 0, machine::kSidebandLimit, 3);
    allShaftsBox = named(new QCheckBox(QStringLiteral("боковые от &всех валов")), "allShaftsBox");
    allShaftsBox->setToolTip(QStringLiteral("Боковые зацепления не только от валов его пары, "
                                            "но и от каждого вала агрегата"));
    intermodulationBox =
        named(new QCheckBox(QStringLiteral("&интермодуляция зацеплений (Fz ± Fz)")),
              "intermodulationBox");
    const std::pair<const char *, QWidget *> labelled[] = {
        {"Гармоники &до", maxHarmonicBox},
        {"&шаг", stepBox},
        {"Порядок &боковых до", maxSidebandBox},
    };
    int column = 0;
    for (const auto &[text, field] : labelled) {
        auto *label = kit::plainLabel(QString::fromUtf8(text));
        label->setBuddy(field);
        layout->addWidget(label, 0, column++);
        layout->addWidget(field, 0, column++);
    }
    layout->addWidget(allShaftsBox, 1, 0, 1, 3);
    layout->addWidget(intermodulationBox, 1, 3, 1, 3);
    layout->setColumnStretch(column, 1);
    return row;
}

void MachineSearchWindow::buildResults() {
    model = new MatchTableModel(this);
    resultView = named(new QTableView, "resultView");
    resultView->setAccessibleName(QStringLiteral("Найденные составляющие"));
    resultView->setModel(model);
    resultView->setSelectionBehavior(QAbstractItemView::SelectRows);
    resultView->setSelectionMode(QAbstractItemView::SingleSelection);
    resultView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list; the arrows move in it.
    resultView->setTabKeyNavigation(false);
    resultView->setWordWrap(false);
    QHeaderView *header = resultView->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    // The widths follow the rows in sight: the texts of a row are made when
    // it is shown, and sizing by a thousand rows would make them all.
    header->setResizeContentsPrecision(0);
    connect(resultView, &QTableView::activated, this,
            [this](const QModelIndex &index) { chooseRow(index.row()); });
}

void MachineSearchWindow::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MachineSearchWindow::modeChanged() {
    const bool spacing = spacingMode->isChecked();
    frequencyLabel->setText(spacing ? QStringLiteral("Расстояние &между пиками")
                                    : QStringLiteral("&Частота пика"));
    // The spacing mode tries the multiples 1 … 3 (and 1/2) of shafts, APF and HTF only.
    for (QWidget *w :
         {static_cast<QWidget *>(maxHarmonicBox), static_cast<QWidget *>(maxSidebandBox),
          static_cast<QWidget *>(allShaftsBox), static_cast<QWidget *>(intermodulationBox)})
        w->setEnabled(!spacing);
    listed = false;
}

void MachineSearchWindow::unitChanged() {
    const auto unit = static_cast<machine::Unit>(unitBox->currentData().toInt());
    kit::offerNumbers(ordersShaftBox, QStringLiteral("вала "),
                      std::max(1, controller->train().shaftCount()));
    ordersShaftBox->setEnabled(unit == machine::Unit::Orders);
    // The tolerance in the peak's own unit, in % or in lines of the spectrum.
    const QString name = machine::unitName({unit, ordersShaftBox->currentData().toInt()}, true);
    const int chosen = std::max(0, toleranceUnitBox->currentIndex());
    {
        const QSignalBlocker blocker(toleranceUnitBox);
        toleranceUnitBox->clear();
        toleranceUnitBox->addItem(name, int(machine::ToleranceUnit::PeakUnit));
        toleranceUnitBox->addItem(QStringLiteral("%"), int(machine::ToleranceUnit::Percent));
        toleranceUnitBox->addItem(QStringLiteral("линий спектра"),
                                  int(machine::ToleranceUnit::Lines));
        toleranceUnitBox->setCurrentIndex(chosen);
    }
    resolutionUnit->setText(name);
    listed = false;
}

machine::IdentifyInput MachineSearchWindow::input() const {
    machine::IdentifyInput in;
    in.mode =
        spacingMode->isChecked() ? machine::IdentifyMode::Spacing : machine::IdentifyMode::Peak;
    in.frequency = frequencyEdit->text();
    in.unit = {static_cast<machine::Unit>(unitBox->currentData().toInt()),
               std::max(1, ordersShaftBox->currentData().toInt())};
    in.tolerance = toleranceEdit->text();
    in.toleranceUnit = static_cast<machine::ToleranceUnit>(toleranceUnitBox->currentData().toInt());
    in.resolution = resolutionEdit->text();
    in.maxHarmonic = maxHarmonicBox->value();
    in.halfStep = stepBox->currentIndex() == 1;
    in.maxSideband = maxSidebandBox->value();
    in.allShafts = allShaftsBox->isChecked();
    in.intermodulation = intermodulationBox->isChecked();
    return in;
}

void MachineSearchWindow::search() {
    runSearch(false);
}

bool MachineSearchWindow::runSearch(bool quiet) {
    const machine::IdentifyInput in = input();
    // The machine as the train table shows it, with exact speeds.
    const machine::Train train = controller->train();
    const machine::RequestOutcome outcome = machine::makeRequest(train, in);
    if (!outcome.request) {
        // No list from other inputs stays as if it answered these.
        model->clear();
        listed = false;
        showMessage(outcome.message, true);
        return false;
    }
    model->setMatches(train, *outcome.request, in.unit, machine::identify(train, *outcome.request),
                      machine::lineNames(controller->document()));
    listed = true;
    const int n = model->rowCount();
    if (!quiet || n == 0)
        showMessage(n == 0 ? QStringLiteral("В пределах допуска ничего нет.")
                           : QStringLiteral("Найдено строк: %1, лучшие сверху.").arg(n),
                    false);
    if (n > 0)
        resultView->selectRow(0);
    return true;
}

void MachineSearchWindow::machineChanged() {
    kit::offerNumbers(ordersShaftBox, QStringLiteral("вала "),
                      std::max(1, controller->train().shaftCount()));
    if (!listed) {
        model->clear();
        return;
    }
    if (runSearch(true) && model->rowCount() > 0)
        showMessage(QStringLiteral("Агрегат изменился: список найден заново, строк: %1.")
                        .arg(model->rowCount()),
                    false);
}

void MachineSearchWindow::searchSpacing(double hertz) {
    spacingMode->setChecked(true);
    unitBox->setCurrentIndex(unitBox->findData(int(machine::Unit::Hertz)));
    frequencyEdit->setText(calc::generalDecimal(hertz));
    search();
}

void MachineSearchWindow::chooseRow(int row) {
    if (row < 0 || row >= model->rowCount())
        return;
    const machine::Line line = model->lineOf(row);
    const QString name = machine::lineName(line, machine::lineNames(controller->document()));
    const MachineController::Brought brought = controller->bringLine(line);
    switch (brought.kind) {
    case MachineController::Brought::Gone:
        showMessage(
            QStringLiteral("Пары %1 в агрегате больше нет: повторите поиск.").arg(brought.pair),
            true);
        return;
    case MachineController::Brought::Row:
        showMessage(QStringLiteral("Пара %1 — в главном окне, %2 — в строке модуляционных частот.")
                        .arg(brought.pair)
                        .arg(name),
                    false);
        return;
    case MachineController::Brought::Pair:
        showMessage(QStringLiteral("Пара %1 — в главном окне; строки для %2 там нет.")
                        .arg(brought.pair)
                        .arg(name),
                    false);
        return;
    case MachineController::Brought::Elsewhere:
        showMessage(QStringLiteral("%1: в главном окне таких частот нет — они в сводной таблице "
                                   "агрегата.")
                        .arg(name),
                    false);
        return;
    }
}

void MachineSearchWindow::focusFrequency() {
    frequencyEdit->setFocus();
}

void MachineSearchWindow::showMessage(const QString &text, bool error) {
    kit::setColour(messageLabel, QPalette::WindowText,
                   error ? kit::colour::red : palette().color(QPalette::WindowText));
    kit::announce(messageLabel, text, resultView);
    // A message can be selected and copied; an empty line is no stop for
    // the focus, nor a control without a name for a screen reader.
    messageLabel->setTextInteractionFlags(text.isEmpty() ? Qt::NoTextInteraction
                                                         : Qt::TextSelectableByMouse);
}
