// The machine-wide search window: inputs, the ranked list and the move to a
// chosen pair. The core reads the texts, ranks and writes every number.
#include "ui/machine/machine_search_window.h"

#include "ui/kit/plain_text.h"
#include "ui/kit/widget_kit.h"
#include "ui/machine/machine_controller.h"
#include "ui/machine/match_table_model.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
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

} // namespace

MachineSearchWindow::MachineSearchWindow(MachineController *c, QWidget *parent)
    : QWidget(parent, Qt::Window), controller(c) {
    setObjectName(QStringLiteral("MachineSearchWindow"));
    setWindowTitle(QStringLiteral("Поиск по агрегату"));
    setFont(kit::sansFont(13));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildModeRow());
    layout->addWidget(buildFrequencyRow());
    layout->addWidget(buildLimitsRow());
    messageLabel = named(kit::plainLabel({}), "messageLabel");
    messageLabel->setWordWrap(true);
    layout->addWidget(messageLabel);
    buildResults();
    layout->addWidget(resultView, 1);
    auto *hint = kit::plainLabel(QStringLiteral("Двойной щелчок или Enter на строке — её пара в "
                                                "главном окне, рассчитанная."));
    hint->setWordWrap(true);
    layout->addWidget(hint);
    resize(640, 520);
    modeChanged();
}

QWidget *MachineSearchWindow::buildModeRow() {
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    peakMode = named(new QRadioButton(QStringLiteral("Пик")), "peakMode");
    spacingMode =
        named(new QRadioButton(QStringLiteral("Расстояние между пиками (боковые)")), "spacingMode");
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
    // The units as the train window offers them.
    unitBox = named(new QComboBox, "unitBox");
    unitBox->addItem(QStringLiteral("Гц"), int(machine::Unit::Hertz));
    unitBox->addItem(QStringLiteral("об/мин и CPM"), int(machine::Unit::PerMinute));
    unitBox->addItem(QStringLiteral("порядки"), int(machine::Unit::Orders));
    ordersShaftBox = named(new QComboBox, "ordersShaftBox");
    for (int k = 1; k <= machine::kShaftLimit; ++k)
        ordersShaftBox->addItem(QStringLiteral("вала %1").arg(k), k);
    toleranceEdit = named(new QLineEdit(QStringLiteral("1")), "toleranceEdit");
    toleranceUnitBox = named(new QComboBox, "toleranceUnitBox");
    toleranceUnitBox->addItems({QStringLiteral("Гц"), QStringLiteral("%")});
    searchButton = named(new QPushButton(QStringLiteral("Искать")), "searchButton");
    searchButton->setDefault(true);
    grid->addWidget(frequencyLabel, 0, 0);
    grid->addWidget(frequencyEdit, 0, 1);
    grid->addWidget(unitBox, 0, 2);
    grid->addWidget(ordersShaftBox, 0, 3);
    grid->addWidget(kit::plainLabel(QStringLiteral("Допуск ±")), 1, 0);
    grid->addWidget(toleranceEdit, 1, 1);
    grid->addWidget(toleranceUnitBox, 1, 2);
    grid->addWidget(searchButton, 0, 4, 2, 1);
    grid->setColumnStretch(1, 1);
    connect(unitBox, &QComboBox::currentIndexChanged, this, &MachineSearchWindow::modeChanged);
    connect(searchButton, &QPushButton::clicked, this, &MachineSearchWindow::search);
    for (QLineEdit *e : {frequencyEdit, toleranceEdit})
        connect(e, &QLineEdit::returnPressed, this, &MachineSearchWindow::search);
    return row;
}

