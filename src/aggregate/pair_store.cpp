// The pair store.
#include "aggregate/pair_store.h"

#include "calc/input_text.h"

#include <QtGlobal>

namespace aggregate {

namespace {
std::size_t slotIndex(int k) {
    Q_ASSERT(k >= 1 && k <= kPairCount);
    return static_cast<std::size_t>(k - 1);
}
} // namespace

void PairStore::store(int k, const GearPair &pair) {
    pairs[slotIndex(k)] = {calc::capturedText(pair.z1), calc::capturedText(pair.fr1),
                           calc::capturedText(pair.z2), calc::capturedText(pair.fm)};
}

const GearPair &PairStore::load(int k) const {
    return pairs[slotIndex(k)];
}

bool PairStore::occupied(int k) const {
    return !pairs[slotIndex(k)].z2.isEmpty();
}

void PairStore::clear() {
    pairs.fill(GearPair{});
}

} // namespace aggregate
