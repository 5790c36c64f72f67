// Finding and loading the spectrum window's module, once: beside the
// program (the build folder), in the installed library folder relative to
// the program, or where GEARFREQ_SPECTRUM_MODULE names it (the tests).
#pragma once

#include "ui/machine/spectrum_module.h"

#include <QStringList>

struct SpectrumModule {
    SpectrumViewFactory factory = nullptr;
    QString error; // in Russian, for the user, when there is no factory
};

// Where the module is looked for, in order.
QStringList spectrumModuleCandidates();
// Loads the module (the first candidate that exists) and checks its version.
SpectrumModule loadSpectrumModule();
