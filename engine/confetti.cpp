#include "engine/confetti.h"

#include "engine/color_science.h"
#include "engine/perceptual_matcher.h"

#include <cstddef>
#include <unordered_set>
#include <vector>

namespace pelvano {

namespace {

// A pattern colour's palette number, or past the palette (ordered by colour) for a colour no
// thread has, so such colours lose ties to real threads.
std::int64_t TieRank(std::uint32_t color) {
    const int index = ThreadIndexOfColor(color);
    return index > 0 ? index : kThreadCount + 1 + static_cast<std::int64_t>(color);
}

Lab LabOfColor(std::uint32_t color) {
    const int index = ThreadIndexOfColor(color);
    if (index > 0) {
        return ThreadLab(index);
    }
    return SrgbToLab(static_cast<std::uint8_t>(color & 0xFF),
                     static_cast<std::uint8_t>((color >> 8) & 0xFF),
                     static_cast<std::uint8_t>((color >> 16) & 0xFF));
}

} // namespace

std::int32_t RemoveConfetti(PatternData& pattern, double maxDifference, double maxRise) {
    const std::size_t cells = pattern.empty() ? 0
                                              : static_cast<std::size_t>(pattern.columns) *
                                                    static_cast<std::size_t>(pattern.rows);
    if (cells == 0 || pattern.patternGrid.size() != cells ||
        pattern.exactGrid.size() != cells * 3) {
        return 0;
    }
    const std::vector<std::uint32_t> before = pattern.patternGrid;
    std::int32_t changed = 0;
    struct Neighbour {
        std::uint32_t color;
        int count;
    };
    for (std::int32_t c = 0; c < pattern.columns; ++c) {
        for (std::int32_t r = 0; r < pattern.rows; ++r) {
            const std::size_t at = pattern.cellIndex(c, r);
            const std::uint32_t own = before[at];
            Neighbour found[8];
            int distinct = 0;
            bool alone = true;
            for (int dc = -1; dc <= 1 && alone; ++dc) {
                for (int dr = -1; dr <= 1; ++dr) {
                    const std::int32_t nc = c + dc;
                    const std::int32_t nr = r + dr;
                    if ((dc == 0 && dr == 0) || nc < 0 || nr < 0 || nc >= pattern.columns ||
                        nr >= pattern.rows) {
                        continue;
                    }
                    const std::uint32_t color = before[pattern.cellIndex(nc, nr)];
                    if (color == own) {
                        alone = false;
                        break;
                    }
                    int k = 0;
                    while (k < distinct && found[k].color != color) {
                        ++k;
                    }
                    if (k == distinct) {
                        found[distinct++] = {color, 0};
                    }
                    ++found[k].count;
                }
            }
            if (!alone || distinct == 0) {
                continue;
            }
            const std::uint8_t* exact = &pattern.exactGrid[at * 3]; // blue, green, red
            const Lab average = SrgbToLab(exact[2], exact[1], exact[0]);
            int best = -1;
            double bestDifference = 0;
            for (int k = 0; k < distinct; ++k) {
                const double d = DeltaE2000(average, LabOfColor(found[k].color));
                const bool better = best < 0 || d < bestDifference ||
                                    (d == bestDifference &&
                                     (found[k].count > found[best].count ||
                                      (found[k].count == found[best].count &&
                                       TieRank(found[k].color) < TieRank(found[best].color))));
                if (better) {
                    best = k;
                    bestDifference = d;
                }
            }
            if (bestDifference <= maxDifference &&
                bestDifference - DeltaE2000(average, LabOfColor(own)) <= maxRise) {
                pattern.patternGrid[at] = found[best].color;
                ++changed;
            }
        }
    }
    if (changed > 0) {
        std::unordered_set<std::uint32_t> seen;
        pattern.usedColors.clear();
        for (const std::uint32_t color : pattern.patternGrid) {
            if (seen.insert(color).second) {
                pattern.usedColors.push_back(color);
            }
        }
        pattern.shadeCount = static_cast<std::int32_t>(pattern.usedColors.size());
    }
    return changed;
}

} // namespace pelvano
