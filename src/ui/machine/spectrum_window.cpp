// The spectrum window: its regions, its inputs and the settings it keeps.
// The commands are in spectrum_window_actions.cpp.
#include "ui/machine/spectrum_window.h"

#include "calc/input_text.h"
#include "settings/safe_read.h"
#include "settings/safe_write.h"
#include "settings/user_preferences.h"
#include "ui/kit/plain_text.h"
#include "ui/kit/widget_kit.h"
#include "ui/machine/spectrum_plot.h"
#include "ui/machine/text_table_model.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

template <class W> W *named(W *w, const char *name) {
    w->setObjectName(QLatin1String(name));
    return w;
}

QComboBox *comboBox(const char *name, const QStringList &items) {
    auto *box = named(new QComboBox, name);
    box->addItems(items);
    return box;
}

QSpinBox *spinBox(const char *name, int low, int high) {
    auto *box = named(new QSpinBox, name);
    box->setRange(low, high);
    return box;
}

QTableView *tableView(const char *name, TextTableModel *model) {
    auto *view = named(new QTableView, name);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->verticalHeader()->hide();
    // The names take the room; the numbers keep to their texts.
    QObject::connect(model, &QAbstractItemModel::modelReset, view, [view] {
        view->resizeColumnsToContents();
        view->horizontalHeader()->setStretchLastSection(true);
    });
    return view;
}

QString settingsFile() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("spectrum.json"));
}

// A labelled row of widgets.
QWidget *row(std::initializer_list<QWidget *> widgets) {
    auto *w = new QWidget;
    auto *layout = new QHBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget *child : widgets)
        layout->addWidget(child);
    layout->addStretch();
    return w;
}

} // namespace

SpectrumWindow::SpectrumWindow(SpectrumHost *h, QWidget *parent)
    : QWidget(parent, Qt::Window), host(h) {
    setObjectName(QStringLiteral("SpectrumWindow"));
    setWindowTitle(QStringLiteral("Спектр"));
    setFont(kit::sansFont(13));
    setAcceptDrops(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildSourceRow());
    layout->addWidget(buildTransformRow());
    messageLabel = named(kit::plainLabel({}), "messageLabel");
    messageLabel->setWordWrap(true);
    messageLabel->hide();
    layout->addWidget(messageLabel);
    auto *split = new QSplitter(Qt::Vertical);
    auto *top = new QSplitter(Qt::Horizontal);
    plot = new SpectrumPlot;
    plot->setMinimumSize(400, 260);
    top->addWidget(plot);
    // On a low screen the panel scrolls rather than pushing the window
    // past the screen's edge.
    auto *side = sidePanel = new QScrollArea;
    side->setObjectName(QStringLiteral("sidePanelScroll"));
    side->setFrameShape(QFrame::NoFrame);
    side->setWidgetResizable(true);
    side->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    side->setWidget(buildSidePanel());
    side->setMinimumWidth(side->widget()->minimumSizeHint().width() +
                          side->verticalScrollBar()->sizeHint().width());
    top->addWidget(side);
    top->setStretchFactor(0, 1);
    split->addWidget(top);
    tabs = named(new QTabWidget, "tabs");
    tabs->addTab(buildPeakTab(), QStringLiteral("Пики"));
    tabs->addTab(buildPickedTab(), QStringLiteral("Выбранный пик"));
    split->addWidget(tabs);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);
    readSettings();
    applySettings();
    connectInputs();
    // As large as the plot wants where the screen allows it.
    // As large as the plot wants where the screen allows it.
    QSize size(1100, 860);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 60));
    resize(size);
    fitSidePanel();
    machineChanged();
}

SpectrumWindow::~SpectrumWindow() = default;

// The side panel whole where the screen has the room (the window grows to
// it), else as much of it as leaves the rows and the tables on the screen,
// the rest scrolled to.
void SpectrumWindow::fitSidePanel() {
    int room = QWIDGETSIZE_MAX;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        room = screen->availableGeometry().height() - 360; // rows, tables and the frame
    // Wrapped texts take a few lines more than their hint at the panel's width.
    const int whole = sidePanel->widget()->sizeHint().height() + 4 * fontMetrics().lineSpacing();
    sidePanel->setMinimumHeight(std::min(whole, std::max(room, 200)));
}

