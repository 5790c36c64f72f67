// SpectrumWindow, "Спектр": a measured spectrum (or the spectrum of a
// measured waveform) with the machine on it. The machine's lines are drawn
// by family with their tolerance bands; a click on a peak snaps to it and
// lists its explanations ranked as the machine-wide search ranks them; the
// harmonic and sideband cursors mark multiples and spacings; the table of
// significant peaks names each with its best explanation; a peak named as a
// line of the machine corrects the machine's known speed. Lives in the
// spectrum module (spectrum_module.h); a non-modal, sizeable window.
#pragma once

#include "spectrum/machine_overlay.h"
#include "spectrum/measurement.h"
#include "spectrum/view_settings.h"
#include "ui/machine/spectrum_module.h"

#include <QWidget>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;
class QTabWidget;
class QGridLayout;
class SpectrumPlot;
class TextTableModel;

class SpectrumWindow : public QWidget, public SpectrumView {
    Q_OBJECT
public:
    SpectrumWindow(SpectrumHost *host, QWidget *parent);
    ~SpectrumWindow() override;

    QWidget *widget() override { return this; }
    void machineChanged() override;
    bool openFile(const QString &path) override;

    enum class CursorMode { None, Harmonic, Sideband };

    // The commands behind the buttons, for the keys and the tests.
    void chooseFile();
    bool recompute();
    void clickAt(double hertz);
    bool exportTable(const QString &path,
                     machine::CsvConvention convention = machine::CsvConvention::Russian);
    bool exportPicture(const QString &path);
    void adjustSpeed();
    void sendSpacing();
    void clearCursors();

private:
    SpectrumHost *host;
    spectrum::ViewSettings settings;
    std::optional<spectrum::Measurement> measurement;
    spectrum::Spectrum shown;
    QString filePath;
    machine::Train train;
    spectrum::Overlay overlay;
    std::vector<spectrum::PeakNote> notes;
    std::optional<spectrum::Peak> picked;
    std::vector<machine::MatchGroup> pickedMatches;
    double pickedTolerance = 0.0;
    double plottedScale = 1.0; // the axis unit per hertz of the data on the plot
    int ordersShaft = 1;       // the shaft a spectrum in orders was read by
    CursorMode cursorMode = CursorMode::None;
    std::optional<double> harmonicBase, sidebandCentre, sidebandSpacing;

    // Widgets, each with its objectName.
    QPushButton *openButton = nullptr;
    QLabel *fileLabel = nullptr;
    QLabel *resolutionLabel = nullptr;
    QLabel *messageLabel = nullptr;
    QComboBox *textUnitBox = nullptr;
    QComboBox *textShaftBox = nullptr;
    QLineEdit *sampleRateEdit = nullptr;
    QComboBox *windowBox = nullptr;
    QComboBox *linesBox = nullptr;
    QComboBox *overlapBox = nullptr;
    QComboBox *amplitudeBox = nullptr;
    QComboBox *integrationBox = nullptr;
    QCheckBox *envelopeBox = nullptr;
    QLineEdit *bandLowEdit = nullptr;
    QLineEdit *bandHighEdit = nullptr;
    QPushButton *recomputeButton = nullptr;
    SpectrumPlot *plot = nullptr;
    QCheckBox *logBox = nullptr;
    QCheckBox *labelsBox = nullptr;
    QGroupBox *familiesGroup = nullptr;
    QGridLayout *familiesLayout = nullptr;
    std::vector<QCheckBox *> familyBoxes;
    QLineEdit *toleranceEdit = nullptr;
    QComboBox *toleranceUnitBox = nullptr;
    QSpinBox *maxHarmonicBox = nullptr;
    QSpinBox *maxSidebandBox = nullptr;
    QButtonGroup *cursorGroup = nullptr;
    QSpinBox *harmonicCountBox = nullptr;
    QSpinBox *sidebandCountBox = nullptr;
    QLabel *readoutLabel = nullptr;
    QLabel *cursorLabel = nullptr;
    QPushButton *spacingButton = nullptr;
    QTabWidget *tabs = nullptr;
    class QScrollArea *sidePanel = nullptr; // the panel beside the plot, scrolled on a low screen
    QDoubleSpinBox *thresholdBox = nullptr;
    QSpinBox *countBox = nullptr;
    QTableView *peakView = nullptr;
    TextTableModel *peakModel = nullptr;
    QLabel *pickedLabel = nullptr;
    QTableView *matchView = nullptr;
    TextTableModel *matchModel = nullptr;
    QPushButton *speedButton = nullptr;

    QWidget *buildSourceRow();
    QWidget *buildTransformRow();
    QWidget *buildSidePanel();
    QWidget *buildCursorGroup();
    QWidget *buildPeakTab();
    QWidget *buildPickedTab();
    void connectInputs();
    void applySettings();
    void readSettings();
    void writeSettings() const;
    spectrum::TransformSettings transformInput() const;
    spectrum::TextOptions textOptions() const;

    double unitScale() const;
    QString unitName() const;
    // The tolerance at a frequency: the typed one in Гц or %, or Δf.
    double toleranceAt(double hertz) const;
    bool tolerancePercent() const;
    bool familyShown(const spectrum::Family &family) const;
    void rebuildFamilies();
    void show(spectrum::Spectrum spectrum, const QString &note);
    void plotData();
    void followOrders();
    void fitSidePanel();
    void refreshMarks();
    void refreshPeaks();
    void refreshPicked();
    void refreshCursors();
    void pickPeak(const spectrum::Peak &peak);
    void peakRowChosen();
    void hovered(double x, QPoint globalPos);
    void say(const QString &text, bool error);
    void refuse(const QString &title, const QString &text);
    // A file chosen in the dialog, or nothing; `filterIndex`, when given, is
    // the filter offered first and becomes the one chosen.
    QString chooseSaveFile(const QString &title, const QString &filter, const QString &suffix,
                           int *filterIndex = nullptr);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void hideEvent(QHideEvent *event) override;
};
