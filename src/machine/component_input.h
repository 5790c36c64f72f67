// The stages and bearings as the user types them: the texts of a belt's
// sizes and of a bearing's geometry or catalogue factors read by the
// program's number rules (the comma rule, the number syntax), with the
// message that names the field that is wrong; and the texts a dialog shows
// for a stage or bearing already in the machine. A stage or bearing that
// reads is still checked by its own rules (planetaryProblem, beltProblem,
// bearingProblem) before it is taken.
#pragma once

#include "machine/bearing.h"
#include "machine/stages.h"

#include <QString>
#include <optional>

namespace machine {

struct BeltTexts {
    QString driving, driven, length, slip;
};
struct BeltRead {
    std::optional<BeltStage> belt;
    QString error; // "D2: «2,5,0» — не число"
};
BeltRead readBelt(const BeltTexts &texts);
BeltTexts beltTexts(const BeltStage &belt);

struct BearingTexts {
    QString designation;
    bool byGeometry = true;
    QString elements, elementDiameter, pitchDiameter, contactAngle;
    QString ftf, bpfo, bpfi, bsf;
    SpinConvention catalogueSpin = SpinConvention::Spin;
    TurningRing turning = TurningRing::Inner;
};
struct BearingRead {
    std::optional<Bearing> bearing;
    QString error;
};
BearingRead readBearing(const BearingTexts &texts);
BearingTexts bearingTexts(const Bearing &bearing);

} // namespace machine
