// A family's list line by line: the variants window makes a line's text when
// the line is painted or copied, not when the search runs, so that a search
// with a hundred thousand matches formats only the few lines in view.
#pragma once

#include "search/grid.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace search {

// Advances of the Latin-1 characters in some unit (the window uses 1/64
// pixels, rounded up per character); a line's width is the sum over its
// characters, as a list widget measures a line of Latin-1 text.
using CharAdvances = std::array<std::int32_t, 256>;

class ListLines {
public:
    ListLines(std::shared_ptr<const GridResult> result, Family family);

    int count() const { return count_; }
    // Line `index` (0 <= index < count()) exactly as listText writes it.
    QString line(int index) const;
    // The width of the widest line: the parts of a line (two coefficients,
    // two fixed texts, the value) are measured apart, and only the values
    // are written out, into a buffer, never as whole lines.
    std::int64_t widest(const CharAdvances &advances) const;

private:
    // The grid point of a line: its bit among the family's hits.
    std::size_t pointOf(int index) const;

    std::shared_ptr<const GridResult> result_;
    Family family_;
    int count_ = 0;
    // Matches in the hit words before each word, for finding line k.
    std::vector<std::int32_t> before_;
    QString first_;
    QString second_;
};

} // namespace search
