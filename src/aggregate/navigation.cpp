// The moves along an aggregate.
#include "aggregate/navigation.h"

namespace aggregate {

void AggregateState::storeSlot(int k, const GearPair &pair) {
    PairStore.store(k, pair);
    itemVisible[static_cast<std::size_t>(k - 1)] = true;
}

NextPath nextPath(const AggregateState &s) {
    const int k = s.CurrentPair;
    return (k == kPairCount || !s.PairStore.occupied(k + 1)) ? NextPath::Create : NextPath::Advance;
}

bool createNext(AggregateState &s, const GearPair &shown) {
    const int k = s.CurrentPair;
    s.storeSlot(k, shown);
    const bool started = k < kPairCount;
    s.nextEnabled = false;
    if (started)
        s.CurrentPair = k + 1;
    s.backEnabled = true;
    return started;
}

GearPair advanceNext(AggregateState &s) {
    s.CurrentPair += 1;
    if (s.CurrentPair == kPairCount)
        s.nextEnabled = false;
    s.backEnabled = true;
    return s.PairStore.load(s.CurrentPair);
}

GearPair back(AggregateState &s, const GearPair &shown, std::int32_t pairCalculated) {
    const int k = s.CurrentPair;
    // The newest pair is kept only once it has been calculated.
    if (!s.PairStore.occupied(k) && pairCalculated == 1)
        s.storeSlot(k, shown);
    s.CurrentPair = k - 1;
    if (s.CurrentPair == 1)
        s.backEnabled = false;
    s.nextEnabled = true;
    return s.PairStore.load(s.CurrentPair);
}

void saveStep(AggregateState &s, const GearPair &shown, std::int32_t pairCalculated) {
    const int k = s.CurrentPair;
    if (k >= 2 && k <= kPairCount && !s.PairStore.occupied(k) && pairCalculated == 1)
        s.storeSlot(k, shown);
}

GearPair jump(AggregateState &s, int j) {
    s.CurrentPair = j;
    s.nextEnabled = j != kPairCount;
    s.backEnabled = j != 1;
    return s.PairStore.load(j);
}

void calculationSucceeded(AggregateState &s) {
    if (!s.PairStore.occupied(8))
        s.nextEnabled = true;
}

void resetAggregate(AggregateState &s) {
    s.CurrentPair = 1;
    s.nextEnabled = false;
    s.backEnabled = false;
    s.PairStore.clear();
    s.itemVisible.fill(false);
    s.NewAggregateConfirmed = 0;
}

PairStart nextPairStart(const QString &fr2Shown) {
    return {{QString(), fr2Shown, QString(), QStringLiteral("0")}, {false, true, false, false}};
}

PairStart newAggregateStart() {
    return {{QString(), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}, {}};
}

} // namespace aggregate
