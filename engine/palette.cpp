#include "engine/palette.h"

#include "engine/thread_matcher.h"
#include "engine/thread_table.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace pelvano {

const ThreadTable& ThreadPalette() {
    return kThreadTable;
}

Real ColorDistance(std::uint32_t a, std::uint32_t b) {
    const int dr = static_cast<int>(a & 0xFF) - static_cast<int>(b & 0xFF);
    const int dg = static_cast<int>((a >> 8) & 0xFF) - static_cast<int>((b >> 8) & 0xFF);
    const int db = static_cast<int>((a >> 16) & 0xFF) - static_cast<int>((b >> 16) & 0xFF);
    return std::sqrt(static_cast<Real>(db * db + dg * dg + dr * dr));
}

std::uint32_t NearestThread(int r, int g, int b, ThreadUsage& usage) {
    const int chosen = NearestThreadIndex(r, g, b);
    ++usage[chosen];
    return ThreadPalette()[chosen].Color;
}

int ThreadIndexOfColor(std::uint32_t color) {
    // Colours are unique in the palette, so a sorted copy answers by binary search.
    static const auto byColor = [] {
        std::array<std::pair<std::uint32_t, int>, kThreadCount> sorted{};
        for (int i = 1; i <= kThreadCount; ++i) {
            sorted[i - 1] = {kThreadTable[i].Color, i};
        }
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }();
    const auto it =
        std::lower_bound(byColor.begin(), byColor.end(), std::pair<std::uint32_t, int>{color, 0});
    return it != byColor.end() && it->first == color ? it->second : 0;
}

} // namespace pelvano
