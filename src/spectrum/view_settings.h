// What the spectrum window remembers per user between runs: the transform,
// the text import, the plot, the peak table and the overlay, as a small JSON
// file in the user's configuration folder. Reading takes what is valid and
// keeps the default for anything missing, of the wrong type or out of range,
// so a damaged or hostile file changes nothing it should not.
#pragma once

#include "spectrum/peaks.h"
#include "spectrum/text_reader.h"
#include "spectrum/transform.h"

#include <QByteArray>
#include <QStringList>

namespace spectrum {

inline constexpr qint64 kViewSettingsByteLimit = 64 * 1024;

struct ViewSettings {
    TransformSettings transform;
    FrequencyUnit textUnit = FrequencyUnit::Hertz;
    int textOrdersShaft = 1;
    QString sampleRate; // as typed
    bool logarithmic = true;
    bool labels = false;
    PeakSettings peaks;
    int maxHarmonic = 10;
    int maxSideband = 3;
    QStringList hiddenFamilies; // by familyName()
    QString folder;             // where the last measurement was opened
    bool operator==(const ViewSettings &) const = default;
};

ViewSettings readViewSettings(const QByteArray &bytes);
QByteArray viewSettingsBytes(const ViewSettings &settings);

} // namespace spectrum
