#pragma once

#include "engine/real.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace pelvano {

// One embroidery thread of the palette.
struct Item {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    std::uint32_t Color = 0; // R + G*256 + B*65536 (0x00BBGGRR)
    std::string_view Name;   // catalogue name as shown to the user: "310", "Ecru", "335 or 326"
};

inline constexpr int kThreadCount = 460;

// Threads are numbered 1..460; entry 0 is unused.
using ThreadTable = std::array<Item, kThreadCount + 1>;
// Crosses per thread, parallel to the palette (entry 0 unused).
using ThreadUsage = std::array<std::int64_t, kThreadCount + 1>;

// The fixed palette, built once on first use and read-only afterwards.
const ThreadTable& ThreadPalette();

// Euclidean distance between two 0x00BBGGRR colours.
Real ColorDistance(std::uint32_t a, std::uint32_t b);

// The colour of the thread nearest to (r, g, b); on equal distance the lower palette number
// wins. Adds one to that thread's usage counter.
std::uint32_t NearestThread(int r, int g, int b, ThreadUsage& usage);

// Palette number of the thread with this colour, or 0 when no thread has it.
int ThreadIndexOfColor(std::uint32_t color);

} // namespace pelvano
