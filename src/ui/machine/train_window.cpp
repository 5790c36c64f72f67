// The train window's layout and the plumbing between its widgets and its
// controller.
#include "ui/machine/train_window.h"

#include "calc/input_text.h"
#include "machine/machine_file.h"
#include "ui/kit/accessible_windows.h"
#include "ui/kit/plain_text.h"
#include "ui/kit/widget_kit.h"
#include "ui/machine/train_model.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {
template <class W> W *named(W *w, const char *name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// A label whose mnemonic moves the focus to `field`, which a screen reader
// then names by the label.
QLabel *buddy(const QString &text, QWidget *field) {
    QLabel *label = kit::plainLabel(text);
    label->setBuddy(field);
    return label;
}

QComboBox *shaftBox(const char *name, const QString &prefix) {
    auto *box = named(new QComboBox, name);
    for (int k = 1; k <= machine::kShaftLimit; ++k)
        box->addItem(prefix + QString::number(k), k);
    return box;
}

void selectData(QComboBox *box, const QVariant &value) {
    const int i = box->findData(value);
    if (i >= 0 && i != box->currentIndex())
        box->setCurrentIndex(i);
}
} // namespace

TrainWindow::TrainWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName("TrainWindow");
    setWindowTitle(baseTitle());

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildRecoveryRow());
    layout->addWidget(buildDocumentRow());
    layout->addWidget(buildUnitRow());
    layout->addWidget(buildReferenceRow());
    statusLabel = named(kit::plainLabel({}), "statusLabel");
    statusLabel->setWordWrap(true);
    layout->addWidget(statusLabel);
    buildTables(layout);
    layout->addWidget(buildButtonRow());

    // Wide enough for the thirteen columns with fifteen-digit numbers, where
    // the screen allows it.
    QSize size(1200, 760);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 60));
    resize(size);
    for (QWidget *field : findChildren<QWidget *>())
        if (qobject_cast<QLineEdit *>(field) || qobject_cast<QPlainTextEdit *>(field))
            field->installEventFilter(this);
}

QWidget *TrainWindow::buildRecoveryRow() {
    recoveryRow = named(new QWidget, "recoveryRow");
    auto *h = new QHBoxLayout(recoveryRow);
    h->setContentsMargins(0, 0, 0, 0);
    recoveryLabel = named(kit::plainLabel({}), "recoveryLabel");
    recoverButton = named(new QPushButton(QStringLiteral("Восстановить")), "recoverButton");
    discardButton = named(new QPushButton(QStringLiteral("Удалить")), "discardButton");
    h->addWidget(recoveryLabel, 1);
    h->addWidget(recoverButton);
    h->addWidget(discardButton);
    connect(recoverButton, &QPushButton::clicked, this, &TrainWindow::recoverRequested);
    connect(discardButton, &QPushButton::clicked, this, &TrainWindow::discardRequested);
    recoveryRow->hide();
    return recoveryRow;
}

QWidget *TrainWindow::buildDocumentRow() {
    auto *box = new QWidget;
    auto *form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    nameEdit = named(new QLineEdit, "nameEdit");
    nameEdit->setAccessibleName(QStringLiteral("Название агрегата"));
    nameEdit->setValidator(new kit::CharacterLimit(machine::kNameLimit, nameEdit));
    nameEdit->setPlaceholderText(QStringLiteral("например, редуктор насоса Н-3"));
    notesEdit = named(new QPlainTextEdit, "notesEdit");
    notesEdit->setTabChangesFocus(true);
    notesEdit->setAccessibleName(QStringLiteral("Примечания"));
    notesEdit->setFixedHeight(notesEdit->fontMetrics().lineSpacing() * 3 + 12);
    notesLimitLabel =
        named(kit::plainLabel(QStringLiteral("Примечания — не длиннее %L1 символов: лишнее не "
                                             "вставлено.")
                                  .arg(machine::kNotesLimit)),
              "notesLimitLabel");
    notesLimitLabel->hide();
    form->addRow(buddy(QStringLiteral("&Название:"), nameEdit), nameEdit);
    form->addRow(buddy(QStringLiteral("&Примечания:"), notesEdit), notesEdit);
    form->addRow(notesLimitLabel);
    connect(nameEdit, &QLineEdit::textEdited, this, &TrainWindow::nameEdited);
    connect(notesEdit->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { notesChangeEnd = position + added; });
    connect(notesEdit, &QPlainTextEdit::textChanged, this, [this] {
        keepNotesWithinLimit();
        emit notesEdited(notesEdit->toPlainText());
    });
    return box;
}

