// The pair store.
#include "aggregate/pair_store.h"

#include <QtGlobal>

namespace aggregate {

namespace {
std::size_t slotIndex(int k) {
    Q_ASSERT(k >= 1 && k <= kPairCount);
    return static_cast<std::size_t>(k - 1);
}
} // namespace

void PairStore::store(int k, const GearPair &pair) {
    pairs[slotIndex(k)] = {pair.z1.left(kPairTextLimit), pair.fr1.left(kPairTextLimit),
                           pair.z2.left(kPairTextLimit), pair.fm.left(kPairTextLimit)};
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
