// The worst cases of the frequency search: step 0,5 up to 50 (101 × 101
// points), all eleven families taking part and every candidate within the
// 20 Hz window of 5 Hz, so that the lists are as long as they get (112 211
// lines). With Z1 = Z2 = 1 every frequency equals Fr1, and Fm is the same:
// 0,1 Hz gives the shortest lines, 0,0987654321098765 Hz lines whose values
// have 15 digits, the most text.
#pragma once

#include "search/grid.h"

#include <QString>

struct WorstCase {
    const char *name;
    const char *frequencyText; // Fr1 and Fm as typed
    double frequency;
};

inline constexpr WorstCase kWorstByCount{"by line count", "0,1", 0.1};
inline constexpr WorstCase kWorstByText{"by text volume", "0,0987654321098765", 0.0987654321098765};

inline search::GridPair worstPair(const WorstCase &w) {
    return search::GridPair{1, 1, w.frequency, w.frequency, w.frequency, w.frequency, true};
}

inline search::SearchParameters worstParameters() {
    search::SearchParameters p;
    p.target = 5;
    p.tolerance = 20;
    p.harmonicStep = 0.5;
    p.maxFrequency = 40000;
    p.maxHarmonic = 50;
    return p;
}