void TrainWindow::keepNotesWithinLimit() {
    const QString text = notesEdit->toPlainText();
    const qsizetype over = calc::characterCount(text) - machine::kNotesLimit;
    notesLimitLabel->setVisible(over > 0);
    if (over <= 0 || notesChangeEnd < 0)
        return;
    // Take the last `over` characters of what was just inserted out again.
    const int end = std::min<int>(notesChangeEnd, static_cast<int>(text.size()));
    const QString before = text.left(end);
    const qsizetype keep = calc::characterCount(before) - over;
    const int start =
        static_cast<int>(calc::leftCharacters(before, std::max<qsizetype>(keep, 0)).size());
    QTextCursor cursor(notesEdit->document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    const QSignalBlocker blocker(notesEdit);
    cursor.removeSelectedText();
    notesEdit->setTextCursor(cursor);
}

QWidget *TrainWindow::buildUnitRow() {
    auto *row = new QWidget;
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    unitBox = named(new QComboBox, "unitBox");
    unitBox->addItem(QStringLiteral("Гц"), int(machine::Unit::Hertz));
    unitBox->addItem(QStringLiteral("об/мин (CPM)"), int(machine::Unit::PerMinute));
    unitBox->addItem(QStringLiteral("порядки"), int(machine::Unit::Orders));
    kit::nameByRole(unitBox, QStringLiteral("Единицы таблиц"));
    ordersShaftBox = shaftBox("ordersShaftBox", QStringLiteral("вала "));
    kit::nameByRole(ordersShaftBox, QStringLiteral("Вал, в порядках которого таблицы"));
    ordersShaftBox->setEnabled(false);
    h->addWidget(buddy(QStringLiteral("&Единицы:"), unitBox));
    h->addWidget(unitBox);
    h->addWidget(ordersShaftBox);
    h->addStretch();
    const auto chosen = [this] {
        ordersShaftBox->setEnabled(chosenUnit().unit == machine::Unit::Orders);
        emit unitChosen(chosenUnit());
    };
    connect(unitBox, &QComboBox::currentIndexChanged, this, chosen);
    connect(ordersShaftBox, &QComboBox::currentIndexChanged, this, chosen);
    return row;
}

QWidget *TrainWindow::buildReferenceRow() {
    auto *row = new QWidget;
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    referenceShaftBox = shaftBox("referenceShaftBox", QStringLiteral("вал "));
    kit::nameByRole(referenceShaftBox, QStringLiteral("Вал с известной скоростью"));
    speedEdit = named(new QLineEdit, "speedEdit");
    speedEdit->setAccessibleName(QStringLiteral("Известная скорость"));
    speedEdit->setValidator(new kit::CharacterLimit(calc::kTextLimit, speedEdit));
    speedEdit->setPlaceholderText(QStringLiteral("не задана"));
    speedUnitBox = named(new QComboBox, "speedUnitBox");
    speedUnitBox->addItem(QStringLiteral("Гц"), int(machine::SpeedUnit::Hertz));
    speedUnitBox->addItem(QStringLiteral("об/мин"), int(machine::SpeedUnit::PerMinute));
    kit::nameByRole(speedUnitBox, QStringLiteral("Единица известной скорости"));
    writeButton = named(new QPushButton(QStringLiteral("&Записать Fr1 в пары")), "writeButton");
    writeButton->setToolTip(QStringLiteral("Fr1 пары 1 и каждой следующей пары — по известной "
                                           "скорости, как их дала бы кнопка «Далее >»; пара на "
                                           "экране пересчитывается"));
    h->addWidget(buddy(QStringLiteral("Известная &скорость:"), speedEdit));
    h->addWidget(referenceShaftBox);
    h->addWidget(speedEdit);
    h->addWidget(speedUnitBox);
    h->addWidget(writeButton);
    h->addStretch();
    const auto edited = [this] { emit knownSpeedEdited(typedSpeed()); };
    connect(referenceShaftBox, &QComboBox::currentIndexChanged, this, edited);
    connect(speedEdit, &QLineEdit::textEdited, this, edited);
    connect(speedUnitBox, &QComboBox::currentIndexChanged, this, edited);
    connect(writeButton, &QPushButton::clicked, this, &TrainWindow::writeRequested);
    return row;
}

void TrainWindow::buildTables(QVBoxLayout *layout) {
    pairsModel = new TrainTableModel(this);
    shaftsModel = new TrainTableModel(this);
    // The shafts' names are typed in their column.
    shaftsModel->setEditableColumn(machine::ColShaftName);
    pairsView = named(new TrainTableView, "pairsView");
    pairsView->setModel(pairsModel);
    pairsView->setAccessibleName(QStringLiteral("Пары зацепления"));
    shaftsView = named(new TrainTableView, "shaftsView");
    shaftsView->setModel(shaftsModel);
    shaftsView->setAccessibleName(QStringLiteral("Валы"));
    shaftsView->setEditTriggers(QAbstractItemView::DoubleClicked |
                                QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed);
    connect(shaftsModel, &TrainTableModel::cellEdited, this,
            [this](int row, int, const QString &text) { emit shaftNameEdited(row + 1, text); });
    layout->addWidget(buddy(QStringLiteral("П&ары зацепления"), pairsView));
    layout->addWidget(pairsView, 3);
    layout->addWidget(buddy(QStringLiteral("&Валы (название вала можно вписать)"), shaftsView));
    layout->addWidget(shaftsView, 2);
    totalLabel = named(kit::plainLabel({}), "totalLabel");
    totalLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(totalLabel);

    componentTabs = named(new QTabWidget, "componentTabs");
    componentTabs->setAccessibleName(QStringLiteral("Ступени и подшипники"));
    planetaryModel = new TrainTableModel(this);
    beltsModel = new TrainTableModel(this);
    planetaryView = named(new TrainTableView, "planetaryView");
    planetaryView->setModel(planetaryModel);
    planetaryView->setAccessibleName(QStringLiteral("Планетарные ступени"));
    beltsView = named(new TrainTableView, "beltsView");
    beltsView->setModel(beltsModel);
    beltsView->setAccessibleName(QStringLiteral("Ремённые передачи"));
    componentTabs->addTab(buildStagesTab(), QStringLiteral("С&тупени"));
    componentTabs->addTab(planetaryView, QStringLiteral("П&ланетарные"));
    componentTabs->addTab(beltsView, QStringLiteral("&Ремённые"));
    componentTabs->addTab(buildBearingsTab(), QStringLiteral("Подш&ипники"));
    layout->addWidget(componentTabs, 2);
}

namespace {
QWidget *buttonColumn(QWidget *view, std::initializer_list<QPushButton *> buttons,
                      QWidget *below = nullptr) {
    auto *tab = new QWidget;
    auto *h = new QHBoxLayout(tab);
    auto *left = new QVBoxLayout;
    left->addWidget(view, 1);
    if (below)
        left->addWidget(below);
    h->addLayout(left, 1);
    auto *v = new QVBoxLayout;
    for (QPushButton *b : buttons)
        v->addWidget(b);
    v->addStretch();
    h->addLayout(v);
    return tab;
}
} // namespace

QWidget *TrainWindow::buildStagesTab() {
    stagesModel = new TrainTableModel(this);
    stagesView = named(new TrainTableView, "stagesView");
    stagesView->setModel(stagesModel);
    stagesView->setAccessibleName(QStringLiteral("Ступени"));
    stagesView->setSelectionBehavior(QAbstractItemView::SelectRows);
    planetaryButton =
        named(new QPushButton(QStringLiteral("Планетарная ступень…")), "planetaryButton");
    beltButton = named(new QPushButton(QStringLiteral("Ремённая передача…")), "beltButton");
    editStageButton = named(new QPushButton(QStringLiteral("Изменить…")), "editStageButton");
    removeStageButton = named(new QPushButton(QStringLiteral("Удалить")), "removeStageButton");
    upButton = named(new QPushButton(QStringLiteral("Выше")), "upButton");
    downButton = named(new QPushButton(QStringLiteral("Ниже")), "downButton");
    const QString after = QStringLiteral("После выбранной ступени, иначе в конце цепи");
    planetaryButton->setToolTip(after);
    beltButton->setToolTip(after);
    auto *hint = kit::plainLabel(QStringLiteral(
        "Пары зацепления задаются в главном окне (кнопка «Далее >»); здесь — ступени между "
        "ними. Вал каждой ступени — следующий по цепи."));
    hint->setWordWrap(true);
    QWidget *tab = buttonColumn(
        stagesView,
        {planetaryButton, beltButton, editStageButton, removeStageButton, upButton, downButton},
        hint);
    // A new stage goes after the output shaft of the chosen stage.
    const auto place = [this] {
        const QModelIndex at = stagesView->currentIndex();
        return at.isValid() ? at.row() + 2 : 0;
    };
    connect(planetaryButton, &QPushButton::clicked, this,
            [this, place] { emit planetaryRequested(place()); });
    connect(beltButton, &QPushButton::clicked, this,
            [this, place] { emit beltRequested(place()); });
    const auto extra = [this](auto signal) {
        return [this, signal] {
            if (const machine::ChainEntry *e = chosenStage();
                e && e->kind != machine::StageKind::Pair)
                emit(this->*signal)(e->index);
        };
    };
    connect(editStageButton, &QPushButton::clicked, this, extra(&TrainWindow::stageEditRequested));
    connect(stagesView, &QAbstractItemView::doubleClicked, this,
            extra(&TrainWindow::stageEditRequested));
    connect(removeStageButton, &QPushButton::clicked, this,
            extra(&TrainWindow::stageRemoveRequested));
    for (const auto &move : {std::pair{upButton, -1}, std::pair{downButton, 1}})
        connect(move.first, &QPushButton::clicked, this, [this, direction = move.second] {
            if (const machine::ChainEntry *e = chosenStage();
                e && e->kind != machine::StageKind::Pair) {
                const int row = stagesView->currentIndex().row();
                emit stageMoveRequested(e->index, direction);
                // The moved stage stays chosen.
                if (row + direction >= 0 && row + direction < stagesModel->rowCount())
                    stagesView->setCurrentIndex(stagesModel->index(row + direction, 0));
            }
        });
    connect(stagesView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TrainWindow::enableStageButtons);
    return tab;
}

QWidget *TrainWindow::buildBearingsTab() {
    bearingsModel = new TrainTableModel(this);
    bearingsView = named(new TrainTableView, "bearingsView");
    bearingsView->setModel(bearingsModel);
    bearingsView->setAccessibleName(QStringLiteral("Подшипники"));
    bearingsView->setSelectionBehavior(QAbstractItemView::SelectRows);
    addBearingButton = named(new QPushButton(QStringLiteral("Добавить…")), "addBearingButton");
    editBearingButton = named(new QPushButton(QStringLiteral("Изменить…")), "editBearingButton");
    removeBearingButton = named(new QPushButton(QStringLiteral("Удалить")), "removeBearingButton");
    addBearingButton->setAccessibleName(QStringLiteral("Добавить подшипник"));
    editBearingButton->setAccessibleName(QStringLiteral("Изменить подшипник"));
    removeBearingButton->setAccessibleName(QStringLiteral("Удалить подшипник"));
    QWidget *tab =
        buttonColumn(bearingsView, {addBearingButton, editBearingButton, removeBearingButton});
    connect(addBearingButton, &QPushButton::clicked, this, &TrainWindow::bearingAddRequested);
    const auto chosen = [this](void (TrainWindow::*signal)(int)) {
        return [this, signal] {
            if (const int i = chosenBearing(); i >= 0)
                emit(this->*signal)(i);
        };
    };
    connect(editBearingButton, &QPushButton::clicked, this,
            chosen(&TrainWindow::bearingEditRequested));
    connect(bearingsView, &QAbstractItemView::doubleClicked, this,
            chosen(&TrainWindow::bearingEditRequested));
    connect(removeBearingButton, &QPushButton::clicked, this,
            chosen(&TrainWindow::bearingRemoveRequested));
    connect(bearingsView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TrainWindow::enableStageButtons);
    return tab;
}

const machine::ChainEntry *TrainWindow::chosenStage() const {
    const QModelIndex at = stagesView->currentIndex();
    if (!at.isValid() || at.row() >= static_cast<int>(chain.size()))
        return nullptr;
    return &chain[static_cast<std::size_t>(at.row())];
}

int TrainWindow::chosenBearing() const {
    const QModelIndex at = bearingsView->currentIndex();
    return at.isValid() && at.row() < bearingsModel->rowCount() ? at.row() : -1;
}

void TrainWindow::enableStageButtons() {
    const machine::ChainEntry *e = chosenStage();
    const bool extra = e && e->kind != machine::StageKind::Pair;
    const int row = stagesView->currentIndex().row();
    editStageButton->setEnabled(extra);
    removeStageButton->setEnabled(extra);
    upButton->setEnabled(extra && row > 0);
    downButton->setEnabled(extra && row + 1 < static_cast<int>(chain.size()));
    const QString pair = QStringLiteral("Пара меняется в главном окне");
    for (QPushButton *b : {editStageButton, removeStageButton, upButton, downButton})
        b->setToolTip(e && !extra ? pair : QString());
    const bool bearing = chosenBearing() >= 0;
    editBearingButton->setEnabled(bearing);
    removeBearingButton->setEnabled(bearing);
}

void TrainWindow::showChain(const std::vector<machine::ChainEntry> &entries) {
    chain = entries;
    enableStageButtons();
}

QWidget *TrainWindow::buildButtonRow() {
    auto *row = new QWidget;
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    exportButton = named(new QPushButton(QStringLiteral("&Экспорт в CSV…")), "exportButton");
    exportButton->setToolTip(QStringLiteral("Ctrl+E"));
    copyButton = named(new QPushButton(QStringLiteral("&Копировать всё")), "copyButton");
    copyButton->setToolTip(QStringLiteral("Ctrl+Shift+C; выделенные ячейки — Ctrl+C"));
    h->addStretch();
    h->addWidget(exportButton);
    h->addWidget(copyButton);
    connect(exportButton, &QPushButton::clicked, this, &TrainWindow::exportRequested);
    connect(copyButton, &QPushButton::clicked, this, &TrainWindow::copyRequested);
    // The keys work anywhere in this window, and only here.
    const std::pair<QKeySequence, void (TrainWindow::*)()> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_E), &TrainWindow::exportRequested},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), &TrainWindow::copyRequested}};
    for (const auto &[key, signal] : keys) {
        windowKeys << key;
        auto *action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, signal);
    }
    return row;
}

