// The spectrum window lives in a module of its own (gearfreq-spectrum.so),
// loaded when "Спектр…" is first chosen: it links libsndfile, FFTW and
// QCustomPlot, which the program's start thus never maps. The program and
// the module meet only here, in plain C++ and Qt: the program hands the
// module a SpectrumHost (the machine as the windows see it), the module
// gives back a SpectrumView. Both sides are built from the same sources, and
// the interface's version guards against a module of another build.
#pragma once

#include "machine/document.h"
#include "machine/train.h"

#include <QString>

class QWidget;

// What the spectrum window asks of the program.
class SpectrumHost {
public:
    virtual ~SpectrumHost() = default;
    // The machine with exact speeds, as the train table shows it.
    virtual machine::Train train() const = 0;
    virtual machine::MachineDocument document() const = 0;
    // The user confirmed a speed read from the spectrum.
    virtual void setKnownSpeed(const machine::ReferenceSpeed &known) = 0;
    // The spacing of a sideband cursor, into the spacing mode of the
    // machine-wide search, searched and shown.
    virtual void searchSpacing(double hertz) = 0;
    // A measurement was opened: the machine file refers to it.
    virtual void measurementOpened(const QString &path) = 0;
};

// The window as the program drives it; it is a child window of the main
// window and lives as long as it does.
class SpectrumView {
public:
    virtual ~SpectrumView() = default;
    virtual QWidget *widget() = 0;
    // The machine or its document changed: the overlay and the explanations
    // follow.
    virtual void machineChanged() = 0;
    // Opens a measurement file; false (and a message) when it is refused.
    virtual bool openFile(const QString &path) = 0;
};

inline constexpr int kSpectrumInterfaceVersion = 1;
inline constexpr char kSpectrumModuleName[] = "gearfreq-spectrum.so";

// The module's two entry points, looked up by these names.
using SpectrumInterfaceVersion = int (*)();
using SpectrumViewFactory = SpectrumView *(*)(SpectrumHost *host, QWidget *parent);
inline constexpr char kSpectrumVersionSymbol[] = "gearfreqSpectrumInterface";
inline constexpr char kSpectrumFactorySymbol[] = "gearfreqCreateSpectrumView";
