// The stages beside the pairs and the bearings as the machine file (from
// format version 2 on) and the user's bearing library keep them, as JSON:
//
//   "stages": [
//     {"kind": "planetary", "afterPairs": 1, "sun": 21, "planet": 43, "ring": 108,
//      "planets": 3, "fixed": "ring", "input": "sun"},
//     {"kind": "belt", "afterPairs": 0, "driving": 125, "driven": 250, "length": 1800,
//      "slip": 2}
//   ],
//   "bearings": [
//     {"shaft": 1, "designation": "6205-2RS", "turning": "inner",
//      "geometry": {"elements": 9, "elementDiameter": 7.94, "pitchDiameter": 39.04,
//                   "contactAngle": 0}},
//     {"planetsOf": 1, "designation": "NA 4905", "turning": "outer",
//      "factors": {"FTF": 0.39828, "BPFO": 3.5848, "BPFI": 5.4152, "BSF": 4.7135,
//                  "BSFis": "bothRings"}}
//   ]
//
// "afterPairs" counts the parallel pairs before the stage (0 … 9); stages
// come in chain order. A bearing sits on a shaft (1 …) or on the planets of
// the planetary stage numbered by its place in "stages" (1 …). Lengths in
// mm, the contact angle in degrees, factors as multiples of the speed of
// the turning ring, "BSFis" saying whether the catalogue's BSF is the spin
// ("spin") or the element defect ("bothRings"). Numbers are written in the
// shortest form that reads back the same.
//
// The library file: {"format": "gearfreq-bearings", "version": 1,
// "bearings": [ … ]}, the bearings without "shaft" or "planetsOf".
#pragma once

#include "machine/document.h"
#include "settings/safe_read.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <optional>
#include <vector>

namespace machine {

QByteArray stagesJson(const std::vector<ExtraStage> &stages, const QByteArray &indent);
QByteArray bearingsJson(const std::vector<MountedBearing> &bearings, const QByteArray &indent);

// Empty on success, else what is wrong, in Russian (naming the stage or
// bearing). Stages out of chain order are put in order.
QString readStages(const QJsonValue &value, std::vector<ExtraStage> &out);
QString readBearings(const QJsonValue &value, const std::vector<ExtraStage> &stages,
                     std::vector<MountedBearing> &out);

// --- the user's bearing library

inline constexpr char kBearingLibraryFormat[] = "gearfreq-bearings";
inline constexpr int kBearingLibraryLimit = 500; // bearings
inline constexpr qint64 kBearingLibraryFileLimit = 1024 * 1024;

QByteArray bearingLibraryBytes(const std::vector<Bearing> &bearings);
struct BearingLibraryRead {
    std::vector<Bearing> bearings;
    QString error; // empty: read (a missing file is an empty library)
};
BearingLibraryRead parseBearingLibrary(const QByteArray &bytes);
BearingLibraryRead readBearingLibrary(const QString &path);
QString bearingLibraryPath(const QString &configFolder);
// The library with `bearing` in it: one of the same designation is
// replaced, a new one goes first; the limit keeps the newest.
std::vector<Bearing> withBearing(std::vector<Bearing> library, const Bearing &bearing);

} // namespace machine
