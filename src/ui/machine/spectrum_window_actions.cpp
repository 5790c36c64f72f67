// The spectrum window's commands: opening a measurement, the transform, the
// machine's lines, the peaks and their explanations, the cursors, the
// exports and the speed from a peak. The core reads, computes and writes
// every number; this file moves them between the core and the widgets.
#include "calc/input_text.h"
#include "machine/identify_text.h"
#include "machine/train_table.h"
#include "settings/safe_write.h"
#include "spectrum/file_reader.h"
#include "spectrum/speed_from_peak.h"
#include "ui/kit/plain_text.h"
#include "ui/kit/widget_kit.h"
#include "ui/machine/spectrum_plot.h"
#include "ui/machine/spectrum_window.h"
#include "ui/machine/text_table_model.h"

#include <QBuffer>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPdfWriter>
#include <QPushButton>
#include <QSpinBox>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTableView>
#include <QToolTip>
#include <cmath>

namespace {

// The families' colours, in the order the list brings them.
const QColor kFamilyColours[] = {
    QColor(0, 110, 0),   QColor(200, 0, 0),   QColor(230, 120, 0), QColor(0, 0, 200),
    QColor(140, 0, 160), QColor(0, 140, 160), QColor(120, 80, 0),  QColor(90, 90, 90),
};

// How near a click or the mouse must come to a line or a peak, in pixels.
constexpr double kReachPixels = 6.0;

QString number(double v, int digits = 6) {
    return machine::significantText(v, digits);
}

} // namespace

extern "C" Q_DECL_EXPORT int gearfreqSpectrumInterface() {
    return kSpectrumInterfaceVersion;
}

extern "C" Q_DECL_EXPORT SpectrumView *gearfreqCreateSpectrumView(SpectrumHost *host,
                                                                  QWidget *parent) {
    return new SpectrumWindow(host, parent);
}

// --- units

double SpectrumWindow::unitScale() const {
    return machine::toUnit(1.0, host->document().unit, train).value_or(1.0);
}

QString SpectrumWindow::unitName() const {
    const machine::UnitChoice unit = host->document().unit;
    return machine::toUnit(1.0, unit, train) ? machine::unitName(unit, false)
                                             : QStringLiteral("Гц");
}

bool SpectrumWindow::tolerancePercent() const {
    const calc::ParsedNumber t = calc::readNumber(toleranceEdit->text());
    return toleranceUnitBox->currentIndex() == 1 && t.status == 0 && t.value >= 0.0;
}

double SpectrumWindow::toleranceAt(double hertz) const {
    const calc::ParsedNumber t = calc::readNumber(toleranceEdit->text());
    if (t.status != 0 || !(t.value >= 0.0) || !std::isfinite(t.value))
        return shown.resolution;
    return tolerancePercent() ? hertz * t.value / 100.0 : t.value;
}

// --- opening and the transform

