// The chain order and the edits of stages.
#include "machine/stage_chain.h"

#include <algorithm>

namespace machine {

namespace {

// Every reference to a shaft from `from` on moves by `delta`.
void shiftShafts(MachineDocument &d, int from, int delta) {
    const auto shifted = [&](int shaft) { return shaft >= from ? shaft + delta : shaft; };
    for (MountedBearing &b : d.bearings)
        if (!b.onPlanets())
            b.shaft = shifted(b.shaft);
    d.known.shaft = shifted(d.known.shaft);
    d.unit.ordersShaft = shifted(d.unit.ordersShaft);
    auto &names = d.shaftNames;
    const auto at = static_cast<std::size_t>(from - 1);
    if (delta > 0 && at < names.size())
        names.insert(names.begin() + static_cast<std::ptrdiff_t>(at), QString());
    else if (delta < 0 && at >= 1 && at - 1 < names.size())
        names.erase(names.begin() + static_cast<std::ptrdiff_t>(at - 1));
}

// The chain position (0-based) of extra stage `extraIndex`, or -1.
int positionOf(const std::vector<ChainEntry> &chain, int extraIndex) {
    for (std::size_t i = 0; i < chain.size(); ++i)
        if (chain[i].kind != StageKind::Pair && chain[i].index == extraIndex)
            return static_cast<int>(i);
    return -1;
}

// The planets' bearings follow their stage's index.
void renumberPlanetMounts(MachineDocument &d, int from, int delta) {
    for (MountedBearing &b : d.bearings)
        if (b.planetsOf >= from)
            b.planetsOf += delta;
}

} // namespace

std::vector<ChainEntry> chainOrder(int pairCount, const std::vector<ExtraStage> &extras) {
    std::vector<ChainEntry> chain;
    std::size_t next = 0;
    for (int placed = 0; placed <= pairCount; ++placed) {
        for (; next < extras.size() &&
               (std::min(extras[next].afterPairs, pairCount) <= placed || placed == pairCount);
             ++next)
            chain.push_back({extras[next].kind, static_cast<int>(next)});
        if (placed < pairCount)
            chain.push_back({StageKind::Pair, placed});
    }
    return chain;
}

int shaftCount(int pairCount, const std::vector<ExtraStage> &extras) {
    const int stages = pairCount + static_cast<int>(extras.size());
    return stages == 0 ? 0 : stages + 1;
}

int inputShaftOf(int pairCount, const std::vector<ExtraStage> &extras, int extraIndex) {
    return positionOf(chainOrder(pairCount, extras), extraIndex) + 1;
}

bool insertStage(MachineDocument &d, int pairCount, int afterShaft, const ExtraStage &stage) {
    if (static_cast<int>(d.extraStages.size()) >= kExtraStageLimit)
        return false;
    const std::vector<ChainEntry> chain = chainOrder(pairCount, d.extraStages);
    const int shafts = std::max(shaftCount(pairCount, d.extraStages), 1);
    if (afterShaft < 1 || afterShaft > shafts)
        return false;
    // The stages before the new one: those whose input shaft is before it.
    int pairsBefore = 0, extrasBefore = 0;
    for (int i = 0; i < afterShaft - 1 && i < static_cast<int>(chain.size()); ++i)
        (chain[static_cast<std::size_t>(i)].kind == StageKind::Pair ? pairsBefore : extrasBefore) +=
            1;
    ExtraStage placed = stage;
    placed.afterPairs = pairsBefore;
    d.extraStages.insert(d.extraStages.begin() + extrasBefore, placed);
    renumberPlanetMounts(d, extrasBefore, 1);
    shiftShafts(d, afterShaft + 1, 1);
    return true;
}

bool removeStage(MachineDocument &d, int pairCount, int extraIndex) {
    if (extraIndex < 0 || extraIndex >= static_cast<int>(d.extraStages.size()))
        return false;
    const int input = inputShaftOf(pairCount, d.extraStages, extraIndex);
    const int output = input + 1;
    // The output shaft joins the input shaft.
    if (d.shaftName(input).isEmpty() && !d.shaftName(output).isEmpty()) {
        if (d.shaftNames.size() < static_cast<std::size_t>(input))
            d.shaftNames.resize(static_cast<std::size_t>(input));
        d.shaftNames[static_cast<std::size_t>(input - 1)] = d.shaftName(output);
    }
    for (MountedBearing &b : d.bearings)
        if (!b.onPlanets() && b.shaft == output)
            b.shaft = input;
    if (d.known.shaft == output)
        d.known.shaft = input;
    if (d.unit.ordersShaft == output)
        d.unit.ordersShaft = input;
    shiftShafts(d, output + 1, -1);
    // The planets go with their stage, and their bearings with them.
    std::erase_if(d.bearings, [&](const MountedBearing &b) { return b.planetsOf == extraIndex; });
    renumberPlanetMounts(d, extraIndex + 1, -1);
    d.extraStages.erase(d.extraStages.begin() + extraIndex);
    return true;
}

bool moveStage(MachineDocument &d, int pairCount, int extraIndex, int direction) {
    if (extraIndex < 0 || extraIndex >= static_cast<int>(d.extraStages.size()) ||
        (direction != 1 && direction != -1))
        return false;
    const std::vector<ChainEntry> chain = chainOrder(pairCount, d.extraStages);
    const int at = positionOf(chain, extraIndex);
    const int to = at + direction;
    if (to < 0 || to >= static_cast<int>(chain.size()))
        return false;
    ExtraStage &moved = d.extraStages[static_cast<std::size_t>(extraIndex)];
    moved.afterPairs = std::min(moved.afterPairs, pairCount);
    const ChainEntry &neighbour = chain[static_cast<std::size_t>(to)];
    if (neighbour.kind == StageKind::Pair) {
        moved.afterPairs += direction;
        return true;
    }
    // Two extra stages side by side change places in the list.
    const int other = neighbour.index;
    std::swap(d.extraStages[static_cast<std::size_t>(extraIndex)],
              d.extraStages[static_cast<std::size_t>(other)]);
    for (MountedBearing &b : d.bearings)
        b.planetsOf = b.planetsOf == extraIndex ? other
                      : b.planetsOf == other    ? extraIndex
                                                : b.planetsOf;
    return true;
}

} // namespace machine
