// A family's matches as the variants window's list reads them: a line's text
// is made when the line is painted or copied.
#pragma once

#include "search/list_lines.h"
#include "ui/kit/line_memo.h"

#include <memory>

class FamilyLines : public LineList {
public:
    FamilyLines(std::shared_ptr<const search::GridResult> result, search::Family family)
        : lines(std::move(result), family) {}
    int count() const override { return lines.count(); }
    QString line(int index) const override { return lines.line(index); }
    std::int64_t widest(const LatinAdvances &advances, const QFontMetricsF &) const override {
        return lines.widest(advances);
    }

private:
    search::ListLines lines;
};