void SpectrumWindow::chooseFile() {
    QFileDialog dialog(this, QStringLiteral("Открыть измерение"), settings.folder,
                       QStringLiteral("Измерения (*.txt *.csv *.dat *.uff *.unv *.wav);;"
                                      "Все файлы (*)"));
    dialog.setObjectName(QStringLiteral("spectrumFileDialog"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        openFile(dialog.selectedFiles().constFirst());
}

bool SpectrumWindow::openFile(const QString &path) {
    const spectrum::ReadOutcome read = spectrum::readMeasurementFile(path, textOptions());
    if (!read.measurement) {
        refuse(QStringLiteral("Открытие измерения"), read.message);
        return false;
    }
    spectrum::Spectrum s;
    QString note = read.measurement->note;
    if (read.measurement->waveform) {
        const spectrum::TransformOutcome t =
            spectrum::averagedSpectrum(*read.measurement->waveform, transformInput());
        if (!t.spectrum) {
            refuse(QStringLiteral("Открытие измерения"),
                   spectrum::faultText(QFileInfo(path).fileName(), 0, t.message));
            return false;
        }
        s = std::move(*t.spectrum);
        note += QStringLiteral("; ") + t.note;
    } else {
        s = std::move(*read.measurement->spectrum);
    }
    measurement = std::move(*read.measurement);
    ordersShaft = textShaftBox->currentIndex() + 1;
    filePath = path;
    host->measurementOpened(path);
    settings.folder = QFileInfo(path).absolutePath();
    kit::setPlainTitle(this, QStringLiteral("Спектр — ") + QFileInfo(path).fileName());
    fileLabel->setText(QFileInfo(path).fileName() + QStringLiteral(": ") + note);
    picked.reset();
    harmonicBase.reset();
    sidebandCentre.reset();
    sidebandSpacing.reset();
    show(std::move(s), {});
    return true;
}

bool SpectrumWindow::recompute() {
    if (!measurement || !measurement->waveform) {
        say(QStringLiteral("Пересчитывается только спектр сигнала: откройте сигнал (WAV, "
                           "временную запись UFF или столбец отсчётов)."),
            true);
        return false;
    }
    const spectrum::TransformOutcome t =
        spectrum::averagedSpectrum(*measurement->waveform, transformInput());
    if (!t.spectrum) {
        say(t.message, true);
        return false;
    }
    settings.transform = transformInput();
    fileLabel->setText(QFileInfo(filePath).fileName() + QStringLiteral(": ") + measurement->note +
                       QStringLiteral("; ") + t.note);
    show(std::move(*t.spectrum), {});
    return true;
}

void SpectrumWindow::plotData() {
    plottedScale = unitScale();
    QVector<double> x(qsizetype(shown.frequency.size())), y(qsizetype(shown.amplitude.size()));
    for (qsizetype i = 0; i < x.size(); ++i) {
        x[i] = shown.frequency[std::size_t(i)] * plottedScale;
        y[i] = shown.amplitude[std::size_t(i)];
    }
    plot->xAxis->setLabel(QStringLiteral("Частота, ") + unitName());
    plot->yAxis->setLabel(QStringLiteral("Амплитуда"));
    plot->setSpectrum(x, y);
}

void SpectrumWindow::show(spectrum::Spectrum s, const QString &note) {
    shown = std::move(s);
    plotData();
    resolutionLabel->setText(shown.empty()
                                 ? QStringLiteral("Δf —")
                                 : QStringLiteral("Δf = %1 Гц").arg(number(shown.resolution, 4)));
    say(note, false);
    machineChanged();
}

// --- the machine on the plot

bool SpectrumWindow::familyShown(const spectrum::Family &family) const {
    return !settings.hiddenFamilies.contains(spectrum::familyName(family));
}

void SpectrumWindow::rebuildFamilies() {
    QStringList names;
    for (const spectrum::Family &f : overlay.families)
        names << spectrum::familyName(f);
    QStringList present;
    for (QCheckBox *b : familyBoxes)
        present << b->text();
    if (names == present)
        return;
    for (QCheckBox *b : familyBoxes)
        delete b;
    familyBoxes.clear();
    for (qsizetype i = 0; i < names.size(); ++i) {
        auto *box = new QCheckBox(names[i], familiesGroup);
        box->setObjectName(QStringLiteral("family ") + names[i]);
        box->setChecked(!settings.hiddenFamilies.contains(names[i]));
        kit::setColour(box, QPalette::WindowText,
                       kFamilyColours[std::size_t(i) % std::size(kFamilyColours)]);
        connect(box, &QCheckBox::toggled, this, [this, name = names[i]](bool on) {
            settings.hiddenFamilies.removeAll(name);
            if (!on)
                settings.hiddenFamilies << name;
            refreshMarks();
        });
        familiesLayout->addWidget(box, int(i) / 2, int(i) % 2);
        familyBoxes.push_back(box);
    }
    fitSidePanel();
}

// A spectrum read in orders has no speed of its own: when its shaft's speed
// changes (typed, or taken from a peak), the spectrum moves with the
// machine's lines, and so do the chosen peak and the cursors.
void SpectrumWindow::followOrders() {
    if (!measurement || measurement->waveform || !(measurement->ordersHertz > 0.0) || shown.empty())
        return;
    const double now = train.shaft(ordersShaft).value_or(0.0);
    if (!(now > 0.0) || !std::isfinite(now) || now == measurement->ordersHertz)
        return;
    const double k = now / measurement->ordersHertz;
    measurement->ordersHertz = now;
    for (double &f : shown.frequency)
        f *= k;
    shown.resolution *= k;
    if (picked)
        picked->frequency *= k;
    for (std::optional<double> *at : {&harmonicBase, &sidebandCentre, &sidebandSpacing})
        if (*at)
            **at *= k;
    plotData();
    resolutionLabel->setText(QStringLiteral("Δf = %1 Гц").arg(number(shown.resolution, 4)));
}

void SpectrumWindow::machineChanged() {
    train = host->train();
    followOrders();
    // The unit of the axis, or the shaft its orders refer to, may have changed.
    if (unitScale() != plottedScale)
        plotData();
    settings.maxHarmonic = maxHarmonicBox->value();
    settings.maxSideband = maxSidebandBox->value();
    const double top = shown.empty() ? 0.0 : shown.frequency.back();
    overlay = spectrum::machineOverlay(
        train, {settings.maxHarmonic, false, settings.maxSideband, false}, top);
    rebuildFamilies();
    refreshMarks();
    refreshPeaks();
    refreshCursors();
    if (picked)
        pickPeak(*picked);
}

void SpectrumWindow::refreshMarks() {
    const double scale = unitScale();
    std::vector<PlotMark> marks;
    marks.reserve(overlay.lines.size());
    for (const machine::Line &l : overlay.lines) {
        const spectrum::Family f = spectrum::familyOf(l);
        if (!familyShown(f))
            continue;
        const auto at = std::find(overlay.families.begin(), overlay.families.end(), f);
        const std::size_t colour = std::size_t(at - overlay.families.begin());
        marks.push_back({l.value * scale, toleranceAt(l.value) * scale,
                         kFamilyColours[colour % std::size(kFamilyColours)],
                         machine::lineName(l, machine::lineNames(host->document())),
                         Qt::SolidLine});
    }
    plot->marks->lines = std::move(marks);
    plot->replot();
}

// --- the peak table

void SpectrumWindow::refreshPeaks() {
    settings.peaks = {thresholdBox->value(), countBox->value()};
    const std::vector<spectrum::Peak> peaks =
        shown.empty() ? std::vector<spectrum::Peak>{} : spectrum::findPeaks(shown, settings.peaks);
    const bool percent = tolerancePercent();
    notes = spectrum::notePeaks(train, peaks,
                                {percent ? toleranceAt(100.0) : toleranceAt(0.0), percent,
                                 settings.maxHarmonic, settings.maxSideband});
    const machine::UnitChoice unit = host->document().unit;
    std::vector<QStringList> rows;
    std::vector<QPointF> points;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        rows.push_back(spectrum::peakRow(train, unit, notes[i], int(i) + 1,
                                         machine::lineNames(host->document())));
        points.emplace_back(notes[i].peak.frequency * unitScale(), notes[i].peak.amplitude);
    }
    peakModel->setRows(spectrum::peakHeadings(unit), std::move(rows));
    plot->marks->peaks = std::move(points);
    plot->marks->selectedPeak = -1;
    tabs->setTabText(0, QStringLiteral("Пики (%1)").arg(notes.size()));
    plot->replot();
}

void SpectrumWindow::peakRowChosen() {
    const int r = peakView->currentIndex().row();
    if (r < 0 || r >= int(notes.size()))
        return;
    const spectrum::Peak &p = notes[std::size_t(r)].peak;
    plot->marks->selectedPeak = r;
    const QCPRange range = plot->xAxis->range();
    const double x = p.frequency * unitScale();
    if (x < range.lower || x > range.upper)
        plot->xAxis->setRange(x - range.size() / 2, x + range.size() / 2);
    pickPeak(p);
}

// --- a peak and its explanations

void SpectrumWindow::pickPeak(const spectrum::Peak &peak) {
    picked = peak;
    pickedTolerance = toleranceAt(peak.frequency);
    machine::IdentifyRequest r;
    r.target = peak.frequency;
    r.tolerance = pickedTolerance;
    r.maxHarmonic = settings.maxHarmonic;
    r.maxSideband = settings.maxSideband;
    pickedMatches =
        peak.frequency > 0.0 ? machine::identify(train, r) : std::vector<machine::MatchGroup>{};
    const machine::UnitChoice unit = host->document().unit;
    std::vector<QStringList> rows;
    for (const machine::MatchRow &m : machine::matchRows(train, r, unit, pickedMatches))
        rows.emplace_back(m.texts.begin(), m.texts.end());
    const auto headings = machine::columnHeadings(unit);
    matchModel->setRows(QStringList(headings.begin(), headings.end()), std::move(rows));
    pickedLabel->setText(
        QStringLiteral("Пик %1 %2, амплитуда %3; допуск ± %4 Гц: %5")
            .arg(number(peak.frequency * unitScale()), unitName(), number(peak.amplitude, 4),
                 number(pickedTolerance, 4),
                 pickedMatches.empty()
                     ? QStringLiteral("не объяснён.")
                     : QStringLiteral("объяснений %1, лучшие сверху.").arg(pickedMatches.size())));
    speedButton->setEnabled(false);
    if (!pickedMatches.empty())
        matchView->selectRow(0);
    plot->replot();
}

void SpectrumWindow::clickAt(double hertz) {
    if (shown.empty())
        return;
    const double reach =
        kReachPixels * plot->xAxis->range().size() / plot->axisRect()->width() / unitScale();
    const std::optional<spectrum::Peak> p =
        spectrum::snapToPeak(shown, hertz, std::max(reach, shown.resolution));
    if (!p)
        return;
    switch (cursorMode) {
    case CursorMode::None:
        break;
    case CursorMode::Harmonic:
        harmonicBase = p->frequency;
        break;
    case CursorMode::Sideband:
        if (!sidebandCentre || sidebandSpacing) {
            sidebandCentre = p->frequency;
            sidebandSpacing.reset();
        } else {
            sidebandSpacing = std::abs(p->frequency - *sidebandCentre);
        }
        break;
    }
    refreshCursors();
    // The table selects the peak when it lists it.
    for (std::size_t i = 0; i < notes.size(); ++i)
        if (std::abs(notes[i].peak.frequency - p->frequency) <= shown.resolution) {
            peakView->selectRow(int(i));
            return;
        }
    peakView->clearSelection();
    plot->marks->selectedPeak = -1;
    pickPeak(*p);
    tabs->setCurrentIndex(1);
}

void SpectrumWindow::hovered(double x, QPoint globalPos) {
    if (shown.empty())
        return;
    const double scale = unitScale();
    const double hz = x / scale;
    const auto it = std::lower_bound(shown.frequency.begin(), shown.frequency.end(), hz);
    const std::size_t i = std::min<std::size_t>(std::size_t(it - shown.frequency.begin()),
                                                shown.frequency.size() - 1);
    QString text = QStringLiteral("%1 %2, амплитуда %3")
                       .arg(number(x), unitName(), number(shown.amplitude[i], 4));
    const machine::Line *near = spectrum::nearestLine(
        overlay, hz, [this](const spectrum::Family &f) { return familyShown(f); });
    if (near) {
        const QString name = machine::lineName(*near, machine::lineNames(host->document()));
        text += QStringLiteral("\nближайшая линия: %1 = %2 %3")
                    .arg(name, number(near->value * scale), unitName());
        const double pixels = std::abs(near->value * scale - x) * plot->axisRect()->width() /
                              plot->xAxis->range().size();
        if (pixels <= kReachPixels)
            QToolTip::showText(globalPos, kit::literalHint(name), plot);
    }
    readoutLabel->setText(text);
}

// --- cursors

void SpectrumWindow::refreshCursors() {
    std::vector<PlotMark> marks;
    const double scale = unitScale();
    QString text;
    // Both cursors stay on the plot; the mode says which one a click sets.
    if (harmonicBase) {
        for (int k = 1; k <= harmonicCountBox->value(); ++k)
            marks.push_back({*harmonicBase * k * scale, 0.0, QColor(0, 0, 0),
                             QStringLiteral("%1×").arg(k), Qt::DashLine});
        text = QStringLiteral("Гармоники %1 %2").arg(number(*harmonicBase * scale), unitName());
    }
    if (sidebandCentre) {
        marks.push_back({*sidebandCentre * scale, 0.0, QColor(90, 0, 90), QStringLiteral("0"),
                         Qt::DashDotLine});
        if (!text.isEmpty())
            text += QStringLiteral("; ");
        text += QStringLiteral("центр %1 %2").arg(number(*sidebandCentre * scale), unitName());
        if (sidebandSpacing) {
            for (int m = 1; m <= sidebandCountBox->value(); ++m)
                for (const int sign : {-1, 1})
                    marks.push_back({(*sidebandCentre + sign * m * *sidebandSpacing) * scale, 0.0,
                                     QColor(90, 0, 90),
                                     (sign < 0 ? QStringLiteral("−") : QStringLiteral("+")) +
                                         QString::number(m),
                                     Qt::DashDotLine});
            text += QStringLiteral(", расстояние %1 %2")
                        .arg(number(*sidebandSpacing * scale), unitName());
        } else {
            text += QStringLiteral(": щёлкните первую боковую.");
        }
    }
    spacingButton->setEnabled(sidebandSpacing && *sidebandSpacing > 0.0);
    cursorLabel->setText(text);
    plot->marks->cursors = std::move(marks);
    plot->replot();
}

void SpectrumWindow::clearCursors() {
    harmonicBase.reset();
    sidebandCentre.reset();
    sidebandSpacing.reset();
    refreshCursors();
}

void SpectrumWindow::sendSpacing() {
    if (sidebandSpacing && *sidebandSpacing > 0.0)
        host->searchSpacing(*sidebandSpacing);
}

// --- the speed from a peak

void SpectrumWindow::adjustSpeed() {
    const int r = matchView->currentIndex().row();
    if (!picked || r < 0 || r >= int(pickedMatches.size()))
        return;
    const spectrum::SpeedChange change =
        spectrum::speedForPeak(host->train(), host->document(),
                               pickedMatches[std::size_t(r)].lines.front(), picked->frequency);
    if (!change.known) {
        refuse(QStringLiteral("Скорость по пику"), change.text);
        return;
    }
    auto box = kit::messageBox(this, QMessageBox::Question, QStringLiteral("Скорость по пику"),
                               change.text + QStringLiteral("\n\nПринять эту скорость?"));
    box->setObjectName(QStringLiteral("speedConfirm"));
    QPushButton *accept = box->addButton(QStringLiteral("Принять"), QMessageBox::AcceptRole);
    accept->setObjectName(QStringLiteral("acceptButton"));
    box->addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    box->setDefaultButton(accept);
    box->exec();
    if (box->clickedButton() != accept)
        return;
    host->setKnownSpeed(*change.known);
    say(QStringLiteral("Скорость принята: %1").arg(change.text), false);
}

// --- exports

QString SpectrumWindow::chooseSaveFile(const QString &title, const QString &filter,
                                       const QString &suffix, int *filterIndex) {
    QFileDialog dialog(this, title, settings.folder, filter);
    const QStringList filters = filter.split(QStringLiteral(";;"));
    if (filterIndex && *filterIndex >= 0 && *filterIndex < filters.size())
        dialog.selectNameFilter(filters[*filterIndex]);
    dialog.setObjectName(QStringLiteral("spectrumFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (!filePath.isEmpty())
        dialog.selectFile(QFileInfo(filePath).completeBaseName() + QLatin1Char('.') + suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (filterIndex)
        *filterIndex = int(filters.indexOf(dialog.selectedNameFilter()));
    return dialog.selectedFiles().constFirst();
}

bool SpectrumWindow::exportTable(const QString &path, machine::CsvConvention convention) {
    const QString failure = settings::writeFileSafely(
        path, spectrum::peakCsv(train, host->document().unit, notes,
                                machine::lineNames(host->document()), convention));
    if (!failure.isEmpty())
        refuse(QStringLiteral("Экспорт таблицы пиков"), failure);
    return failure.isEmpty();
}

bool SpectrumWindow::exportPicture(const QString &path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const int w = plot->width(), h = plot->height();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (suffix == QLatin1String("svg") || suffix == QLatin1String("pdf")) {
        std::unique_ptr<QPaintDevice> device;
        if (suffix == QLatin1String("svg")) {
            auto *svg = new QSvgGenerator;
            svg->setOutputDevice(&buffer);
            svg->setSize(QSize(w, h));
            svg->setViewBox(QRect(0, 0, w, h));
            svg->setTitle(windowTitle());
            device.reset(svg);
        } else {
            auto *pdf = new QPdfWriter(&buffer);
            pdf->setPageSize(QPageSize(QSizeF(w, h), QPageSize::Point));
            pdf->setPageMargins(QMarginsF());
            pdf->setResolution(72);
            pdf->setTitle(windowTitle());
            device.reset(pdf);
        }
        QCPPainter painter(device.get());
        painter.setMode(QCPPainter::pmVectorized);
        painter.setMode(QCPPainter::pmNoCaching);
        plot->toPainter(&painter, w, h);
        painter.end();
    } else {
        // Twice the pixels of the window: crisp in a report.
        plot->toPixmap(w, h, 2.0).save(&buffer, "PNG");
    }
    const QString failure = settings::writeFileSafely(path, buffer.data());
    if (!failure.isEmpty())
        refuse(QStringLiteral("Сохранение рисунка"), failure);
    return failure.isEmpty();
}

// --- messages, drops and the close

void SpectrumWindow::say(const QString &text, bool error) {
    kit::setColour(messageLabel, QPalette::WindowText,
                   error ? kit::colour::red : palette().color(QPalette::WindowText));
    messageLabel->setText(text);
    messageLabel->setVisible(!text.isEmpty());
}

void SpectrumWindow::refuse(const QString &title, const QString &text) {
    say(text, true);
    kit::showMessage(this, QMessageBox::Warning, title, text);
}

void SpectrumWindow::dragEnterEvent(QDragEnterEvent *event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile())
        event->acceptProposedAction();
}

void SpectrumWindow::dropEvent(QDropEvent *event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile()) {
        event->acceptProposedAction();
        openFile(urls.front().toLocalFile());
    }
}

void SpectrumWindow::hideEvent(QHideEvent *event) {
    settings.transform = transformInput();
    settings.textUnit = spectrum::FrequencyUnit(textUnitBox->currentIndex());
    settings.textOrdersShaft = textShaftBox->currentIndex() + 1;
    settings.sampleRate = sampleRateEdit->text();
    writeSettings();
    QWidget::hideEvent(event);
}
