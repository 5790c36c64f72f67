// The moves along an aggregate as decisions over the store, the current
// pair and the calculated flag: which path "Далее >" takes, what each move
// stores, which slot it loads and which moves are available afterwards.
// The window applies them to its fields and runs the calculation. The flag
// belongs to the pair's calculation state: the moves read it, and after
// each move the window clears it (the pair shown is no longer the one that
// was calculated).
#pragma once

#include "aggregate/pair_store.h"

#include <array>
#include <cstdint>

namespace aggregate {

struct AggregateState {
    aggregate::PairStore PairStore;
    int CurrentPair = 1;
    bool nextEnabled = false; // "Далее >" and "F6-далее"
    bool backEnabled = false; // "< Назад" and "F5-назад"
    // Pair item k is shown once slot k has been written since the last reset.
    std::array<bool, kPairCount> itemVisible{};
    std::int32_t NewAggregateConfirmed = 0;

    // Stores slot k and shows its item.
    void storeSlot(int k, const GearPair &pair);
};

enum class NextPath {
    Create,  // store the pair shown and start the next one from its Fr2
    Advance, // go on to the stored successor
};

NextPath nextPath(const AggregateState &s);

// The create path, up to the start values of the new pair: stores the pair
// shown, moves on unless it is pair 9, turns Next off and Back on. True
// when a new pair was started (the window then writes its start values).
// The window clears the calculated flag.
bool createNext(AggregateState &s, const GearPair &shown);

// The advance path before the calculation: moves on and returns the pair to
// load; Next goes off on arriving at 9 and Back on.
GearPair advanceNext(AggregateState &s);

// "< Назад" before the calculation: keeps the newest pair when it has been
// calculated, steps back and returns the pair to load; the window clears the
// calculated flag after the calculation.
GearPair back(AggregateState &s, const GearPair &shown, std::int32_t pairCalculated);

// The save step: keeps the newest, calculated pair 2 to 9 that is not yet
// stored. The window clears the calculated flag whatever it kept.
void saveStep(AggregateState &s, const GearPair &shown, std::int32_t pairCalculated);

// The jump to pair j (1 to 9) after its save step: returns the pair to load
// and sets the moves by the table of the jumps.
GearPair jump(AggregateState &s, int j);

// The calculation succeeded: Next comes on while slot 8 is free.
void calculationSucceeded(AggregateState &s);

// A new aggregate: back to pair 1 with an empty store, no moves, no items.
void resetAggregate(AggregateState &s);

// What the four input fields show when a pair starts, and which of them
// stand marked as changed (Z1, Fr1, Z2, Fm). The window writes the texts in
// that order with the focus on Z1, then sets the marks.
struct PairStart {
    GearPair texts;
    std::array<bool, 4> marks{};
    bool operator==(const PairStart &) const = default;
};

// The pair that "Далее >" starts: on the shaft of wheel 2 of the pair
// before, so its Fr1 is that pair's Fr2 as shown, and marked as entered.
PairStart nextPairStart(const QString &fr2Shown);

// The first pair of a new aggregate: nothing entered, nothing marked.
PairStart newAggregateStart();

} // namespace aggregate
