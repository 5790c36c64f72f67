// The train window's layout and the plumbing between its widgets and its
// controller.
#include "ui/machine/train_window.h"

#include "calc/input_text.h"
#include "machine/machine_file.h"
#include "ui/kit/plain_text.h"
#include "ui/machine/train_model.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
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
    statusLabel = named(kit::plainLabel({}), "statusLabel");
    statusLabel->setWordWrap(true);
    layout->addWidget(statusLabel);

    pairsModel = new TrainTableModel(this);
    shaftsModel = new TrainTableModel(this);
    pairsView = named(new TrainTableView, "pairsView");
    pairsView->setModel(pairsModel);
    shaftsView = named(new TrainTableView, "shaftsView");
    shaftsView->setModel(shaftsModel);
    layout->addWidget(kit::plainLabel(QStringLiteral("Пары зацепления")));
    layout->addWidget(pairsView, 3);
    layout->addWidget(kit::plainLabel(QStringLiteral("Валы")));
    layout->addWidget(shaftsView, 2);
    totalLabel = named(kit::plainLabel({}), "totalLabel");
    totalLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(totalLabel);

    // Wide enough for the thirteen columns with fifteen-digit numbers, where
    // the screen allows it.
    QSize size(1200, 640);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 60));
    resize(size);
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
    notesLimitLabel =
        named(kit::plainLabel(QStringLiteral("Примечания — не длиннее %L1 символов: лишнее не "
                                             "вставлено.")
                                  .arg(machine::kNotesLimit)),
              "notesLimitLabel");
    notesLimitLabel->hide();
    form->addRow(kit::plainLabel(QStringLiteral("Название:")), nameEdit);
    form->addRow(kit::plainLabel(QStringLiteral("Примечания:")), notesEdit);
    form->addRow(QString(), notesLimitLabel);
    connect(nameEdit, &QLineEdit::textEdited, this, &TrainWindow::documentEdited);
    connect(notesEdit->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { notesChangeEnd = position + added; });
    connect(notesEdit, &QPlainTextEdit::textChanged, this, [this] {
        keepNotesWithinLimit();
        emit documentEdited();
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
    unitBox->addItem(QStringLiteral("об/мин и CPM"), int(machine::Unit::PerMinute));
    unitBox->addItem(QStringLiteral("порядки"), int(machine::Unit::Orders));
    ordersShaftBox = shaftBox("ordersShaftBox", QStringLiteral("вала "));
    ordersShaftBox->setEnabled(false);
    h->addWidget(kit::plainLabel(QStringLiteral("Единицы:")));
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
    speedEdit->setMaxLength(calc::kTextLimit);
    speedEdit->setPlaceholderText(QStringLiteral("не задана"));
    speedUnitBox = named(new QComboBox, "speedUnitBox");
    speedUnitBox->addItem(QStringLiteral("Гц"), int(machine::SpeedUnit::Hertz));
    speedUnitBox->addItem(QStringLiteral("об/мин"), int(machine::SpeedUnit::PerMinute));
    writeButton = named(new QPushButton(QStringLiteral("Записать цепь в пары")), "writeButton");
    writeButton->setToolTip(QStringLiteral("Fr1 пары 1 и каждой следующей пары — по заданной "
                                           "скорости; пара на экране пересчитывается"));
    h->addWidget(kit::plainLabel(QStringLiteral("Известная скорость:")));
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