// The measurement and how its text is read, in one row.
QWidget *SpectrumWindow::buildSourceRow() {
    openButton = named(new QPushButton(QStringLiteral("Открыть измерение…")), "openButton");
    fileLabel = named(kit::plainLabel(QStringLiteral("Измерение не открыто. Перетащите файл в "
                                                     "окно или нажмите «Открыть измерение…».")),
                      "fileLabel");
    fileLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    resolutionLabel = named(kit::plainLabel(QStringLiteral("Δf —")), "resolutionLabel");
    auto *w = new QWidget;
    auto *layout = new QHBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(openButton);
    layout->addWidget(fileLabel, 1);
    layout->addWidget(resolutionLabel);
    return w;
}

// The reading of text files and the spectrum of a waveform, in two rows.
QWidget *SpectrumWindow::buildTransformRow() {
    textUnitBox = comboBox("textUnitBox", {QStringLiteral("Гц"), QStringLiteral("об/мин (CPM)"),
                                           QStringLiteral("порядки")});
    textShaftBox = named(new QComboBox, "textShaftBox");
    for (int k = 1; k <= machine::kShaftLimit; ++k)
        textShaftBox->addItem(QStringLiteral("вала %1").arg(k), k);
    sampleRateEdit = named(new QLineEdit, "sampleRateEdit");
    sampleRateEdit->setMaxLength(calc::kTextLimit);
    sampleRateEdit->setPlaceholderText(QStringLiteral("для столбца отсчётов"));
    windowBox = comboBox("windowBox", {spectrum::windowName(spectrum::Window::Hann),
                                       spectrum::windowName(spectrum::Window::FlatTop),
                                       spectrum::windowName(spectrum::Window::Rectangular)});
    linesBox = named(new QComboBox, "linesBox");
    for (const int n : spectrum::kLineChoices)
        linesBox->addItem(QString::number(n), n);
    overlapBox = named(new QComboBox, "overlapBox");
    for (const int p : spectrum::kOverlapChoices)
        overlapBox->addItem(QStringLiteral("%1 %").arg(p), p);
    amplitudeBox = comboBox("amplitudeBox", {QStringLiteral("СКЗ"), QStringLiteral("пик")});
    integrationBox =
        comboBox("integrationBox", {QStringLiteral("как в сигнале"), QStringLiteral("м/с² → мм/с"),
                                    QStringLiteral("g → мм/с")});
    envelopeBox = named(new QCheckBox(QStringLiteral("Огибающая, Гц:")), "envelopeBox");
    bandLowEdit = named(new QLineEdit, "bandLowEdit");
    bandHighEdit = named(new QLineEdit, "bandHighEdit");
    for (QLineEdit *e : {bandLowEdit, bandHighEdit, sampleRateEdit}) {
        e->setMaxLength(calc::kTextLimit);
        e->setFixedWidth(e == sampleRateEdit ? 150 : 70);
    }
    recomputeButton = named(new QPushButton(QStringLiteral("Пересчитать")), "recomputeButton");
    auto *w = new QWidget;
    auto *layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(row({kit::plainLabel(QStringLiteral("Частота в файле")), textUnitBox,
                           textShaftBox, kit::plainLabel(QStringLiteral("дискретизация, Гц")),
                           sampleRateEdit, kit::plainLabel(QStringLiteral("Окно")), windowBox,
                           kit::plainLabel(QStringLiteral("линий")), linesBox}));
    layout->addWidget(row({kit::plainLabel(QStringLiteral("Перекрытие")), overlapBox,
                           kit::plainLabel(QStringLiteral("амплитуда")), amplitudeBox,
                           integrationBox, envelopeBox, bandLowEdit,
                           kit::plainLabel(QStringLiteral("—")), bandHighEdit, recomputeButton}));
    return w;
}

