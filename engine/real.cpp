#include "engine/real.h"

#include <cmath>

namespace pelvano {

namespace {

// Trunc that saturates instead of overflowing: the callers' values fit comfortably, but a
// corrupt input must not turn into undefined behaviour.
std::int32_t TruncToInt32(Real x) {
    constexpr Real kMin = static_cast<Real>(std::numeric_limits<std::int32_t>::min());
    constexpr Real kMax = static_cast<Real>(std::numeric_limits<std::int32_t>::max());
    if (std::isnan(x)) {
        return 0;
    }
    if (x <= kMin) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (x >= kMax) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(x);
}

} // namespace

std::int32_t RoundHalfUp(Real x) {
    const Real whole = std::trunc(x);
    const Real firstDigit = std::trunc((x - whole) * 10);
    const std::int32_t t = TruncToInt32(whole);
    if (firstDigit > 4 && t < std::numeric_limits<std::int32_t>::max()) {
        return t + 1;
    }
    return t;
}

std::int32_t CeilLoose(Real x) {
    const Real whole = std::trunc(x);
    const std::int32_t t = TruncToInt32(whole);
    if (x - whole > 1e-7L && t < std::numeric_limits<std::int32_t>::max()) {
        return t + 1;
    }
    return t;
}

} // namespace pelvano
