// The known speed that puts a line of the machine on a peak.
#include "spectrum/speed_from_peak.h"

#include "machine/train.h"
#include "machine/train_table.h"

#include <cmath>

namespace spectrum {

SpeedChange speedForPeak(const machine::Train &train, const machine::MachineDocument &document,
                         const machine::Line &line, double peakHertz) {
    SpeedChange change;
    if (line.base == machine::Base::Fm) {
        change.text = QStringLiteral("%1 содержит Fm, которая от скорости валов не зависит: "
                                     "выберите другую составляющую.")
                          .arg(machine::lineName(line));
        return change;
    }
    const double ratio = peakHertz / line.value;
    if (!(line.value > 0.0) || !(peakHertz > 0.0) || !std::isfinite(ratio)) {
        change.text = QStringLiteral("Частота пика или составляющей не больше нуля.");
        return change;
    }
    change.percent = (ratio - 1.0) * 100.0;
    if (std::abs(change.percent) > kSpeedChangeLimitPercent) {
        change.text = QStringLiteral("Скорость пришлось бы изменить на %1 %: больше %2 %, "
                                     "проверьте, та ли это составляющая.")
                          .arg(machine::significantText(change.percent, 3))
                          .arg(kSpeedChangeLimitPercent);
        return change;
    }
    machine::ReferenceSpeed known;
    double before = 0.0;
    if (document.hasKnownSpeed() && train.followsKnown) {
        known = document.known;
        before = machine::referenceHertz(document.known).hertz.value_or(0.0);
    } else {
        before = train.shaft(1).value_or(0.0);
    }
    if (!(before > 0.0)) {
        change.text = QStringLiteral("Скорость вала неизвестна: рассчитайте пару 1.");
        return change;
    }
    const double factor = known.unit == machine::SpeedUnit::PerMinute ? 60.0 : 1.0;
    known.text = machine::significantText(before * ratio * factor, 7);
    const QString unit = machine::speedUnitName(known.unit);
    change.text = QStringLiteral("%1 — на пике %2 Гц. Скорость вала %3: %4 → %5 %6 (%7%8 %).")
                      .arg(machine::lineName(line), machine::significantText(peakHertz, 7))
                      .arg(known.shaft)
                      .arg(machine::significantText(before * factor, 7), known.text, unit,
                           change.percent > 0.0 ? QStringLiteral("+") : QString(),
                           machine::significantText(change.percent, 3));
    change.known = known;
    return change;
}

} // namespace spectrum
