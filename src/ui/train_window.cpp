// The train window's layout and the plumbing between its widgets and its
// controller.
#include "ui/train_window.h"

#include "machine/machine_file.h"
#include "ui/train_model.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
template <class W> W *named(W *w, const char *name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
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
    layout->addWidget(buildDocumentRow());
    layout->addWidget(buildUnitRow());
    layout->addWidget(buildReferenceRow());
    statusLabel = named(new QLabel, "statusLabel");
    statusLabel->setWordWrap(true);
    layout->addWidget(statusLabel);

    pairsModel = new TrainTableModel(this);
    shaftsModel = new TrainTableModel(this);
    pairsView = named(new TrainTableView, "pairsView");
    pairsView->setModel(pairsModel);
    shaftsView = named(new TrainTableView, "shaftsView");
    shaftsView->setModel(shaftsModel);
    layout->addWidget(new QLabel(QStringLiteral("Пары зацепления")));
    layout->addWidget(pairsView, 3);
    layout->addWidget(new QLabel(QStringLiteral("Валы")));
    layout->addWidget(shaftsView, 2);
    totalLabel = named(new QLabel, "totalLabel");
    totalLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(totalLabel);

    resize(980, 600);
}

QWidget *TrainWindow::buildDocumentRow() {
    auto *box = new QWidget;
    auto *form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    nameEdit = named(new QLineEdit, "nameEdit");
    nameEdit->setMaxLength(machine::kNameLimit);
    nameEdit->setPlaceholderText(QStringLiteral("например, редуктор насоса Н-3"));
    notesEdit = named(new QPlainTextEdit, "notesEdit");
    notesEdit->setTabChangesFocus(true);
    notesEdit->setFixedHeight(notesEdit->fontMetrics().lineSpacing() * 3 + 12);
    form->addRow(QStringLiteral("Название:"), nameEdit);
    form->addRow(QStringLiteral("Примечания:"), notesEdit);
    connect(nameEdit, &QLineEdit::textEdited, this, &TrainWindow::documentEdited);
    connect(notesEdit, &QPlainTextEdit::textChanged, this, &TrainWindow::documentEdited);
    return box;
}

QWidget *TrainWindow::buildUnitRow() {
    auto *row = new QWidget;
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    unitBox = named(new QComboBox, "unitBox");
    unitBox->addItem(QStringLiteral("Гц"), int(machine::Unit::Hertz));
    unitBox->addItem(QStringLiteral("об/мин и CPM"), int(machine::Unit::PerMinute));
    unitBox->addItem(QStringLiteral("порядки"), int(machine::Unit::Orders));
    ordersShaftBox = shaftBox("ordersShaftBox", QStringLiteral("вала "));
    ordersShaftBox->setEnabled(false);
    h->addWidget(new QLabel(QStringLiteral("Единицы:")));
    h->addWidget(unitBox);
    h->addWidget(ordersShaftBox);
    h->addStretch();
    connect(unitBox, &QComboBox::currentIndexChanged, this, [this] {
        ordersShaftBox->setEnabled(unit().unit == machine::Unit::Orders);
        emit unitChanged();
    });
    connect(ordersShaftBox, &QComboBox::currentIndexChanged, this, &TrainWindow::unitChanged);
    return row;
}

QWidget *TrainWindow::buildReferenceRow() {
    auto *row = new QWidget;
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    referenceShaftBox = shaftBox("referenceShaftBox", QStringLiteral("вал "));
    speedEdit = named(new QLineEdit, "speedEdit");
    speedEdit->setMaxLength(aggregate::kPairTextLimit);
    speedEdit->setPlaceholderText(QStringLiteral("не задана"));
    speedUnitBox = named(new QComboBox, "speedUnitBox");
    speedUnitBox->addItem(QStringLiteral("Гц"), int(machine::SpeedUnit::Hertz));
    speedUnitBox->addItem(QStringLiteral("об/мин"), int(machine::SpeedUnit::PerMinute));
    writeButton = named(new QPushButton(QStringLiteral("Записать цепь в пары")), "writeButton");
    writeButton->setToolTip(QStringLiteral("Fr1 пары 1 и каждой следующей пары — по заданной "
                                           "скорости; пара на экране пересчитывается"));
    h->addWidget(new QLabel(QStringLiteral("Известная скорость:")));
    h->addWidget(referenceShaftBox);
    h->addWidget(speedEdit);
    h->addWidget(speedUnitBox);
    h->addWidget(writeButton);
    h->addStretch();
    connect(referenceShaftBox, &QComboBox::currentIndexChanged, this,
            &TrainWindow::referenceChanged);
    connect(speedEdit, &QLineEdit::textEdited, this, &TrainWindow::referenceChanged);
    connect(speedUnitBox, &QComboBox::currentIndexChanged, this, &TrainWindow::referenceChanged);
    connect(writeButton, &QPushButton::clicked, this, &TrainWindow::writeRequested);
    return row;
}

void TrainWindow::showTables(const machine::TrainTables &tables, const QString &status,
                             bool canWrite) {
    pairsModel->setTable(tables.pairs);
    shaftsModel->setTable(tables.shafts);
    totalLabel->setText(tables.totalRatio);
    statusLabel->setText(status);
    writeButton->setEnabled(canWrite);
}

void TrainWindow::showDocument(const QString &name, const QString &notes,
                               const machine::UnitChoice &unit,
                               const machine::ReferenceSpeed &reference) {
    const QSignalBlocker blockers[] = {
        QSignalBlocker(nameEdit),          QSignalBlocker(notesEdit),
        QSignalBlocker(unitBox),           QSignalBlocker(ordersShaftBox),
        QSignalBlocker(referenceShaftBox), QSignalBlocker(speedEdit),
        QSignalBlocker(speedUnitBox)};
    if (nameEdit->text() != name)
        nameEdit->setText(name);
    if (notesEdit->toPlainText() != notes)
        notesEdit->setPlainText(notes);
    selectData(unitBox, int(unit.unit));
    selectData(ordersShaftBox, unit.ordersShaft);
    ordersShaftBox->setEnabled(unit.unit == machine::Unit::Orders);
    selectData(referenceShaftBox, reference.shaft);
    if (speedEdit->text() != reference.text)
        speedEdit->setText(reference.text);
    selectData(speedUnitBox, int(reference.unit));
}

void TrainWindow::showFile(const QString &fileName, bool modified) {
    // The mark is part of the title itself, so that the title reads back as
    // the user sees it.
    QString title = baseTitle();
    if (!fileName.isEmpty())
        title += QStringLiteral(" — ") + fileName;
    if (modified)
        title += QStringLiteral(" *");
    setWindowTitle(title);
}

QString TrainWindow::name() const {
    return nameEdit->text();
}
QString TrainWindow::notes() const {
    return notesEdit->toPlainText();
}

machine::UnitChoice TrainWindow::unit() const {
    return {static_cast<machine::Unit>(unitBox->currentData().toInt()),
            ordersShaftBox->currentData().toInt()};
}

machine::ReferenceSpeed TrainWindow::reference() const {
    return {referenceShaftBox->currentData().toInt(), speedEdit->text(),
            static_cast<machine::SpeedUnit>(speedUnitBox->currentData().toInt())};
}
