// The train as the texts the engineer reads: a summary of the machine, the
// table of pairs and the table of shafts, and, where the machine has them,
// the tables of its planetary stages (one column per stage), belts and
// bearings, in the chosen unit. The same texts
// go to CSV and to the clipboard (table_export.h).
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
    QString hint;         // why a value is missing, or what a mark means
    bool marked = false;  // the chain is broken here
    bool numeric = false; // a number in the general decimal form (a spreadsheet's number)
};

struct TextTable {
    QStringList headers;
    QStringList headerHints; // what a heading means, where it needs saying
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

// Rows of the planetary table: a quantity per row, a stage per column
// after the first, which names the quantity.
enum PlanetaryRow : int {
    RowPlanetaryShafts,
    RowPlanetaryTeeth,
    RowPlanets,
    RowFixed,
    RowDriven,
    RowPlanetaryRatio,
    RowSun,
    RowCarrier,
    RowRing,
    RowPlanet,
    RowPlanetRelative,
    RowPlanetaryMesh,
    RowSunFault,
    RowRingFault,
    RowPlanetFault,
    RowPlanetFaultBoth,
    RowPlanetPass,
    RowStrongest,
    RowPlanetaryNote,
    kPlanetaryRowCount
};
enum BeltColumn : int {
    ColBelt,
    ColBeltShafts,
    ColDriving,
    ColDriven,
    ColLength,
    ColSlip,
    ColBeltRatio,
    ColBeltPass,
    ColBeltNote,
    kBeltColumnCount
};
// Values in the table's unit, then the factors (multiples of the speed of
// what carries the bearing).
enum BearingColumn : int {
    ColBearing,
    ColDesignation,
    ColBearingPlace,
    ColTurning,
    ColFtf,
    ColBpfo,
    ColBpfi,
    ColBsf,
    ColBallDefect,
    ColFtfFactor,
    ColBpfoFactor,
    ColBpfiFactor,
    ColBsfFactor,
    ColBearingNote,
    kBearingColumnCount
};

// The chain of stages as the train window lists it for building.
enum StageColumn : int { ColStage, ColStageKind, ColStageWhat, ColStageShafts, kStageColumnCount };

struct TrainTables {
    // The machine in a few rows: a label and its values (name, notes, the
    // known speed, the units, the total ratio).
    std::vector<std::vector<TableCell>> summary;
    TextTable pairs;
    TextTable shafts;
    TextTable stages;      // every stage in chain order
    TextTable planetaries; // no rows without a planetary stage
    TextTable belts;
    TextTable bearings;
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

} // namespace machine