bool TrainWindow::eventFilter(QObject *watched, QEvent *event) {
    // Left unaccepted, the override lets the window's shortcut run.
    if (event->type() == QEvent::ShortcutOverride &&
        windowKeys.contains(QKeySequence(static_cast<QKeyEvent *>(event)->keyCombination())))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TrainWindow::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TrainWindow::offerShafts(int shafts) {
    kit::offerNumbers(ordersShaftBox, QStringLiteral("вала "), std::max(shafts, 1));
    kit::offerNumbers(referenceShaftBox, QStringLiteral("вал "),
                      std::max({shafts, 1, referenceShaftBox->currentData().toInt()}));
}

void TrainWindow::showTables(const machine::TrainTables &tables, const QString &status,
                             bool canWrite) {
    pairsModel->setTable(tables.pairs);
    shaftsModel->setTable(tables.shafts);
    // The chosen stage and bearing stay chosen across a rebuild.
    const int stageRow = stagesView->currentIndex().row();
    const int bearingRow = bearingsView->currentIndex().row();
    stagesModel->setTable(tables.stages);
    planetaryModel->setTable(tables.planetaries);
    beltsModel->setTable(tables.belts);
    bearingsModel->setTable(tables.bearings);
    if (stageRow >= 0 && stageRow < stagesModel->rowCount())
        stagesView->setCurrentIndex(stagesModel->index(stageRow, 0));
    if (bearingRow >= 0 && bearingRow < bearingsModel->rowCount())
        bearingsView->setCurrentIndex(bearingsModel->index(bearingRow, 0));
    stagesView->horizontalHeader()->setSectionResizeMode(machine::ColStageWhat,
                                                         QHeaderView::Stretch);
    // The remarks wrap within what the numbers leave.
    pairsView->horizontalHeader()->setSectionResizeMode(machine::ColNote, QHeaderView::Stretch);
    shaftsView->horizontalHeader()->setSectionResizeMode(machine::ColShaftPlace,
                                                         QHeaderView::Stretch);
    totalLabel->setText(tables.totalRatio);
    // A changed status is read out (a refused speed says why); the same
    // status after a rebuild is not repeated.
    if (statusLabel->text() != status)
        kit::announce(statusLabel, status, speedEdit);
    writeButton->setEnabled(canWrite);
}

void TrainWindow::showDocument(const machine::MachineDocument &d) {
    const QSignalBlocker blockers[] = {
        QSignalBlocker(nameEdit),          QSignalBlocker(notesEdit),
        QSignalBlocker(unitBox),           QSignalBlocker(ordersShaftBox),
        QSignalBlocker(referenceShaftBox), QSignalBlocker(speedEdit),
        QSignalBlocker(speedUnitBox)};
    if (nameEdit->text() != d.name)
        nameEdit->setText(d.name);
    if (notesEdit->toPlainText() != d.notes)
        notesEdit->setPlainText(d.notes);
    selectData(unitBox, int(d.unit.unit));
    selectData(ordersShaftBox, d.unit.ordersShaft);
    ordersShaftBox->setEnabled(d.unit.unit == machine::Unit::Orders);
    selectData(referenceShaftBox, d.known.shaft);
    if (speedEdit->text() != d.known.text)
        speedEdit->setText(d.known.text);
    selectData(speedUnitBox, int(d.known.unit));
}

void TrainWindow::showFile(const QString &path, bool modified) {
    // The mark is part of the title itself, so that the title reads back as
    // the user sees it.
    QString title = baseTitle();
    if (!path.isEmpty()) {
        const QFileInfo file(path);
        title += QStringLiteral(" — %1 (%2)")
                     .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()));
    }
    if (modified)
        title += QStringLiteral(" *");
    kit::setPlainTitle(this, title);
}

void TrainWindow::showRecovery(const QDateTime &savedAt, const QString &machineName) {
    recoveryRow->setVisible(savedAt.isValid());
    if (!savedAt.isValid())
        return;
    const QString what = machineName.isEmpty()
                             ? QStringLiteral("Есть несохранённый агрегат")
                             : QStringLiteral("Есть несохранённый агрегат «%1»").arg(machineName);
    recoveryLabel->setText(
        QStringLiteral("%1 от %2.")
            .arg(what, savedAt.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"))));
}

machine::UnitChoice TrainWindow::chosenUnit() const {
    return {static_cast<machine::Unit>(unitBox->currentData().toInt()),
            ordersShaftBox->currentData().toInt()};
}

machine::ReferenceSpeed TrainWindow::typedSpeed() const {
    return {referenceShaftBox->currentData().toInt(), speedEdit->text(),
            static_cast<machine::SpeedUnit>(speedUnitBox->currentData().toInt())};
}
