// The chain of stages of a machine and the edits that build it: where each
// stage beside the pairs sits, and inserting, removing and moving such a
// stage while the shafts' names, bearings, the known speed and the unit of
// orders stay on the shafts they were given for.
//
// Shafts keep their numbers where they can: a stage inserted after shaft s
// takes s as its input and a new shaft s + 1 as its output, and every shaft
// after it moves up by one; a stage removed joins its two shafts into the
// first (the second's name and bearings go to it when the first has none of
// its own … its bearings are kept as well), and every shaft after moves
// down by one. A stage moved past its neighbour swaps places with it; the
// shafts keep their numbers and what was given for them.
#pragma once

#include "machine/document.h"

#include <vector>

namespace machine {

struct ChainEntry {
    StageKind kind = StageKind::Pair;
    int index = 0; // the pair's index among the pairs, or the index into extraStages
    bool operator==(const ChainEntry &) const = default;
};

// Stage 1, 2, … of a machine with `pairCount` parallel pairs. A stage placed
// after more pairs than there are comes after the last.
std::vector<ChainEntry> chainOrder(int pairCount, const std::vector<ExtraStage> &extras);

// The number of shafts: one more than the stages, none without a stage.
int shaftCount(int pairCount, const std::vector<ExtraStage> &extras);

// Each edit returns false and changes nothing when it cannot be made (no
// such shaft or stage, the limit of stages reached, nothing to move past).
bool insertStage(MachineDocument &document, int pairCount, int afterShaft, const ExtraStage &stage);
bool removeStage(MachineDocument &document, int pairCount, int extraIndex);
bool moveStage(MachineDocument &document, int pairCount, int extraIndex, int direction);

// Where stage `extraIndex` sits: its input shaft, 0 when there is none.
int inputShaftOf(int pairCount, const std::vector<ExtraStage> &extras, int extraIndex);

} // namespace machine
