// The entry-to-edit tables of the main window.
#include "ui/main/entry_widgets.h"

#include "calc/rows.h"
#include "ui/main/Unit1.h"

namespace ui {

constexpr std::array<EntryWidget, calc::kInputCount> kInputWidgets{{
    {calc::Entry::Z1, "Edit1", &TForm1::Edit1},
    {calc::Entry::Fr1, "Edit2", &TForm1::Edit2},
    {calc::Entry::Z2, "Edit3", &TForm1::Edit3},
    {calc::Entry::Fm, "Edit4", &TForm1::Edit4},
    {calc::Entry::FzPlusFr1_k1, "Edit27", &TForm1::Edit27},
    {calc::Entry::FzPlusFr1_k2, "Edit29", &TForm1::Edit29},
    {calc::Entry::FzMinusFr1_k1, "Edit7", &TForm1::Edit7},
    {calc::Entry::FzMinusFr1_k2, "Edit12", &TForm1::Edit12},
    {calc::Entry::FzPlusFr2_k1, "Edit14", &TForm1::Edit14},
    {calc::Entry::FzPlusFr2_k2, "Edit15", &TForm1::Edit15},
    {calc::Entry::FzMinusFr2_k1, "Edit30", &TForm1::Edit30},
    {calc::Entry::FzMinusFr2_k2, "Edit32", &TForm1::Edit32},
    {calc::Entry::Fr1TimesFr2_k1, "Edit34", &TForm1::Edit34},
    {calc::Entry::Fr1TimesFr2_k2, "Edit35", &TForm1::Edit35},
    {calc::Entry::Fr1PlusFr2_k1, "Edit49", &TForm1::Edit49},
    {calc::Entry::Fr1PlusFr2_k2, "Edit50", &TForm1::Edit50},
    {calc::Entry::FrDifference_k1, "Edit52", &TForm1::Edit52},
    {calc::Entry::FrDifference_k2, "Edit53", &TForm1::Edit53},
    {calc::Entry::FmPlusFr1_k1, "Edit43", &TForm1::Edit43},
    {calc::Entry::FmPlusFr1_k2, "Edit44", &TForm1::Edit44},
    {calc::Entry::FmMinusFr1_k1, "Edit46", &TForm1::Edit46},
    {calc::Entry::FmMinusFr1_k2, "Edit47", &TForm1::Edit47},
    {calc::Entry::FmPlusFr2_k1, "Edit40", &TForm1::Edit40},
    {calc::Entry::FmPlusFr2_k2, "Edit41", &TForm1::Edit41},
    {calc::Entry::FmMinusFr2_k1, "Edit37", &TForm1::Edit37},
    {calc::Entry::FmMinusFr2_k2, "Edit38", &TForm1::Edit38},
}};

constexpr std::array<EntryWidget, calc::kDisplayCount> kResultWidgets{{
    {calc::Entry::Fz, "Edit6", &TForm1::Edit6},
    {calc::Entry::GearRatio, "Edit26", &TForm1::Edit26},
    {calc::Entry::FzX2, "Edit8", &TForm1::Edit8},
    {calc::Entry::FzX3, "Edit9", &TForm1::Edit9},
    {calc::Entry::FzHalf, "Edit10", &TForm1::Edit10},
    {calc::Entry::FzThird, "Edit11", &TForm1::Edit11},
    {calc::Entry::Fr1, "Edit21", &TForm1::Edit21},
    {calc::Entry::Fr1X2, "Edit22", &TForm1::Edit22},
    {calc::Entry::Fr1X3, "Edit23", &TForm1::Edit23},
    {calc::Entry::Fr1Half, "Edit24", &TForm1::Edit24},
    {calc::Entry::Fr1Third, "Edit25", &TForm1::Edit25},
    {calc::Entry::Fr2, "Edit16", &TForm1::Edit16},
    {calc::Entry::Fr2X2, "Edit17", &TForm1::Edit17},
    {calc::Entry::Fr2X3, "Edit18", &TForm1::Edit18},
    {calc::Entry::Fr2Half, "Edit19", &TForm1::Edit19},
    {calc::Entry::Fr2Third, "Edit20", &TForm1::Edit20},
    {calc::Entry::FzPlusFr1, "Edit31", &TForm1::Edit31},
    {calc::Entry::FzMinusFr1, "Edit13", &TForm1::Edit13},
    {calc::Entry::FzPlusFr2, "Edit28", &TForm1::Edit28},
    {calc::Entry::FzMinusFr2, "Edit33", &TForm1::Edit33},
    {calc::Entry::FmPlusFr1, "Edit45", &TForm1::Edit45},
    {calc::Entry::FmMinusFr1, "Edit48", &TForm1::Edit48},
    {calc::Entry::FmPlusFr2, "Edit42", &TForm1::Edit42},
    {calc::Entry::FmMinusFr2, "Edit39", &TForm1::Edit39},
    {calc::Entry::Fr1TimesFr2, "Edit36", &TForm1::Edit36},
    {calc::Entry::Fr1PlusFr2, "Edit51", &TForm1::Edit51},
    {calc::Entry::FrDifference, "Edit54", &TForm1::Edit54},
}};

namespace {
template <std::size_t N>
const char *nameIn(const std::array<EntryWidget, N> &table, calc::Entry e) {
    for (const EntryWidget &w : table)
        if (w.entry == e)
            return w.name;
    return nullptr;
}

// The tables follow the core's orders, entry by entry.
constexpr bool followsCoreOrders() {
    for (std::size_t i = 0; i < calc::kInputs.size(); ++i)
        if (kInputWidgets[i].entry != calc::kInputs[i].entry)
            return false;
    for (std::size_t i = 0; i < calc::kDisplay.size(); ++i)
        if (kResultWidgets[i].entry != calc::kDisplay[i])
            return false;
    return true;
}
static_assert(followsCoreOrders());
} // namespace

const char *inputEditName(calc::Entry e) {
    return nameIn(kInputWidgets, e);
}
const char *resultEditName(calc::Entry e) {
    return nameIn(kResultWidgets, e);
}

} // namespace ui