QWidget *SpectrumWindow::buildSidePanel() {
    auto *panel = new QWidget;
    auto *layout = new QVBoxLayout(panel);
    logBox = named(new QCheckBox(QStringLiteral("Логарифмическая шкала")), "logBox");
    labelsBox = named(new QCheckBox(QStringLiteral("Подписи линий на графике")), "labelsBox");
    familiesGroup = named(new QGroupBox(QStringLiteral("Линии агрегата")), "familiesGroup");
    familiesLayout = new QGridLayout(familiesGroup);
    toleranceEdit = named(new QLineEdit, "toleranceEdit");
    toleranceEdit->setMaxLength(calc::kTextLimit);
    toleranceEdit->setPlaceholderText(QStringLiteral("Δf"));
    toleranceUnitBox = comboBox("toleranceUnitBox", {QStringLiteral("Гц"), QStringLiteral("%")});
    maxHarmonicBox = spinBox("maxHarmonicBox", 1, machine::kHarmonicLimit);
    maxSidebandBox = spinBox("maxSidebandBox", 0, machine::kSidebandLimit);
    layout->addWidget(logBox);
    layout->addWidget(labelsBox);
    layout->addWidget(familiesGroup);
    layout->addWidget(
        row({kit::plainLabel(QStringLiteral("Допуск ±")), toleranceEdit, toleranceUnitBox}));
    layout->addWidget(row({kit::plainLabel(QStringLiteral("Гармоник")), maxHarmonicBox,
                           kit::plainLabel(QStringLiteral("боковых")), maxSidebandBox}));
    layout->addWidget(buildCursorGroup());
    readoutLabel = named(kit::plainLabel({}), "readoutLabel");
    readoutLabel->setWordWrap(true);
    readoutLabel->setMinimumHeight(3 * readoutLabel->fontMetrics().lineSpacing());
    layout->addWidget(readoutLabel);
    layout->addStretch();
    panel->setMinimumWidth(260);
    return panel;
}

QWidget *SpectrumWindow::buildCursorGroup() {
    auto *group = named(new QGroupBox(QStringLiteral("Курсор")), "cursorGroup");
    auto *layout = new QVBoxLayout(group);
    cursorGroup = new QButtonGroup(group);
    const std::pair<const char *, QString> modes[] = {
        {"cursorNone", QStringLiteral("Пик: щелчок называет его")},
        {"cursorHarmonic", QStringLiteral("Гармоники: 1…n × пик")},
        {"cursorSideband", QStringLiteral("Боковые: центр, затем боковая")},
    };
    int id = 0;
    for (const auto &[name, caption] : modes) {
        auto *button = named(new QRadioButton(caption), name);
        cursorGroup->addButton(button, id++);
        layout->addWidget(button);
    }
    cursorGroup->button(0)->setChecked(true);
    harmonicCountBox = spinBox("harmonicCountBox", 2, 50);
    harmonicCountBox->setValue(10);
    sidebandCountBox = spinBox("sidebandCountBox", 1, 20);
    sidebandCountBox->setValue(5);
    layout->addWidget(row({kit::plainLabel(QStringLiteral("n")), harmonicCountBox,
                           kit::plainLabel(QStringLiteral("± m")), sidebandCountBox}));
    cursorLabel = named(kit::plainLabel({}), "cursorLabel");
    cursorLabel->setWordWrap(true);
    // Room for both cursors' texts without the panel growing as they come.
    cursorLabel->setMinimumHeight(3 * cursorLabel->fontMetrics().lineSpacing());
    layout->addWidget(cursorLabel);
    spacingButton =
        named(new QPushButton(QStringLiteral("Расстояние → поиск по агрегату")), "spacingButton");
    spacingButton->setEnabled(false);
    layout->addWidget(spacingButton);
    auto *clear = named(new QPushButton(QStringLiteral("Убрать курсоры")), "clearCursorsButton");
    connect(clear, &QPushButton::clicked, this, &SpectrumWindow::clearCursors);
    layout->addWidget(clear);
    return group;
}

