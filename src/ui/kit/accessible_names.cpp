// Accessible names of the calculation's boxes, composed from the row tables
// of the calculation and a few words per quantity.
#include "ui/kit/accessible_names.h"

#include <array>
#include <cstring>

namespace accessibility {

namespace {

QString text(const char *s) {
    return QString::fromUtf8(s);
}

// The quantities of a pair: the symbol the window shows and what it is.
struct Quantity {
    calc::Entry entry;
    const char *symbol;
    const char *meaning;
};
constexpr std::array<Quantity, 7> kQuantities{{
    {calc::Entry::Z1, "Z1", "число зубьев 1-го колеса"},
    {calc::Entry::Z2, "Z2", "число зубьев 2-го колеса"},
    {calc::Entry::Fr1, "Fr1", "оборотная частота 1-го колеса, Гц"},
    {calc::Entry::Fr2, "Fr2", "оборотная частота 2-го колеса, Гц"},
    {calc::Entry::Fz, "Fz", "зубцовая частота, Гц"},
    {calc::Entry::Fm, "Fm", "промежуточная частота, Гц"},
    {calc::Entry::GearRatio, "i", "передаточное число"},
}};

// The harmonics of the results group: the quantity and its column.
struct Harmonic {
    calc::Entry entry;
    calc::Entry base;
    const char *column;
};
constexpr std::array<Harmonic, 12> kHarmonics{{
    {calc::Entry::FzThird, calc::Entry::Fz, "1/3"},
    {calc::Entry::FzHalf, calc::Entry::Fz, "1/2"},
    {calc::Entry::FzX2, calc::Entry::Fz, "2"},
    {calc::Entry::FzX3, calc::Entry::Fz, "3"},
    {calc::Entry::Fr1Third, calc::Entry::Fr1, "1/3"},
    {calc::Entry::Fr1Half, calc::Entry::Fr1, "1/2"},
    {calc::Entry::Fr1X2, calc::Entry::Fr1, "2"},
    {calc::Entry::Fr1X3, calc::Entry::Fr1, "3"},
    {calc::Entry::Fr2Third, calc::Entry::Fr2, "1/3"},
    {calc::Entry::Fr2Half, calc::Entry::Fr2, "1/2"},
    {calc::Entry::Fr2X2, calc::Entry::Fr2, "2"},
    {calc::Entry::Fr2X3, calc::Entry::Fr2, "3"},
}};

const Quantity *quantity(calc::Entry e) {
    for (const Quantity &q : kQuantities)
        if (q.entry == e)
            return &q;
    return nullptr;
}

// A modulation row as the window writes it, from the row's name:
// "FzPlusFr1" is "Fz + Fr1", with the operands "Fz" and "Fr1". The
// difference row puts the smaller wheel's shaft frequency first, whichever
// wheel that is, so it is named by what it is.
struct RowWords {
    QString formula;
    QString first;
    QString second;
};

RowWords rowWords(const calc::RowSpec &row) {
    const QString name = QString::fromLatin1(row.name);
    if (row.entry == calc::Entry::FrDifference)
        return {text("разность оборотных частот"), text("частоте меньшего колеса"),
                text("частоте большего колеса")};
    const std::pair<const char *, const char *> operators[] = {
        {"Plus", " + "}, {"Minus", " - "}, {"Times", " * "}};
    for (const auto &[word, sign] : operators) {
        const qsizetype at = name.indexOf(QLatin1String(word));
        if (at > 0) {
            const QString first = name.left(at);
            const QString second = name.mid(at + qsizetype(std::strlen(word)));
            return {first + QLatin1String(sign) + second, first, second};
        }
    }
    return {name, QString(), QString()};
}

const calc::RowSpec *rowOf(calc::Entry e, int *coefficient) {
    for (const calc::RowSpec &row : calc::kRows) {
        *coefficient = e == row.k1 ? 1 : e == row.k2 ? 2 : 0;
        if (*coefficient != 0 || e == row.entry)
            return &row;
    }
    return nullptr;
}

} // namespace

QString quantityName(calc::Entry entry) {
    const Quantity *q = quantity(entry);
    return q ? text(q->symbol) + QLatin1String(", ") + text(q->meaning) : QString();
}

QString inputName(const calc::InputSpec &input) {
    if (quantity(input.entry))
        return quantityName(input.entry);
    int coefficient = 0;
    if (const calc::RowSpec *row = rowOf(input.entry, &coefficient)) {
        const RowWords words = rowWords(*row);
        return words.formula + text(", коэффициент при ") +
               (coefficient == 1 ? words.first : words.second);
    }
    return QString::fromLatin1(calc::entryName(input.entry));
}

QString displayName(calc::Entry entry) {
    const QString result = text(", результат");
    if (quantity(entry))
        return quantityName(entry) + result;
    for (const Harmonic &h : kHarmonics)
        if (h.entry == entry)
            return text(quantity(h.base)->symbol) + text(" × ") + text(h.column) + result;
    int coefficient = 0;
    if (const calc::RowSpec *row = rowOf(entry, &coefficient))
        return rowWords(*row).formula + result;
    return QString();
}

} // namespace accessibility
