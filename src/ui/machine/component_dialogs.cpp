// The stage and bearing dialogs: fields, live verdict, OK.
#include "ui/machine/component_dialogs.h"

#include "calc/input_text.h"
#include "machine/bearing.h"
#include "machine/stages.h"
#include "machine/train_table.h"
#include "ui/kit/accessible_windows.h"
#include "ui/kit/plain_text.h"
#include "ui/kit/widget_kit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

template <class W> W *named(W *w, const char *name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLineEdit *numberEdit(const char *name, const QString &accessible) {
    auto *edit = named(new QLineEdit, name);
    edit->setAccessibleName(accessible);
    edit->setValidator(new kit::CharacterLimit(calc::kTextLimit, edit));
    return edit;
}

QSpinBox *teethBox(const char *name, int value, int limit, const QString &accessible) {
    auto *box = named(new QSpinBox, name);
    box->setRange(1, limit);
    box->setValue(value);
    box->setAccessibleName(accessible);
    return box;
}

QComboBox *memberBox(const char *name, machine::Member chosen, const QString &accessible) {
    auto *box = named(new QComboBox, name);
    for (int m = 0; m < machine::kMemberCount; ++m)
        box->addItem(machine::memberName(static_cast<machine::Member>(m)), m);
    box->setCurrentIndex(box->findData(int(chosen)));
    kit::nameByRole(box, accessible);
    return box;
}

// A row whose label is plain text and moves the focus to its field.
void addRow(QFormLayout *form, const QString &text, QWidget *field) {
    QLabel *label = kit::plainLabel(text);
    label->setBuddy(field);
    form->addRow(label, field);
}
void addRow(QFormLayout *form, const QString &text, QLayout *fields) {
    form->addRow(kit::plainLabel(text), fields);
}

QLabel *verdict() {
    auto *label = named(kit::plainLabel({}), "verdictLabel");
    label->setWordWrap(true);
    return label;
}

// OK and "Отмена" that accept and reject `dialog`.
QDialogButtonBox *okCancel(QDialog *dialog) {
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QString factorsText(const machine::BearingFactors &f) {
    const auto n = [](double v) { return machine::significantText(v, 6); };
    return QStringLiteral("Кратно частоте вращения: FTF %1, BPFO %2, BPFI %3, BSF %4, 2·BSF %5.")
        .arg(n(f.ftf), n(f.bpfo), n(f.bpfi), n(f.bsf), n(2 * f.bsf));
}

} // namespace

// --- the stages

StageDialog::StageDialog(QWidget *parent, const QString &title, int shafts) : QDialog(parent) {
    setWindowTitle(title);
    if (shafts > 0) {
        placeBox = named(new QComboBox, "placeBox");
        for (int s = 1; s <= shafts; ++s)
            placeBox->addItem(QStringLiteral("после вала %1").arg(s), s);
        placeBox->setCurrentIndex(placeBox->count() - 1);
        kit::nameByRole(placeBox, QStringLiteral("Место в цепи"));
    }
    verdictLabel = verdict();
    buttons = okCancel(this);
}

void StageDialog::finish(QFormLayout *form) {
    if (placeBox)
        addRow(form, QStringLiteral("&Место в цепи:"), placeBox);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(verdictLabel);
    layout->addStretch();
    layout->addWidget(buttons);
}

int StageDialog::afterShaft() const {
    return placeBox ? placeBox->currentData().toInt() : 0;
}

void StageDialog::showVerdict(const QString &problem, const QString &good) {
    verdictLabel->setText(problem.isEmpty() ? good : problem);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}

PlanetaryDialog::PlanetaryDialog(QWidget *parent, const machine::PlanetaryStage &s, int shafts)
    : StageDialog(parent, QStringLiteral("Планетарная ступень"), shafts) {
    using machine::kPlanetaryTeethLimit;
    sunBox = teethBox("sunBox", s.sun, kPlanetaryTeethLimit, QStringLiteral("Зубья солнца Zs"));
    planetBox =
        teethBox("planetBox", s.planet, kPlanetaryTeethLimit, QStringLiteral("Зубья сателлита Zp"));
    ringBox = teethBox("ringBox", s.ring, kPlanetaryTeethLimit,
                       QStringLiteral("Зубья венца Zr (внутренние)"));
    planetsBox =
        teethBox("planetsBox", s.planets, machine::kPlanetLimit, QStringLiteral("Сателлитов N"));
    fixedBox = memberBox("fixedBox", s.fixed, QStringLiteral("Неподвижное звено"));
    inputBox = memberBox("inputBox", s.input, QStringLiteral("Звено на валу до ступени"));
    auto *form = new QFormLayout;
    addRow(form, QStringLiteral("Зубья &солнца Zs:"), sunBox);
    addRow(form, QStringLiteral("Зубья с&ателлита Zp:"), planetBox);
    addRow(form, QStringLiteral("Зубья &венца Zr:"), ringBox);
    addRow(form, QStringLiteral("Са&теллитов N:"), planetsBox);
    addRow(form, QStringLiteral("&Неподвижно:"), fixedBox);
    addRow(form, QStringLiteral("Ведущее &звено (вал до ступени):"), inputBox);
    finish(form);
    for (QSpinBox *box : {sunBox, planetBox, ringBox, planetsBox})
        connect(box, &QSpinBox::valueChanged, this, &PlanetaryDialog::check);
    for (QComboBox *box : {fixedBox, inputBox})
        connect(box, &QComboBox::currentIndexChanged, this, &PlanetaryDialog::check);
    check();
}

machine::PlanetaryStage PlanetaryDialog::stage() const {
    machine::PlanetaryStage s;
    s.sun = sunBox->value();
    s.planet = planetBox->value();
    s.ring = ringBox->value();
    s.planets = planetsBox->value();
    s.fixed = static_cast<machine::Member>(fixedBox->currentData().toInt());
    s.input = static_cast<machine::Member>(inputBox->currentData().toInt());
    return s;
}

void PlanetaryDialog::check() {
    const machine::PlanetaryStage s = stage();
    const QString problem = machine::planetaryProblem(s);
    QString good;
    if (problem.isEmpty()) {
        good = QStringLiteral("Выход: %1; передаточное отношение %2.")
                   .arg(machine::memberName(machine::outputMember(s)),
                        machine::significantText(machine::planetaryRatio(s), 6));
        for (const QString &remark : machine::planetaryRemarks(s))
            good += QLatin1Char(' ') + remark;
    }
    showVerdict(problem, good);
}

BeltDialog::BeltDialog(QWidget *parent, const machine::BeltStage &belt, int shafts)
    : StageDialog(parent, QStringLiteral("Ремённая передача"), shafts) {
    drivingEdit = numberEdit("drivingEdit", QStringLiteral("Диаметр ведущего шкива D1, мм"));
    drivenEdit = numberEdit("drivenEdit", QStringLiteral("Диаметр ведомого шкива D2, мм"));
    lengthEdit = numberEdit("lengthEdit", QStringLiteral("Длина ремня L, мм"));
    slipEdit = numberEdit("slipEdit", QStringLiteral("Проскальзывание, %"));
    slipEdit->setPlaceholderText(QStringLiteral("нет"));
    const machine::BeltTexts t = machine::beltTexts(belt);
    drivingEdit->setText(belt.driving > 0 ? t.driving : QString());
    drivenEdit->setText(belt.driven > 0 ? t.driven : QString());
    lengthEdit->setText(belt.length > 0 ? t.length : QString());
    slipEdit->setText(t.slip);
    auto *form = new QFormLayout;
    addRow(form, QStringLiteral("Ведущий шкив D&1, мм (расчётный):"), drivingEdit);
    addRow(form, QStringLiteral("Ведомый шкив D&2, мм (расчётный):"), drivenEdit);
    addRow(form, QStringLiteral("&Длина ремня L, мм (расчётная):"), lengthEdit);
    addRow(form, QStringLiteral("&Проскальзывание, %:"), slipEdit);
    finish(form);
    for (QLineEdit *edit : {drivingEdit, drivenEdit, lengthEdit, slipEdit})
        connect(edit, &QLineEdit::textChanged, this, &BeltDialog::check);
    check();
}

machine::BeltStage BeltDialog::belt() const {
    return machine::readBelt(
               {drivingEdit->text(), drivenEdit->text(), lengthEdit->text(), slipEdit->text()})
        .belt.value_or(machine::BeltStage{});
}

void BeltDialog::check() {
    const machine::BeltRead read = machine::readBelt(
        {drivingEdit->text(), drivenEdit->text(), lengthEdit->text(), slipEdit->text()});
    QString good;
    if (read.belt) {
        good = QStringLiteral("Передаточное отношение %1; частота ремня %2 частоты ведущего вала.")
                   .arg(machine::significantText(machine::beltRatio(*read.belt), 6),
                        machine::significantText(machine::beltFigures(*read.belt, 1).beltPass, 6));
        for (const QString &remark : machine::beltRemarks(*read.belt))
            good += QLatin1Char(' ') + remark;
    }
    showVerdict(read.error, good);
}

// --- the bearing

BearingDialog::BearingDialog(QWidget *parent, const machine::MountedBearing &mounted,
                             const std::vector<BearingPlace> &places,
                             const std::vector<machine::Bearing> &libraryBearings,
                             const QString &libraryProblem)
    : QDialog(parent), library(libraryBearings) {
    setWindowTitle(QStringLiteral("Подшипник"));
    placeBox = named(new QComboBox, "placeBox");
    for (const BearingPlace &p : places) {
        placeBox->addItem(p.text, QVariant::fromValue(QPoint(p.shaft, p.planetsOf)));
        if (p.shaft == mounted.shaft && p.planetsOf == mounted.planetsOf)
            placeBox->setCurrentIndex(placeBox->count() - 1);
    }
    kit::nameByRole(placeBox, QStringLiteral("Где стоит подшипник"));

    libraryBox = named(new QComboBox, "libraryBox");
    libraryBox->addItem(QStringLiteral("—"));
    for (const machine::Bearing &b : library)
        libraryBox->addItem(b.designation);
    libraryBox->setEnabled(!library.empty());
    kit::nameByRole(libraryBox, QStringLiteral("Подшипник из библиотеки"));

    designationEdit = named(new QLineEdit, "designationEdit");
    designationEdit->setAccessibleName(QStringLiteral("Обозначение"));
    designationEdit->setValidator(new kit::CharacterLimit(machine::kDesignationLimit, this));
    designationEdit->setPlaceholderText(QStringLiteral("например, 6205-2RS"));

    geometryButton = named(new QRadioButton(QStringLiteral("по &геометрии")), "geometryButton");
    catalogueButton =
        named(new QRadioButton(QStringLiteral("по &коэффициентам каталога")), "catalogueButton");
    auto *kindRow = new QHBoxLayout;
    kindRow->addWidget(geometryButton);
    kindRow->addWidget(catalogueButton);
    kindRow->addStretch();

    kinds = buildKinds();

    turningBox = named(new QComboBox, "turningBox");
    turningBox->addItem(QStringLiteral("внутреннее (наружное неподвижно)"),
                        int(machine::TurningRing::Inner));
    turningBox->addItem(QStringLiteral("наружное (внутреннее неподвижно)"),
                        int(machine::TurningRing::Outer));
    kit::nameByRole(turningBox, QStringLiteral("Какое кольцо вращается"));

    libraryCheck =
        named(new QCheckBox(QStringLiteral("Со&хранить в библиотеке подшипников")), "libraryCheck");
    verdictLabel = verdict();
    buttons = okCancel(this);

    layOut(kindRow, libraryProblem);

    showTexts(machine::bearingTexts(mounted.bearing));
    if (mounted.bearing.byGeometry && mounted.bearing.geometry.elements == 0)
        for (QLineEdit *e : {elementsEdit, elementDiameterEdit, pitchDiameterEdit, angleEdit})
            e->clear();
    connectFields();
    check();
}

// The bearing's two ways of being given: its geometry, or a catalogue's
// factors with what the catalogue means by BSF.
QStackedWidget *BearingDialog::buildKinds() {
    elementsEdit = numberEdit("elementsEdit", QStringLiteral("Тел качения Z"));
    elementDiameterEdit =
        numberEdit("elementDiameterEdit", QStringLiteral("Диаметр тела качения d, мм"));
    pitchDiameterEdit =
        numberEdit("pitchDiameterEdit", QStringLiteral("Диаметр окружности центров D, мм"));
    angleEdit = numberEdit("angleEdit", QStringLiteral("Угол контакта φ, градусы"));
    angleEdit->setPlaceholderText(QStringLiteral("0"));
    auto *geometry = new QWidget;
    auto *g = new QFormLayout(geometry);
    g->setContentsMargins(0, 0, 0, 0);
    addRow(g, QStringLiteral("Тел качения &Z:"), elementsEdit);
    addRow(g, QStringLiteral("Диаметр тела качения &d, мм:"), elementDiameterEdit);
    addRow(g, QStringLiteral("Диаметр окружности &центров D, мм:"), pitchDiameterEdit);
    addRow(g, QStringLiteral("&Угол контакта φ, °:"), angleEdit);

    ftfEdit = numberEdit("ftfEdit", QStringLiteral("FTF, кратно частоте вала"));
    bpfoEdit = numberEdit("bpfoEdit", QStringLiteral("BPFO, кратно частоте вала"));
    bpfiEdit = numberEdit("bpfiEdit", QStringLiteral("BPFI, кратно частоте вала"));
    bsfEdit = numberEdit("bsfEdit", QStringLiteral("BSF, кратно частоте вала"));
    spinBox = named(new QComboBox, "spinBox");
    spinBox->addItem(QStringLiteral("BSF — вращение тела (удар об одно кольцо)"),
                     int(machine::SpinConvention::Spin));
    spinBox->addItem(QStringLiteral("в каталоге 2·BSF (удар об оба кольца)"),
                     int(machine::SpinConvention::BothRings));
    kit::nameByRole(spinBox, QStringLiteral("Что каталог называет BSF"));
    auto *catalogue = new QWidget;
    auto *c = new QFormLayout(catalogue);
    c->setContentsMargins(0, 0, 0, 0);
    addRow(c, QStringLiteral("&FTF:"), ftfEdit);
    addRow(c, QStringLiteral("BPF&O:"), bpfoEdit);
    addRow(c, QStringLiteral("BPF&I:"), bpfiEdit);
    addRow(c, QStringLiteral("&BSF:"), bsfEdit);
    addRow(c, QStringLiteral("BSF в каталоге:"), spinBox);
    auto *stack = new QStackedWidget;
    stack->addWidget(geometry);
    stack->addWidget(catalogue);
    return stack;
}

// The fields top to bottom, the library's trouble (if any) and the verdict
// above the buttons.
void BearingDialog::layOut(QLayout *kindRow, const QString &libraryProblem) {
    auto *form = new QFormLayout;
    addRow(form, QStringLiteral("&Место:"), placeBox);
    addRow(form, QStringLiteral("&Библиотека:"), libraryBox);
    addRow(form, QStringLiteral("&Обозначение:"), designationEdit);
    addRow(form, QStringLiteral("Задан:"), kindRow);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(kinds);
    auto *tail = new QFormLayout;
    addRow(tail, QStringLiteral("&Вращается кольцо:"), turningBox);
    layout->addLayout(tail);
    layout->addWidget(libraryCheck);
    if (!libraryProblem.isEmpty()) {
        QLabel *said = named(kit::plainLabel(libraryProblem), "libraryProblemLabel");
        said->setWordWrap(true);
        layout->addWidget(said);
    }
    layout->addWidget(verdictLabel);
    layout->addStretch();
    layout->addWidget(buttons);
}

void BearingDialog::connectFields() {
    connect(libraryBox, &QComboBox::activated, this, [this](int i) {
        if (i >= 1 && i - 1 < static_cast<int>(library.size()))
            showTexts(machine::bearingTexts(library[std::size_t(i - 1)]));
    });
    connect(geometryButton, &QRadioButton::toggled, this, [this](bool on) {
        kinds->setCurrentIndex(on ? 0 : 1);
        check();
    });
    for (QLineEdit *e : {designationEdit, elementsEdit, elementDiameterEdit, pitchDiameterEdit,
                         angleEdit, ftfEdit, bpfoEdit, bpfiEdit, bsfEdit})
        connect(e, &QLineEdit::textChanged, this, &BearingDialog::check);
    for (QComboBox *box : {spinBox, turningBox})
        connect(box, &QComboBox::currentIndexChanged, this, &BearingDialog::check);
}

machine::BearingTexts BearingDialog::texts() const {
    machine::BearingTexts t;
    t.designation = designationEdit->text();
    t.byGeometry = geometryButton->isChecked();
    t.elements = elementsEdit->text();
    t.elementDiameter = elementDiameterEdit->text();
    t.pitchDiameter = pitchDiameterEdit->text();
    t.contactAngle = angleEdit->text();
    t.ftf = ftfEdit->text();
    t.bpfo = bpfoEdit->text();
    t.bpfi = bpfiEdit->text();
    t.bsf = bsfEdit->text();
    t.catalogueSpin = static_cast<machine::SpinConvention>(spinBox->currentData().toInt());
    t.turning = static_cast<machine::TurningRing>(turningBox->currentData().toInt());
    return t;
}

void BearingDialog::showTexts(const machine::BearingTexts &t) {
    designationEdit->setText(t.designation);
    (t.byGeometry ? geometryButton : catalogueButton)->setChecked(true);
    kinds->setCurrentIndex(t.byGeometry ? 0 : 1);
    const std::pair<QLineEdit *, QString> fields[] = {{elementsEdit, t.elements},
                                                      {elementDiameterEdit, t.elementDiameter},
                                                      {pitchDiameterEdit, t.pitchDiameter},
                                                      {angleEdit, t.contactAngle},
                                                      {ftfEdit, t.ftf},
                                                      {bpfoEdit, t.bpfo},
                                                      {bpfiEdit, t.bpfi},
                                                      {bsfEdit, t.bsf}};
    for (const auto &[edit, text] : fields)
        edit->setText(text);
    spinBox->setCurrentIndex(spinBox->findData(int(t.catalogueSpin)));
    turningBox->setCurrentIndex(turningBox->findData(int(t.turning)));
    check();
}

machine::MountedBearing BearingDialog::mounted() const {
    machine::MountedBearing m;
    const QPoint place = placeBox->currentData().toPoint();
    m.shaft = place.x();
    m.planetsOf = place.y();
    m.bearing = machine::readBearing(texts()).bearing.value_or(machine::Bearing{});
    return m;
}

bool BearingDialog::keepInLibrary() const {
    return libraryCheck->isChecked();
}

void BearingDialog::check() {
    const machine::BearingRead read = machine::readBearing(texts());
    QString text = read.error;
    if (read.bearing) {
        text = factorsText(machine::bearingFactors(*read.bearing));
        for (const QString &remark : machine::bearingRemarks(*read.bearing))
            text += QLatin1Char(' ') + remark;
    }
    verdictLabel->setText(text);
    const bool placed = placeBox->count() > 0;
    if (!placed)
        verdictLabel->setText(QStringLiteral("В машине ещё нет валов: сначала рассчитайте пару "
                                             "или добавьте ступень."));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(read.bearing.has_value() && placed);
}
