// Bearing defect factors from the geometry or the catalogue.
#include "machine/bearing.h"

#include "calc/number_text.h"

#include <cmath>
#include <numbers>

namespace machine {

namespace {

bool positiveSize(double mm) {
    return mm > 0 && mm <= kBearingSizeLimit;
}

// The factors of the inner ring turning, which catalogues print.
BearingFactors innerTurning(const Bearing &b) {
    if (!b.byGeometry) {
        BearingFactors f = b.catalogue;
        if (b.catalogueSpin == SpinConvention::BothRings)
            f.bsf /= 2;
        return f;
    }
    const BearingGeometry &g = b.geometry;
    const double gamma = g.elementDiameter / g.pitchDiameter *
                         std::cos(g.contactAngleDegrees * std::numbers::pi / 180);
    return {(1 - gamma) / 2, g.elements * (1 - gamma) / 2, g.elements * (1 + gamma) / 2,
            g.pitchDiameter / (2 * g.elementDiameter) * (1 - gamma * gamma)};
}

} // namespace

QString bearingProblem(const Bearing &b) {
    if (b.byGeometry) {
        const BearingGeometry &g = b.geometry;
        if (g.elements < 3 || g.elements > kElementLimit)
            return QStringLiteral("тел качения — от 3 до %1").arg(kElementLimit);
        if (!positiveSize(g.elementDiameter) || !positiveSize(g.pitchDiameter))
            return QStringLiteral("диаметры — больше 0 и не больше %1 мм")
                .arg(calc::generalDecimal(kBearingSizeLimit));
        if (!(g.elementDiameter < g.pitchDiameter))
            return QStringLiteral("диаметр тела качения d должен быть меньше диаметра "
                                  "окружности центров D");
        if (!(g.contactAngleDegrees >= 0 && g.contactAngleDegrees < 90))
            return QStringLiteral("угол контакта — от 0 до 90°, не включая 90");
        return {};
    }
    const BearingFactors &f = b.catalogue;
    for (const double v : {f.ftf, f.bpfo, f.bpfi, f.bsf})
        if (!(v > 0 && v <= kElementLimit))
            return QStringLiteral("коэффициенты — больше 0 и не больше %1").arg(kElementLimit);
    if (!(f.ftf < 1))
        return QStringLiteral("FTF — меньше 1: сепаратор медленнее кольца");
    return {};
}

QStringList bearingRemarks(const Bearing &b) {
    QStringList r;
    if (b.byGeometry || !bearingProblem(b).isEmpty())
        return r;
    const BearingFactors &f = b.catalogue;
    // BPFO + BPFI = Z and BPFO / FTF = Z for every geometry: a catalogue
    // misread shows here.
    const double sum = f.bpfo + f.bpfi;
    if (std::fabs(sum - std::round(sum)) > 0.01 * sum ||
        std::fabs(f.bpfo / f.ftf - sum) > 0.01 * sum)
        r << QStringLiteral("BPFO + BPFI = %1 и BPFO / FTF = %2 должны быть одним целым числом "
                            "(числом тел качения): проверьте коэффициенты")
                 .arg(calc::generalDecimal(sum), calc::generalDecimal(f.bpfo / f.ftf));
    return r;
}

BearingFactors bearingFactors(const Bearing &b) {
    BearingFactors f = innerTurning(b);
    if (b.turning == TurningRing::Outer)
        f.ftf = 1 - f.ftf;
    return f;
}

double bearingFactor(const BearingFactors &f, BearingLine line) {
    switch (line) {
    case BearingLine::Ftf:
        return f.ftf;
    case BearingLine::Bpfo:
        return f.bpfo;
    case BearingLine::Bpfi:
        return f.bpfi;
    case BearingLine::Bsf:
        return f.bsf;
    case BearingLine::BallDefect:
        return 2 * f.bsf;
    }
    return 0;
}

} // namespace machine
