// Fuzz target: the machine-file reader. Any bytes are either refused with a
// message that names the file, or read into a state that keeps the file's
// limits and survives writing: the written bytes read back as the same
// state and write again as the same bytes.
#include "calc/input_text.h"
#include "fuzz_check.h"
#include "machine/machine_file.h"

#include <cstdint>

namespace {

void checkLimits(const machine::MachineState &s, const std::string &shown) {
    FUZZ_CHECK(s.currentPair >= 1 && s.currentPair <= aggregate::kPairCount, shown);
    const machine::MachineDocument &d = s.document;
    FUZZ_CHECK(calc::characterCount(d.name) <= machine::kNameLimit, shown);
    FUZZ_CHECK(calc::characterCount(d.notes) <= machine::kNotesLimit, shown);
    FUZZ_CHECK(d.extraStages.size() <= std::size_t(machine::kExtraStageLimit), shown);
    FUZZ_CHECK(d.bearings.size() <= std::size_t(machine::kBearingLimit), shown);
    for (std::size_t i = 1; i < d.extraStages.size(); ++i)
        FUZZ_CHECK(d.extraStages[i - 1].afterPairs <= d.extraStages[i].afterPairs, shown);
    for (const machine::MountedBearing &b : d.bearings)
        FUZZ_CHECK(b.onPlanets() ? d.extraStages[std::size_t(b.planetsOf)].kind ==
                                       machine::StageKind::Planetary
                                 : b.shaft >= 1 && b.shaft <= machine::kShaftLimit,
                   shown);
    FUZZ_CHECK(calc::characterCount(d.measurement) <= machine::kMeasurementPathLimit, shown);
    auto pairFits = [](const aggregate::GearPair &p) {
        for (const QString *t : {&p.z1, &p.fr1, &p.z2, &p.fm})
            if (!calc::fitsTextLimit(*t))
                return false;
        return true;
    };
    FUZZ_CHECK(pairFits(s.inputs), shown);
    for (const aggregate::GearPair &p : s.pairSlots)
        FUZZ_CHECK(pairFits(p), shown);
    if (d.hasKnownSpeed())
        FUZZ_CHECK(d.known.shaft >= 1 && d.known.shaft <= machine::kShaftLimit &&
                       calc::fitsTextLimit(d.known.text),
                   shown);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::string shown = "file " + fuzz::quoted(bytes);
    const machine::MachineFileRead read = machine::parseMachineFile(bytes, "fuzz.json");
    if (!read.state) {
        FUZZ_CHECK(read.error.startsWith(QStringLiteral("Файл агрегата «fuzz.json» не открыт: ")) &&
                       read.error.endsWith(QLatin1Char('.')),
                   shown + " refused with " + fuzz::quoted(read.error));
        return 0;
    }
    FUZZ_CHECK(read.error.isEmpty(), shown);
    checkLimits(*read.state, shown);

    const QByteArray written = machine::machineFileBytes(*read.state);
    const machine::MachineFileRead again = machine::parseMachineFile(written, "fuzz.json");
    FUZZ_CHECK(again.state.has_value(), shown + " written as " + fuzz::quoted(written) +
                                            " is refused: " + fuzz::quoted(again.error));
    FUZZ_CHECK(*again.state == *read.state, shown + " changes when written and read again");
    FUZZ_CHECK(machine::machineFileBytes(*again.state) == written,
               shown + " is not written the same way twice");
    return 0;
}
