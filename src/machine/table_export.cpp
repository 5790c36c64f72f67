// CSV and the clipboard text of the train's tables.
#include "machine/table_export.h"

namespace machine {

namespace {

// Sign, digits with at most one decimal comma or point, an exponent.
bool isPlainNumber(const QString &text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto digits = [&] {
        const qsizetype from = i;
        while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            ++i;
        return i > from;
    };
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    if (!digits())
        return false;
    if (i < n && (text[i] == QLatin1Char(',') || text[i] == QLatin1Char('.'))) {
        ++i;
        if (!digits())
            return false;
    }
    if (i < n && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            ++i;
        if (!digits())
            return false;
    }
    return i == n;
}

} // namespace

QString csvField(const TableCell &cell, CsvConvention convention) {
    QString text = cell.numeric ? cell.text : spreadsheetCell(cell.text);
    if (cell.numeric && convention == CsvConvention::International)
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    static const QString kQuoteWhen = QStringLiteral(";,\"\t\n\r");
    const bool quote =
        std::any_of(text.begin(), text.end(), [](QChar c) { return kQuoteWhen.contains(c); });
    if (!quote)
        return text;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

namespace {

QString tabField(const TableCell &cell) {
    QString text = cell.numeric ? cell.text : spreadsheetCell(cell.text);
    for (QChar &c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

std::vector<TableCell> headings(const TextTable &t) {
    std::vector<TableCell> row;
    for (const QString &h : t.headers)
        row.push_back({h, {}, false, false});
    return row;
}

// The blocks, each row's fields through `field`, joined by `separator` and
// `lineEnd`; an empty line after each block.
template <class Field>
QString joined(const TrainTables &tables, QChar separator, const QString &lineEnd, Field field) {
    QString out;
    auto line = [&](const std::vector<TableCell> &row) {
        QStringList shown;
        for (const TableCell &c : row)
            shown << field(c);
        out += shown.join(separator) + lineEnd;
    };
    for (const std::vector<TableCell> &row : tables.summary)
        line(row);
    out += lineEnd;
    for (const TextTable *t :
         {&tables.pairs, &tables.shafts, &tables.planetaries, &tables.belts, &tables.bearings}) {
        if (t != &tables.pairs && t != &tables.shafts && t->rows.empty())
            continue;
        line(headings(*t));
        for (const std::vector<TableCell> &row : t->rows)
            line(row);
        out += lineEnd;
    }
    return out;
}

} // namespace

QString spreadsheetCell(const QString &text) {
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    if (text.isEmpty() || !kFormulaStarts.contains(text.front()) || isPlainNumber(text))
        return text;
    return QLatin1Char('\'') + text;
}

QString csvFilters() {
    return QStringLiteral("CSV: точка с запятой, десятичная запятая (*.csv);;"
                          "CSV: запятая, десятичная точка (*.csv)");
}

QByteArray trainCsv(const TrainTables &tables, CsvConvention convention) {
    return QByteArray("\xEF\xBB\xBF") +
           joined(tables, csvSeparator(convention), QStringLiteral("\r\n"),
                  [convention](const TableCell &c) { return csvField(c, convention); })
               .toUtf8();
}

QString trainTabText(const TrainTables &tables) {
    return joined(tables, QLatin1Char('\t'), QStringLiteral("\n"), &tabField);
}

} // namespace machine
