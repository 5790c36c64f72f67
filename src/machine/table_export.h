// The train's tables as files and clipboard text a spreadsheet takes as they
// are meant: every text a text, every number a number.
//
// CSV, UTF-8 with a byte-order mark and CR LF, in one of two conventions:
// Russian (semicolons, decimal comma) for a spreadsheet with a Russian
// locale, international (commas, decimal point) for an English one. A field
// that holds a semicolon, a comma, a quote, a tab or a line break is quoted,
// whatever the convention, so that an import that splits at all three
// separators (LibreOffice's default) still finds each field whole. The file
// holds, each block followed by an empty line: the summary (name, notes,
// known speed, units, total ratio: a label, then its values in cells of
// their own), the pair table with its headings, the shaft table with its
// headings, and, where the machine has them, the planetary table (a
// quantity per row), the belt table and the bearing table.
#pragma once

#include "machine/train_table.h"

#include <QByteArray>
#include <QString>

namespace machine {

enum class CsvConvention { Russian, International };

QByteArray trainCsv(const TrainTables &tables, CsvConvention convention = CsvConvention::Russian);

// The conventions as a file dialog offers them, Russian first (index 0),
// international second (index 1).
QString csvFilters();
inline CsvConvention csvConventionOfFilter(int index) {
    return index == 1 ? CsvConvention::International : CsvConvention::Russian;
}
// The field separator of a convention.
inline QChar csvSeparator(CsvConvention convention) {
    return convention == CsvConvention::Russian ? QLatin1Char(';') : QLatin1Char(',');
}

// One field as the convention writes it: a number with its decimal
// separator, a text through spreadsheetCell; quoted when it holds a
// semicolon, a comma, a quote, a tab or a line break.
QString csvField(const TableCell &cell, CsvConvention convention);

// The same rows with tabs and LF, for the clipboard, as the window shows
// them (decimal comma).
QString trainTabText(const TrainTables &tables);

// A cell as a spreadsheet takes it without running it: a text that is not a
// plain number (sign, digits, a decimal comma or point, an exponent) and
// starts with "=", "+", "-", "@", a tab or a carriage return gets a leading
// apostrophe, so that it stays text. Every exported and copied cell passes
// through it.
QString spreadsheetCell(const QString &text);

} // namespace machine
