// The inputs of up to nine pairs of an aggregate, kept as the texts typed.
#pragma once

#include <QString>
#include <array>

namespace aggregate {

inline constexpr int kPairCount = 9;

struct GearPair {
    QString z1;
    QString fr1;
    QString z2;
    QString fm;
    bool operator==(const GearPair &) const = default;
};

class PairStore {
public:
    // k is 1 to 9. Each text is kept as calc::capturedText keeps it (its
    // first 50 characters); nothing is checked.
    void store(int k, const GearPair &pair);
    const GearPair &load(int k) const;
    // A slot counts as occupied exactly when its Z2 text is not empty.
    bool occupied(int k) const;
    void clear();

private:
    std::array<GearPair, kPairCount> pairs;
};

} // namespace aggregate