QWidget *SpectrumWindow::buildPeakTab() {
    auto *w = new QWidget;
    auto *layout = new QVBoxLayout(w);
    thresholdBox = named(new QDoubleSpinBox, "thresholdBox");
    thresholdBox->setRange(0.0, 100.0);
    thresholdBox->setDecimals(1);
    thresholdBox->setSuffix(QStringLiteral(" дБ"));
    countBox = spinBox("countBox", 1, spectrum::kPeakCountLimit);
    auto *exportTableButton =
        named(new QPushButton(QStringLiteral("Экспорт таблицы…")), "exportTableButton");
    auto *exportPictureButton =
        named(new QPushButton(QStringLiteral("Сохранить рисунок…")), "exportPictureButton");
    layout->addWidget(row({kit::plainLabel(QStringLiteral("Пики выше фона на")), thresholdBox,
                           kit::plainLabel(QStringLiteral("не больше")), countBox,
                           exportTableButton, exportPictureButton}));
    peakModel = new TextTableModel(this);
    peakView = tableView("peakView", peakModel);
    layout->addWidget(peakView, 1);
    connect(exportTableButton, &QPushButton::clicked, this, [this] {
        // The convention the train table's export offers first (the one
        // chosen there last); the program keeps that choice.
        int convention =
            settings::internationalCsvFirst(settings::readPreferences(settings::preferencesPath(
                QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))))
                ? 1
                : 0;
        const QString path =
            chooseSaveFile(QStringLiteral("Экспорт таблицы пиков"), machine::csvFilters(),
                           QStringLiteral("csv"), &convention);
        if (!path.isEmpty())
            exportTable(path, machine::csvConventionOfFilter(convention));
    });
    connect(exportPictureButton, &QPushButton::clicked, this, [this] {
        const QString path = chooseSaveFile(
            QStringLiteral("Сохранить рисунок"),
            QStringLiteral("Рисунок PNG (*.png);;Рисунок SVG (*.svg);;Документ PDF (*.pdf)"),
            QStringLiteral("png"));
        if (!path.isEmpty())
            exportPicture(path);
    });
    return w;
}

QWidget *SpectrumWindow::buildPickedTab() {
    auto *w = new QWidget;
    auto *layout = new QVBoxLayout(w);
    pickedLabel = named(kit::plainLabel(QStringLiteral("Щёлкните пик на графике или строку "
                                                       "таблицы пиков.")),
                        "pickedLabel");
    pickedLabel->setWordWrap(true);
    matchModel = new TextTableModel(this);
    matchView = tableView("matchView", matchModel);
    speedButton = named(new QPushButton(QStringLiteral("Это она: поправить скорость по пику…")),
                        "speedButton");
    speedButton->setEnabled(false);
    layout->addWidget(pickedLabel);
    layout->addWidget(matchView, 1);
    layout->addWidget(row({speedButton}));
    return w;
}

// --- settings

void SpectrumWindow::readSettings() {
    const settings::ReadOutcome read =
        settings::readFilePrefix(settingsFile(), spectrum::kViewSettingsByteLimit);
    settings = read.opened ? spectrum::readViewSettings(read.bytes) : spectrum::ViewSettings{};
}

void SpectrumWindow::writeSettings() const {
    const QString file = settingsFile();
    QDir().mkpath(QFileInfo(file).absolutePath());
    // Settings are a convenience: a folder that takes no file loses them quietly.
    settings::writeFile(file, spectrum::viewSettingsBytes(settings));
}

void SpectrumWindow::applySettings() {
    const spectrum::TransformSettings &t = settings.transform;
    windowBox->setCurrentIndex(int(t.window));
    linesBox->setCurrentIndex(linesBox->findData(t.lines));
    overlapBox->setCurrentIndex(overlapBox->findData(t.overlapPercent));
    amplitudeBox->setCurrentIndex(int(t.amplitude));
    integrationBox->setCurrentIndex(int(t.integration));
    envelopeBox->setChecked(t.envelope);
    bandLowEdit->setText(calc::generalDecimal(t.bandLow));
    bandHighEdit->setText(calc::generalDecimal(t.bandHigh));
    textUnitBox->setCurrentIndex(int(settings.textUnit));
    textShaftBox->setCurrentIndex(settings.textOrdersShaft - 1);
    sampleRateEdit->setText(settings.sampleRate);
    logBox->setChecked(settings.logarithmic);
    plot->setLogarithmic(settings.logarithmic);
    labelsBox->setChecked(settings.labels);
    plot->marks->labels = settings.labels;
    thresholdBox->setValue(settings.peaks.thresholdDb);
    countBox->setValue(settings.peaks.maxCount);
    maxHarmonicBox->setValue(settings.maxHarmonic);
    maxSidebandBox->setValue(settings.maxSideband);
}

