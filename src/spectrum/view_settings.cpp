// The spectrum window's settings file, read leniently and written whole.
#include "spectrum/view_settings.h"

#include "calc/input_text.h"
#include "machine/lines.h"
#include "machine/train.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace spectrum {

namespace {

// A whole number within [low, high] or the fallback.
int integer(const QJsonObject &o, const char *key, int low, int high, int fallback) {
    const QJsonValue v = o.value(QLatin1String(key));
    const double d = v.toDouble(std::nan(""));
    if (!v.isDouble() || !(d >= low && d <= high) || d != std::floor(d))
        return fallback;
    return int(d);
}

double number(const QJsonObject &o, const char *key, double low, double high, double fallback) {
    const QJsonValue v = o.value(QLatin1String(key));
    const double d = v.toDouble(std::nan(""));
    return v.isDouble() && d >= low && d <= high ? d : fallback;
}

bool flag(const QJsonObject &o, const char *key, bool fallback) {
    const QJsonValue v = o.value(QLatin1String(key));
    return v.isBool() ? v.toBool() : fallback;
}

QString text(const QJsonObject &o, const char *key, qsizetype limit) {
    const QJsonValue v = o.value(QLatin1String(key));
    return v.isString() ? calc::leftCharacters(v.toString(), limit) : QString();
}

template <class T, std::size_t N>
int chosen(const std::array<T, N> &choices, int value, int fallback) {
    return std::find(choices.begin(), choices.end(), value) != choices.end() ? value : fallback;
}

} // namespace

ViewSettings readViewSettings(const QByteArray &bytes) {
    ViewSettings s;
    // A file past the bound is no settings file of ours: nothing is cut
    // from it and read as if whole.
    if (bytes.size() > kViewSettingsByteLimit)
        return s;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    if (!doc.isObject())
        return s;
    const QJsonObject o = doc.object();
    TransformSettings &t = s.transform;
    t.window = Window(integer(o, "window", 0, int(Window::Rectangular), int(t.window)));
    t.lines = chosen(kLineChoices, integer(o, "lines", 0, kLineChoices.back(), 0), t.lines);
    t.overlapPercent = chosen(kOverlapChoices, integer(o, "overlap", 0, 100, -1), t.overlapPercent);
    t.amplitude = Amplitude(integer(o, "amplitude", 0, int(Amplitude::Peak), int(t.amplitude)));
    t.integration = Integration(
        integer(o, "integration", 0, int(Integration::FromStandardGravity), int(t.integration)));
    t.envelope = flag(o, "envelope", t.envelope);
    t.bandLow = number(o, "bandLow", 1e-3, 1e7, t.bandLow);
    t.bandHigh = number(o, "bandHigh", 1e-3, 1e7, t.bandHigh);
    s.textUnit = FrequencyUnit(integer(o, "textUnit", 0, int(FrequencyUnit::Orders), 0));
    s.textOrdersShaft = integer(o, "textOrdersShaft", 1, machine::kShaftLimit, 1);
    s.sampleRate = text(o, "sampleRate", calc::kTextLimit);
    s.logarithmic = flag(o, "logarithmic", s.logarithmic);
    s.labels = flag(o, "labels", s.labels);
    s.peaks.thresholdDb = number(o, "threshold", 0.0, 100.0, s.peaks.thresholdDb);
    s.peaks.maxCount = integer(o, "count", 1, kPeakCountLimit, s.peaks.maxCount);
    s.maxHarmonic = integer(o, "maxHarmonic", 1, machine::kHarmonicLimit, s.maxHarmonic);
    s.maxSideband = integer(o, "maxSideband", 0, machine::kSidebandLimit, s.maxSideband);
    for (const QJsonValue v : o.value(QLatin1String("hiddenFamilies")).toArray())
        if (v.isString() && s.hiddenFamilies.size() < 64)
            s.hiddenFamilies << calc::leftCharacters(v.toString(), 64);
    s.folder = text(o, "folder", 4096);
    return s;
}

QByteArray viewSettingsBytes(const ViewSettings &s) {
    const TransformSettings &t = s.transform;
    QJsonObject o{
        {"window", int(t.window)},
        {"lines", t.lines},
        {"overlap", t.overlapPercent},
        {"amplitude", int(t.amplitude)},
        {"integration", int(t.integration)},
        {"envelope", t.envelope},
        {"bandLow", t.bandLow},
        {"bandHigh", t.bandHigh},
        {"textUnit", int(s.textUnit)},
        {"textOrdersShaft", s.textOrdersShaft},
        {"sampleRate", s.sampleRate},
        {"logarithmic", s.logarithmic},
        {"labels", s.labels},
        {"threshold", s.peaks.thresholdDb},
        {"count", s.peaks.maxCount},
        {"maxHarmonic", s.maxHarmonic},
        {"maxSideband", s.maxSideband},
        {"hiddenFamilies", QJsonArray::fromStringList(s.hiddenFamilies)},
        {"folder", s.folder},
    };
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

} // namespace spectrum
