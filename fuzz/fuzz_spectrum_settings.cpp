// Fuzz target: the spectrum window's settings file. Whatever it holds, what
// is read keeps every bound, and writing it reads back the same.
#include "fuzz_check.h"
#include "machine/train.h"
#include "spectrum/view_settings.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::string shown = "file " + fuzz::quoted(bytes);
    const spectrum::ViewSettings s = spectrum::readViewSettings(bytes);
    const spectrum::TransformSettings &t = s.transform;
    FUZZ_CHECK(std::find(spectrum::kLineChoices.begin(), spectrum::kLineChoices.end(), t.lines) !=
                   spectrum::kLineChoices.end(),
               shown);
    FUZZ_CHECK(std::find(spectrum::kOverlapChoices.begin(), spectrum::kOverlapChoices.end(),
                         t.overlapPercent) != spectrum::kOverlapChoices.end(),
               shown);
    FUZZ_CHECK(int(t.window) <= int(spectrum::Window::Rectangular), shown);
    FUZZ_CHECK(s.peaks.maxCount >= 1 && s.peaks.maxCount <= spectrum::kPeakCountLimit, shown);
    FUZZ_CHECK(s.textOrdersShaft >= 1 && s.textOrdersShaft <= machine::kShaftLimit, shown);
    FUZZ_CHECK(spectrum::readViewSettings(spectrum::viewSettingsBytes(s)) == s, shown);
    return 0;
}