spectrum::TransformSettings SpectrumWindow::transformInput() const {
    spectrum::TransformSettings t;
    t.window = spectrum::Window(windowBox->currentIndex());
    t.lines = linesBox->currentData().toInt();
    t.overlapPercent = overlapBox->currentData().toInt();
    t.amplitude = spectrum::Amplitude(amplitudeBox->currentIndex());
    t.integration = spectrum::Integration(integrationBox->currentIndex());
    t.envelope = envelopeBox->isChecked();
    const calc::ParsedNumber low = calc::readNumber(bandLowEdit->text());
    const calc::ParsedNumber high = calc::readNumber(bandHighEdit->text());
    // An unreadable band is refused by the transform with its message.
    t.bandLow = low.status == 0 ? low.value : -1.0;
    t.bandHigh = high.status == 0 ? high.value : -1.0;
    return t;
}

spectrum::TextOptions SpectrumWindow::textOptions() const {
    spectrum::TextOptions o;
    o.unit = spectrum::FrequencyUnit(textUnitBox->currentIndex());
    o.ordersHertz = train.shaft(textShaftBox->currentIndex() + 1).value_or(0.0);
    const calc::ParsedNumber rate = calc::readNumber(sampleRateEdit->text());
    o.sampleRate = rate.status == 0 ? rate.value : 0.0;
    return o;
}

void SpectrumWindow::connectInputs() {
    connect(openButton, &QPushButton::clicked, this, &SpectrumWindow::chooseFile);
    connect(recomputeButton, &QPushButton::clicked, this, &SpectrumWindow::recompute);
    // A change of the transform redraws a waveform's spectrum at once.
    const auto redo = [this] {
        if (measurement && measurement->waveform)
            recompute();
    };
    for (QComboBox *b : {windowBox, linesBox, overlapBox, amplitudeBox, integrationBox})
        connect(b, &QComboBox::currentIndexChanged, this, redo);
    connect(envelopeBox, &QCheckBox::toggled, this, redo);
    for (QLineEdit *e : {bandLowEdit, bandHighEdit})
        connect(e, &QLineEdit::editingFinished, this, redo);
    connect(plot, &SpectrumPlot::clickedAt, this, [this](double x) { clickAt(x / unitScale()); });
    connect(plot, &SpectrumPlot::hoveredAt, this, &SpectrumWindow::hovered);
    connect(logBox, &QCheckBox::toggled, this, [this](bool on) {
        settings.logarithmic = on;
        plot->setLogarithmic(on);
        show(shown, {});
    });
    connect(labelsBox, &QCheckBox::toggled, this, [this](bool on) {
        settings.labels = on;
        plot->marks->labels = on;
        plot->replot();
    });
    for (QLineEdit *e : {toleranceEdit})
        connect(e, &QLineEdit::editingFinished, this, &SpectrumWindow::machineChanged);
    connect(toleranceUnitBox, &QComboBox::currentIndexChanged, this,
            &SpectrumWindow::machineChanged);
    for (QSpinBox *b : {maxHarmonicBox, maxSidebandBox})
        connect(b, &QSpinBox::valueChanged, this, &SpectrumWindow::machineChanged);
    connect(thresholdBox, &QDoubleSpinBox::valueChanged, this, &SpectrumWindow::refreshPeaks);
    connect(countBox, &QSpinBox::valueChanged, this, &SpectrumWindow::refreshPeaks);
    connect(cursorGroup, &QButtonGroup::idClicked, this, [this](int id) {
        cursorMode = CursorMode(id);
        refreshCursors();
    });
    for (QSpinBox *b : {harmonicCountBox, sidebandCountBox})
        connect(b, &QSpinBox::valueChanged, this, &SpectrumWindow::refreshCursors);
    connect(spacingButton, &QPushButton::clicked, this, &SpectrumWindow::sendSpacing);
    connect(speedButton, &QPushButton::clicked, this, &SpectrumWindow::adjustSpeed);
    connect(peakView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &SpectrumWindow::peakRowChosen);
    connect(matchView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { speedButton->setEnabled(matchView->currentIndex().isValid()); });
    connect(matchView, &QTableView::activated, this, &SpectrumWindow::adjustSpeed);
}
