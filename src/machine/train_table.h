// The train as the texts the engineer reads: the table of pairs, the table
// of shafts and the total ratio, in the chosen unit, and the same texts as
// CSV for a Russian spreadsheet and as tab-separated clipboard text.
//
// Numbers: every value is rounded once for showing, by tableNumber (the
// precision setting, but never fewer than six significant digits), so the
// same quantity reads the same in every cell, the CSV and the clipboard.
#pragma once

#include "machine/train.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace machine {

struct TableCell {
    QString text;
    QString hint;        // why a value is missing, or what a mark means
    bool marked = false; // the chain is broken here
};

struct TextTable {
    QStringList headers;
    std::vector<std::vector<TableCell>> rows;
};

// Columns of the pair table.
enum PairColumn : int {
    ColPair,
    ColZ1,
    ColZ2,
    ColRatio,
    ColFr1,
    ColFr2,
    ColFz,
    ColNa,
    ColApf,
    ColHtf,
    ColHtfPeriod,
    ColHunting,
    ColNote,
    kPairColumnCount
};
// Columns of the shaft table; the name is the user's, from the document.
enum ShaftColumn : int {
    ColShaft,
    ColShaftName,
    ColShaftFrequency,
    ColShaftPlace,
    kShaftColumnCount
};

struct TrainTables {
    TextTable pairs;
    TextTable shafts;
    QString totalRatio; // "Общее передаточное отношение (вал 1 / вал 4): 12,5"
};

TrainTables trainTables(const Train &train, const UnitChoice &unit,
                        const MachineDocument &document = {});

// The display rule of the train table: the precision setting's text when it
// keeps at least six significant digits of the value, otherwise the value
// rounded to six significant digits; the general decimal form either way.
QString tableNumber(double value, std::int32_t precisionFactor);
// The value rounded to `digits` (1 to 15) significant digits, as a number
// and in the general decimal form.
double roundedToSignificant(double value, int digits);
QString significantText(double value, int digits);

// A cell as a spreadsheet takes it without running it: a text that is not a
// plain number (sign, digits, a decimal comma or point, an exponent) and
// starts with "=", "+", "-", "@", a tab or a carriage return gets a leading
// apostrophe, so that it stays text. Every exported and copied cell passes
// through it.
QString spreadsheetCell(const QString &text);

// Semicolons, decimal comma, CR LF, UTF-8 with a byte-order mark: the pair
// table with its header, an empty line, the shaft table with its header, an
// empty line and the total ratio.
QByteArray trainCsv(const TrainTables &tables);
// The same rows with tabs and LF, for the clipboard.
QString trainTabText(const TrainTables &tables);

} // namespace machine