QWidget *MachineSearchWindow::buildLimitsRow() {
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    maxHarmonicBox = spinBox("maxHarmonicBox", 1, machine::kHarmonicLimit, 10);
    stepBox = named(new QComboBox, "stepBox");
    stepBox->addItems({QStringLiteral("1"), QStringLiteral("0,5")});
    maxSidebandBox = spinBox("maxSidebandBox", 0, machine::kSidebandLimit, 3);
    layout->addWidget(kit::plainLabel(QStringLiteral("Наибольшая гармоника")));
    layout->addWidget(maxHarmonicBox);
    layout->addWidget(kit::plainLabel(QStringLiteral("шаг")));
    layout->addWidget(stepBox);
    layout->addWidget(kit::plainLabel(QStringLiteral("Наибольшая боковая")));
    layout->addWidget(maxSidebandBox);
    layout->addStretch();
    return row;
}

void MachineSearchWindow::buildResults() {
    model = new MatchTableModel(this);
    resultView = named(new QTableView, "resultView");
    resultView->setModel(model);
    resultView->setSelectionBehavior(QAbstractItemView::SelectRows);
    resultView->setSelectionMode(QAbstractItemView::SingleSelection);
    resultView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultView->setWordWrap(false);
    resultView->verticalHeader()->setDefaultSectionSize(resultView->fontMetrics().height() + 6);
    QHeaderView *header = resultView->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setDefaultSectionSize(140);
    connect(resultView, &QTableView::activated, this,
            [this](const QModelIndex &index) { chooseRow(index.row()); });
}

void MachineSearchWindow::modeChanged() {
    const bool spacing = spacingMode->isChecked();
    frequencyLabel->setText(spacing ? QStringLiteral("Расстояние между пиками")
                                    : QStringLiteral("Частота пика"));
    // The spacing mode tries the multiples 1 … 3 (and 1/2) of shafts, APF and HTF only.
    maxHarmonicBox->setEnabled(!spacing);
    maxSidebandBox->setEnabled(!spacing);
    ordersShaftBox->setEnabled(unitBox->currentData().toInt() == int(machine::Unit::Orders));
}

machine::IdentifyInput MachineSearchWindow::input() const {
    machine::IdentifyInput in;
    in.mode =
        spacingMode->isChecked() ? machine::IdentifyMode::Spacing : machine::IdentifyMode::Peak;
    in.frequency = frequencyEdit->text();
    in.unit = {static_cast<machine::Unit>(unitBox->currentData().toInt()),
               ordersShaftBox->currentData().toInt()};
    in.tolerance = toleranceEdit->text();
    in.toleranceUnit = toleranceUnitBox->currentIndex() == 1 ? machine::ToleranceUnit::Percent
                                                             : machine::ToleranceUnit::Hertz;
    in.maxHarmonic = maxHarmonicBox->value();
    in.halfStep = stepBox->currentIndex() == 1;
    in.maxSideband = maxSidebandBox->value();
    return in;
}

void MachineSearchWindow::search() {
    const machine::IdentifyInput in = input();
    // The machine as the train table shows it, with exact speeds.
    const machine::Train train = controller->train();
    const machine::RequestOutcome outcome = machine::makeRequest(train, in);
    if (!outcome.request) {
        showMessage(outcome.message, true);
        return;
    }
    model->setMatches(train, *outcome.request, in.unit, machine::identify(train, *outcome.request));
    const int n = model->rowCount();
    showMessage(n == 0 ? QStringLiteral("В пределах допуска ничего нет.")
                       : QStringLiteral("Найдено строк: %1, лучшие сверху.").arg(n),
                false);
    if (n > 0)
        resultView->selectRow(0);
}

void MachineSearchWindow::chooseRow(int row) {
    if (row < 0 || row >= model->rowCount())
        return;
    const int j = model->pairOf(row);
    if (!controller->bringPair(j)) {
        showMessage(QStringLiteral("Пары %1 в агрегате больше нет: повторите поиск.").arg(j), true);
        return;
    }
    showMessage(QStringLiteral("Пара %1 — в главном окне.").arg(j), false);
}

void MachineSearchWindow::focusFrequency() {
    frequencyEdit->setFocus();
}

void MachineSearchWindow::showMessage(const QString &text, bool error) {
    kit::setColour(messageLabel, QPalette::WindowText,
                   error ? kit::colour::red : palette().color(QPalette::WindowText));
    messageLabel->setText(text);
}
