// The benchmarks' largest gearbox: a reducer of nine stages, each with a
// carrier or bearing frequency as Fm, each next pair's Fr1 the Fr2 text shown
// for the pair before (as "Далее >" chains them).
#pragma once

#include "aggregate/pair_store.h"
#include "machine/train.h"

#include <vector>

inline std::vector<aggregate::GearPair> ninePairReducer() {
    const char *teeth[][3] = {{"17", "53", "1210"}, {"19", "61", "845"}, {"23", "47", "512"},
                              {"29", "71", "330"},  {"31", "67", "207"}, {"13", "41", "118"},
                              {"37", "79", "76"},   {"11", "43", "41"},  {"25", "59", "23"}};
    std::vector<aggregate::GearPair> pairs;
    QString fr1 = QStringLiteral("49,5");
    for (const auto &t : teeth) {
        pairs.push_back({t[0], fr1, t[1], t[2]});
        fr1 = machine::buildTrain(pairs, false, 1).pairs.back().fr2Text;
    }
    return pairs;
}
