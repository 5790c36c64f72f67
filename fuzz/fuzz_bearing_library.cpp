// Fuzz target: the user's bearing library. Any bytes are either refused with
// a message or read into bearings within the library's limits that write
// and read back as the same bearings.
#include "calc/input_text.h"
#include "fuzz_check.h"
#include "machine/components_file.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::string shown = "library " + fuzz::quoted(bytes);
    const machine::BearingLibraryRead read = machine::parseBearingLibrary(bytes);
    if (!read.error.isEmpty()) {
        FUZZ_CHECK(read.bearings.empty(), shown);
        return 0;
    }
    FUZZ_CHECK(read.bearings.size() <= std::size_t(machine::kBearingLibraryLimit), shown);
    for (const machine::Bearing &b : read.bearings)
        FUZZ_CHECK(calc::characterCount(b.designation) <= machine::kDesignationLimit, shown);
    const QByteArray written = machine::bearingLibraryBytes(read.bearings);
    const machine::BearingLibraryRead again = machine::parseBearingLibrary(written);
    FUZZ_CHECK(again.error.isEmpty() && again.bearings == read.bearings,
               shown + " written as " + fuzz::quoted(written) + " reads otherwise");
    return 0;
}
