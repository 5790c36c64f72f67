// A waveform from a WAV file through libsndfile: 8-, 16-, 24- and 32-bit
// integer and 32- and 64-bit float samples, read from bytes the program has
// already read within its bound (libsndfile works on them through its
// virtual I/O and never opens a file itself). The first channel is taken;
// samples are in fractions of full scale (±1).
#pragma once

#include "spectrum/measurement.h"

#include <QByteArray>

namespace spectrum {

ReadOutcome readWav(const QByteArray &bytes, const QString &fileName);

// Whether the bytes start like a WAV file (RIFF, RIFX, RF64 or Wave64).
bool looksLikeWav(const QByteArray &bytes);

} // namespace spectrum
