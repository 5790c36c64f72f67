// The dialogs that add or change a planetary stage, a belt drive and a
// bearing. Each reads its fields through the machine core while the user
// types: the line under the fields says what the stage gives (its ratio,
// the remarks that do not refuse it) or why it cannot be taken, and OK
// stays off until it can.
#pragma once

#include "machine/component_input.h"
#include "machine/document.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

// "после вала 1", "после вала 2", …: where a new stage goes; none offered
// when a stage is changed in place.
class StageDialog : public QDialog {
    Q_OBJECT
public:
    QComboBox *placeBox = nullptr;
    QLabel *verdictLabel = nullptr;
    QDialogButtonBox *buttons = nullptr;

    // The shaft after which the new stage goes (0 when changed in place).
    int afterShaft() const;

protected:
    StageDialog(QWidget *parent, const QString &title, int shafts);
    // Fields, then the place, the verdict and the buttons.
    void finish(class QFormLayout *form);
    void showVerdict(const QString &problem, const QString &good);
};

class PlanetaryDialog : public StageDialog {
    Q_OBJECT
public:
    // `shafts` the machine has now; 0 when an existing stage is changed.
    PlanetaryDialog(QWidget *parent, const machine::PlanetaryStage &stage, int shafts);
    machine::PlanetaryStage stage() const;

    QSpinBox *sunBox = nullptr, *planetBox = nullptr, *ringBox = nullptr, *planetsBox = nullptr;
    QComboBox *fixedBox = nullptr, *inputBox = nullptr;

private:
    void check();
};

class BeltDialog : public StageDialog {
    Q_OBJECT
public:
    BeltDialog(QWidget *parent, const machine::BeltStage &belt, int shafts);
    machine::BeltStage belt() const; // what OK takes

    QLineEdit *drivingEdit = nullptr, *drivenEdit = nullptr, *lengthEdit = nullptr,
              *slipEdit = nullptr;

private:
    void check();
};

// Where a bearing can sit: a shaft, or the planets of a planetary stage.
struct BearingPlace {
    QString text; // "вал 2 «промежуточный»", "сателлиты планетарной 1"
    int shaft = 0;
    int planetsOf = -1;
};

class BearingDialog : public QDialog {
    Q_OBJECT
public:
    BearingDialog(QWidget *parent, const machine::MountedBearing &mounted,
                  const std::vector<BearingPlace> &places,
                  const std::vector<machine::Bearing> &library, const QString &libraryProblem);
    machine::MountedBearing mounted() const; // what OK takes
    bool keepInLibrary() const;

    QComboBox *placeBox = nullptr;
    QComboBox *libraryBox = nullptr; // "—" and the library's designations
    QLineEdit *designationEdit = nullptr;
    QRadioButton *geometryButton = nullptr, *catalogueButton = nullptr;
    QLineEdit *elementsEdit = nullptr, *elementDiameterEdit = nullptr, *pitchDiameterEdit = nullptr,
              *angleEdit = nullptr;
    QLineEdit *ftfEdit = nullptr, *bpfoEdit = nullptr, *bpfiEdit = nullptr, *bsfEdit = nullptr;
    QComboBox *spinBox = nullptr;    // what the catalogue's BSF is
    QComboBox *turningBox = nullptr; // which ring turns with the shaft
    QCheckBox *libraryCheck = nullptr;
    QLabel *verdictLabel = nullptr;
    QDialogButtonBox *buttons = nullptr;

private:
    std::vector<machine::Bearing> library;
    QStackedWidget *kinds = nullptr;
    QStackedWidget *buildKinds();
    void layOut(class QLayout *kindRow, const QString &libraryProblem);
    void connectFields();
    machine::BearingTexts texts() const;
    void showTexts(const machine::BearingTexts &texts);
    void check();
};
