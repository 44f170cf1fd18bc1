#include "engine/thread_amount.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

namespace pelvano {

namespace {

// Tails, starts and ends, and thread that wears out, over the length the stitches themselves take.
constexpr Real kWasteFactor = 1.57L;
constexpr Real kThickFabricCrossMm = 2.3L;
constexpr Real kMillimetresPerInch = 25.4L;
constexpr std::array<int, 8> kAidaCounts{8, 11, 14, 16, 18, 20, 22, 25};

} // namespace

std::vector<std::int64_t> CrossesInKeyOrder(const PatternData& pattern) {
    std::unordered_map<std::uint32_t, std::size_t> position;
    for (std::size_t i = 0; i < pattern.usedColors.size(); ++i) {
        position.emplace(pattern.usedColors[i], i);
    }
    std::vector<std::int64_t> crosses(pattern.usedColors.size(), 0);
    for (std::uint32_t color : pattern.patternGrid) {
        if (auto found = position.find(color); found != position.end()) {
            ++crosses[found->second];
        }
    }
    return crosses;
}

int DefaultStrands(Real crossWidthMm) {
    return crossWidthMm >= kThickFabricCrossMm ? 3 : 2;
}

ThreadAmount ThreadForCrosses(std::int64_t crosses, Real crossWidthMm, Real crossHeightMm,
                              int strands) {
    ThreadAmount amount;
    if (crosses <= 0 || strands <= 0) {
        return amount;
    }
    const Real perCrossMm =
        (2 * std::sqrt(crossWidthMm * crossWidthMm + crossHeightMm * crossHeightMm) + crossWidthMm +
         crossHeightMm) *
        kWasteFactor;
    amount.metres = static_cast<Real>(crosses) * perCrossMm / 1000;
    // A skein gives six strands of 8 m: 6 / strands lengths of the working thread.
    const Real perSkein = kSkeinMetres * kSkeinStrands / strands;
    amount.skeins =
        std::max<std::int32_t>(1, static_cast<std::int32_t>(std::ceil(amount.metres / perSkein)));
    return amount;
}

std::int32_t FabricCrossHundredths(Real count) {
    return count > 0 ? RoundHalfUp(Real{2540} / count) : 0;
}

Real FabricCount(Real crossWidthMm) {
    return crossWidthMm > 0 ? kMillimetresPerInch / crossWidthMm : 0;
}

std::optional<int> UsualAidaCount(Real count) {
    std::optional<int> best;
    for (int usual : kAidaCounts) {
        const Real off = std::fabs(count - usual) / usual;
        if (off <= 0.03L && (!best || off < std::fabs(count - *best) / *best)) {
            best = usual;
        }
    }
    return best;
}

} // namespace pelvano
