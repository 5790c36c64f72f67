// Assembly phases and the hunting tooth.
#include "machine/mesh.h"

#include <cmath>
#include <numeric>

namespace machine {

std::optional<std::uint64_t> wholeTeeth(double z) {
    if (!(z >= 1.0) || z > kLargestWholeTeeth || std::floor(z) != z)
        return std::nullopt;
    return static_cast<std::uint64_t>(z);
}

namespace {
QString notWholeReason(const char *name, double z) {
    const QString who = QString::fromLatin1(name);
    if (!std::isfinite(z) || z > kLargestWholeTeeth)
        return QStringLiteral("число зубьев %1 слишком велико").arg(who);
    if (z < 1.0)
        return QStringLiteral("число зубьев %1 меньше 1").arg(who);
    return QStringLiteral("число зубьев %1 не целое").arg(who);
}
} // namespace

MeshFigures meshFigures(double z1, double z2, double fz) {
    MeshFigures m;
    const std::optional<std::uint64_t> w1 = wholeTeeth(z1);
    const std::optional<std::uint64_t> w2 = wholeTeeth(z2);
    if (!w1 || !w2) {
        m.reason = notWholeReason(w1 ? "Z2" : "Z1", w1 ? z2 : z1);
        return m;
    }
    m.known = true;
    m.na = std::gcd(*w1, *w2);
    m.hunting = m.na == 1;
    const double na = static_cast<double>(m.na);
    m.apf = fz / na;
    // lcm = Z1 / Na x Z2; the division is exact, the product may round
    // beyond 2^53, which only touches digits far past those shown.
    const double lcm = (z1 / na) * z2;
    m.htf = fz / lcm;
    if (m.htf > 0.0 && std::isfinite(1.0 / m.htf))
        m.htfPeriod = 1.0 / m.htf;
    return m;
}

} // namespace machine
