// The planetary stage and the belt drive: their checks and kinematics.
#include "machine/stages.h"

#include "calc/number_text.h"

#include <cmath>
#include <numbers>

namespace machine {

namespace {

// The Willis relation solved for the two turning members, the one on the
// shaft before at `inputHz`, the fixed one at 0: returns {fs, fc, fr}.
struct Speeds {
    double sun, carrier, ring;
};
Speeds memberSpeeds(const PlanetaryStage &s, double inputHz) {
    const double zs = s.sun, zr = s.ring;
    // Zs·(fs − fc) = −Zr·(fr − fc): any two speeds give the third.
    const auto carrierOf = [&](double fs, double fr) { return (zs * fs + zr * fr) / (zs + zr); };
    const auto sunOf = [&](double fc, double fr) { return fc - zr / zs * (fr - fc); };
    const auto ringOf = [&](double fs, double fc) { return fc - zs / zr * (fs - fc); };
    double fs = 0, fc = 0, fr = 0;
    double *input = s.input == Member::Sun ? &fs : s.input == Member::Carrier ? &fc : &fr;
    *input = inputHz;
    switch (outputMember(s)) {
    case Member::Sun:
        fs = sunOf(fc, fr);
        break;
    case Member::Carrier:
        fc = carrierOf(fs, fr);
        break;
    case Member::Ring:
        fr = ringOf(fs, fc);
        break;
    }
    return {fs, fc, fr};
}

double speedOf(const Speeds &v, Member m) {
    return m == Member::Sun ? v.sun : m == Member::Carrier ? v.carrier : v.ring;
}

} // namespace

Member outputMember(const PlanetaryStage &s) {
    for (const Member m : {Member::Sun, Member::Carrier, Member::Ring})
        if (m != s.fixed && m != s.input)
            return m;
    return Member::Carrier; // fixed == input: refused by planetaryProblem
}

QString planetaryProblem(const PlanetaryStage &s) {
    const auto teeth = [](int z) { return z >= 1 && z <= kPlanetaryTeethLimit; };
    if (!teeth(s.sun) || !teeth(s.planet) || !teeth(s.ring))
        return QStringLiteral("числа зубьев солнца, сателлита и венца — от 1 до %1")
            .arg(kPlanetaryTeethLimit);
    if (s.planets < 1 || s.planets > kPlanetLimit)
        return QStringLiteral("сателлитов — от 1 до %1").arg(kPlanetLimit);
    if (s.ring <= s.sun)
        return QStringLiteral("у венца (Zr = %1) зубьев должно быть больше, чем у солнца (Zs = %2)")
            .arg(s.ring)
            .arg(s.sun);
    if (s.fixed == s.input)
        return QStringLiteral("неподвижное звено не может быть ведущим");
    return {};
}

QStringList planetaryRemarks(const PlanetaryStage &s) {
    QStringList r;
    if ((s.sun + s.ring) % s.planets != 0)
        r << QStringLiteral("(Zs + Zr) / N = %1 / %2 — не целое: сателлиты не могут стоять "
                            "равномерно")
                 .arg(s.sun + s.ring)
                 .arg(s.planets);
    if (s.ring != s.sun + 2 * s.planet)
        r << QStringLiteral("Zr ≠ Zs + 2·Zp (%1 ≠ %2): колёса со смещением исходного контура")
                 .arg(s.ring)
                 .arg(s.sun + 2 * s.planet);
    return r;
}

double planetaryRatio(const PlanetaryStage &s) {
    return 1.0 / speedOf(memberSpeeds(s, 1.0), outputMember(s));
}

PlanetaryFigures planetaryFigures(const PlanetaryStage &s, double inputHz) {
    const Speeds v = memberSpeeds(s, inputHz);
    PlanetaryFigures f;
    f.sun = v.sun;
    f.carrier = v.carrier;
    f.ring = v.ring;
    f.planetRelative = -(v.sun - v.carrier) * s.sun / s.planet;
    f.planet = v.carrier + f.planetRelative;
    f.mesh = s.sun * std::fabs(v.sun - v.carrier);
    f.sunFault = s.planets * std::fabs(v.sun - v.carrier);
    f.ringFault = s.planets * std::fabs(v.ring - v.carrier);
    f.planetFault = f.mesh / s.planet;
    f.planetFaultBoth = 2 * f.planetFault;
    f.planetPass = s.planets * std::fabs(v.carrier - speedOf(v, s.fixed));
    f.output = speedOf(v, outputMember(s));
    return f;
}

std::optional<int> strongestMeshOrder(const PlanetaryStage &s, int harmonic) {
    if (s.fixed == Member::Carrier || s.planets < 1)
        return std::nullopt;
    const int teeth = s.fixed == Member::Ring ? s.ring : s.sun;
    const int n = s.planets;
    const int rest = static_cast<int>((static_cast<long long>(harmonic) * teeth) % n);
    if (rest == 0)
        return 0;
    // Down by `rest` or up by n − rest; the nearer, the upper one when equal.
    return rest < n - rest ? -rest : n - rest;
}

QString beltProblem(const BeltStage &b) {
    const auto size = [](double mm) { return mm > 0 && mm <= kBeltSizeLimit; };
    if (!size(b.driving) || !size(b.driven))
        return QStringLiteral("диаметры шкивов — больше 0 и не больше %1 мм")
            .arg(calc::generalDecimal(kBeltSizeLimit));
    if (!size(b.length))
        return QStringLiteral("длина ремня — больше 0 и не больше %1 мм")
            .arg(calc::generalDecimal(kBeltSizeLimit));
    if (!(b.slipPercent >= 0 && b.slipPercent <= kSlipLimit))
        return QStringLiteral("проскальзывание — от 0 до %1 %")
            .arg(calc::generalDecimal(kSlipLimit));
    return {};
}

QStringList beltRemarks(const BeltStage &b) {
    QStringList r;
    const double wrap = std::numbers::pi * (b.driving + b.driven) / 2;
    if (b.length <= wrap)
        r << QStringLiteral("ремень короче половин окружностей шкивов (%1 мм): проверьте длину")
                 .arg(calc::generalDecimal(wrap));
    return r;
}

double beltRatio(const BeltStage &b) {
    return b.driven / (b.driving * (1 - b.slipPercent / 100));
}

BeltFigures beltFigures(const BeltStage &b, double inputHz) {
    return {inputHz / beltRatio(b), std::numbers::pi * b.driving * inputHz / b.length};
}

QString memberName(Member m) {
    static const QString names[kMemberCount] = {QStringLiteral("солнце"), QStringLiteral("водило"),
                                                QStringLiteral("венец")};
    return names[static_cast<int>(m)];
}

} // namespace machine
