#pragma once

#include <cstdint>
#include <limits>

namespace pelvano {

// Sampling weights, distances and sizes are computed in x87 extended precision; results (which
// thread a cell gets, how a size rounds) depend on the 64-bit mantissa, so a plain double
// (MSVC's long double) would change them.
using Real = long double;
static_assert(std::numeric_limits<Real>::digits == 64,
              "Pelvano needs an 80-bit long double (x86-64 with GCC or Clang, or MinGW)");

// Truncates towards zero, then rounds up when the first decimal digit of the fraction is 5 or
// more: 2.5 -> 3, 2.49 -> 2, -2.7 -> -2.
std::int32_t RoundHalfUp(Real x);

// Truncates towards zero, then adds one when the fraction exceeds 1e-7: 3.0000002 -> 4, but
// 3.00000005 -> 3.
std::int32_t CeilLoose(Real x);

} // namespace pelvano
