// Reading the typed texts of belts and bearings.
#include "machine/component_input.h"

#include "calc/input_text.h"
#include "calc/number_text.h"

#include <cmath>

namespace machine {

namespace {

// The number in `text`, or the message that names `field`.
std::optional<double> read(const QString &text, const char *field, QString &error) {
    if (!error.isEmpty())
        return std::nullopt;
    if (text.trimmed().isEmpty()) {
        error = QStringLiteral("%1: не задано").arg(QString::fromUtf8(field));
        return std::nullopt;
    }
    const calc::ParsedNumber p = calc::readNumber(text);
    if (!calc::fitsTextLimit(text) || p.status != 0 || !std::isfinite(p.value)) {
        error = QStringLiteral("%1: «%2» — не число")
                    .arg(QString::fromUtf8(field), calc::excerpt(text));
        return std::nullopt;
    }
    return p.value;
}

QString typed(double value) {
    return calc::generalDecimal(value);
}

} // namespace

BeltRead readBelt(const BeltTexts &t) {
    QString error;
    BeltStage b;
    b.driving = read(t.driving, "D1", error).value_or(0);
    b.driven = read(t.driven, "D2", error).value_or(0);
    b.length = read(t.length, "L", error).value_or(0);
    // No slip typed: none.
    b.slipPercent =
        t.slip.trimmed().isEmpty() ? 0 : read(t.slip, "проскальзывание", error).value_or(0);
    if (error.isEmpty())
        error = beltProblem(b);
    return error.isEmpty() ? BeltRead{b, {}} : BeltRead{std::nullopt, error};
}

BeltTexts beltTexts(const BeltStage &b) {
    return {typed(b.driving), typed(b.driven), typed(b.length),
            b.slipPercent == 0 ? QString() : typed(b.slipPercent)};
}

BearingRead readBearing(const BearingTexts &t) {
    QString error;
    Bearing b;
    b.designation = calc::leftCharacters(t.designation.trimmed(), kDesignationLimit);
    b.byGeometry = t.byGeometry;
    b.turning = t.turning;
    b.catalogueSpin = t.catalogueSpin;
    if (t.byGeometry) {
        const double z = read(t.elements, "Z", error).value_or(0);
        if (error.isEmpty() && (z != std::floor(z) || z < 3 || z > kElementLimit))
            error = QStringLiteral("Z: число тел качения — целое от 3 до %1").arg(kElementLimit);
        b.geometry.elements = error.isEmpty() ? static_cast<int>(z) : 0;
        b.geometry.elementDiameter = read(t.elementDiameter, "d", error).value_or(0);
        b.geometry.pitchDiameter = read(t.pitchDiameter, "D", error).value_or(0);
        b.geometry.contactAngleDegrees =
            t.contactAngle.trimmed().isEmpty() ? 0 : read(t.contactAngle, "φ", error).value_or(0);
    } else {
        b.catalogue.ftf = read(t.ftf, "FTF", error).value_or(0);
        b.catalogue.bpfo = read(t.bpfo, "BPFO", error).value_or(0);
        b.catalogue.bpfi = read(t.bpfi, "BPFI", error).value_or(0);
        b.catalogue.bsf = read(t.bsf, "BSF", error).value_or(0);
    }
    if (error.isEmpty())
        error = bearingProblem(b);
    return error.isEmpty() ? BearingRead{b, {}} : BearingRead{std::nullopt, error};
}

BearingTexts bearingTexts(const Bearing &b) {
    BearingTexts t;
    t.designation = b.designation;
    t.byGeometry = b.byGeometry;
    t.turning = b.turning;
    t.catalogueSpin = b.catalogueSpin;
    if (b.byGeometry) {
        t.elements = QString::number(b.geometry.elements);
        t.elementDiameter = typed(b.geometry.elementDiameter);
        t.pitchDiameter = typed(b.geometry.pitchDiameter);
        t.contactAngle = typed(b.geometry.contactAngleDegrees);
    } else {
        t.ftf = typed(b.catalogue.ftf);
        t.bpfo = typed(b.catalogue.bpfo);
        t.bpfi = typed(b.catalogue.bpfi);
        t.bsf = typed(b.catalogue.bsf);
    }
    return t;
}

} // namespace machine
