#include "engine/shade_limiting.h"

#include <algorithm>
#include <cstddef>
#include <unordered_map>

namespace pelvano {

namespace {

// Threads with fewer crosses than this go first, whatever their colour.
constexpr std::int64_t kRareBelow = 6;

std::uint32_t ColorOf(std::uint32_t thread) {
    return ThreadPalette()[thread].Color;
}

Real PlainDistance(std::uint32_t a, std::uint32_t b) {
    return ColorDistance(ColorOf(a), ColorOf(b));
}

bool KeepMoreUsed(std::uint32_t first, std::uint32_t second, const ThreadUsage& usage) {
    return !(usage[first] < usage[second]);
}

// Rank (among `candidates`, scanned in order) of the thread nearest to `thread` by `distance`;
// on equal distance the earlier candidate wins.
std::size_t NearestOf(std::uint32_t thread, const std::vector<std::uint32_t>& ranked,
                      const std::vector<std::size_t>& candidates,
                      PairMergeRule::Distance distance) {
    Real best = 1e6L;
    std::size_t chosen = candidates.front();
    for (const std::size_t rank : candidates) {
        const Real d = distance(thread, ranked[rank]);
        if (best > d) {
            best = d;
            chosen = rank;
        }
    }
    return chosen;
}

// The closest pair among the threads still in play, found the way a row-by-row scan of the
// full distance matrix finds it: the smallest distance, and among equal distances the pair
// with the smallest first rank, then the smallest second rank. (An entry below the diagonal
// repeats one above it that the scan met earlier, so it never wins.) Each row keeps the best
// entry to its right; a drop only forces the rows whose best partner it was to rescan.
class ClosestPairs {
public:
    ClosestPairs(const std::vector<std::uint32_t>& ranked, std::size_t alive,
                 PairMergeRule::Distance distance)
        : size_(ranked.size()), distance_(size_ * size_), inPlay_(size_, false),
          rowBest_(size_, kNone) {
        for (std::size_t p = 0; p < size_; ++p) {
            for (std::size_t q = p + 1; q < size_; ++q) {
                const Real d = distance(ranked[p], ranked[q]);
                distance_[p * size_ + q] = d;
                distance_[q * size_ + p] = d;
            }
        }
        std::fill(inPlay_.begin(), inPlay_.begin() + static_cast<std::ptrdiff_t>(alive), true);
        for (std::size_t p = 0; p < alive; ++p) {
            RescanRow(p);
        }
    }

    // The closest pair (p < q), or (0, 0) when no two threads in play differ in colour.
    std::pair<std::size_t, std::size_t> Closest() const {
        Real best = 1e6L;
        std::pair<std::size_t, std::size_t> found{0, 0};
        for (std::size_t p = 0; p < size_; ++p) {
            if (rowBest_[p] != kNone && best > At(p, rowBest_[p])) {
                best = At(p, rowBest_[p]);
                found = {p, rowBest_[p]};
            }
        }
        return found;
    }

    void Drop(std::size_t rank) {
        inPlay_[rank] = false;
        rowBest_[rank] = kNone;
        for (std::size_t p = 0; p < rank; ++p) {
            if (rowBest_[p] == rank) {
                RescanRow(p);
            }
        }
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    Real At(std::size_t p, std::size_t q) const { return distance_[p * size_ + q]; }

    void RescanRow(std::size_t p) {
        Real best = 1e6L;
        rowBest_[p] = kNone;
        for (std::size_t q = p + 1; q < size_; ++q) {
            if (inPlay_[q] && At(p, q) > 0 && best > At(p, q)) {
                best = At(p, q);
                rowBest_[p] = q;
            }
        }
    }

    std::size_t size_;
    std::vector<Real> distance_;
    std::vector<bool> inPlay_;
    std::vector<std::size_t> rowBest_;
};

} // namespace

std::vector<MergePair> PlanShadeMerges(std::vector<std::uint32_t>& usedThreads,
                                       const ThreadUsage& usage, std::int32_t limit,
                                       const PairMergeRule& rule) {
    const std::size_t m = usedThreads.size();
    if (limit < 1 || static_cast<std::size_t>(limit) >= m) {
        return {};
    }
    const auto kept = static_cast<std::size_t>(limit);

    // Most crosses first; equal counts keep their order (a stable sort gives the same order
    // as repeated neighbour swaps).
    std::stable_sort(usedThreads.begin(), usedThreads.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return usage[a] > usage[b]; });

    // Ranks 0..last stay for now; the rarer ones after them go first, but never so many that
    // fewer than `limit` stay.
    std::size_t last = m - 1;
    while (usage[usedThreads[last]] < kRareBelow && last + 1 > kept) {
        --last;
    }

    std::vector<MergePair> merges;
    merges.reserve(m - kept);
    std::vector<std::size_t> staying(last + 1);
    for (std::size_t r = 0; r <= last; ++r) {
        staying[r] = r;
    }
    for (std::size_t s = last + 1; s < m; ++s) {
        merges.push_back(
            {usedThreads[s],
             usedThreads[NearestOf(usedThreads[s], usedThreads, staying, PlainDistance)]});
    }

    // Then one thread of the closest pair, until `limit` remain.
    const PairMergeRule::Distance distance = rule.distance ? rule.distance : PlainDistance;
    const PairMergeRule::KeepFirst keepFirst = rule.keepFirst ? rule.keepFirst : KeepMoreUsed;
    std::vector<bool> dropped(m, false);
    std::fill(dropped.begin() + static_cast<std::ptrdiff_t>(last + 1), dropped.end(), true);
    const std::size_t pairDropsFrom = merges.size();
    if (last + 1 > kept) {
        ClosestPairs pairs(usedThreads, last + 1, distance);
        for (std::size_t n = last + 1; n > kept; --n) {
            const auto [p, q] = pairs.Closest();
            if (p == q) {
                break; // only repeated threads left: the caller broke the contract
            }
            const std::size_t loser = keepFirst(usedThreads[p], usedThreads[q], usage) ? q : p;
            pairs.Drop(loser);
            dropped[loser] = true;
            merges.push_back({usedThreads[loser], 0});
        }
    }

    // Their replacements are chosen only now, among the threads that survived both stages.
    std::vector<std::size_t> survivors;
    for (std::size_t r = 0; r < m; ++r) {
        if (!dropped[r]) {
            survivors.push_back(r);
        }
    }
    for (std::size_t k = pairDropsFrom; k < merges.size(); ++k) {
        merges[k].to = usedThreads[NearestOf(merges[k].from, usedThreads, survivors, distance)];
    }
    return merges;
}

void ApplyShadeMerges(std::vector<std::uint32_t>& patternGrid,
                      const std::vector<MergePair>& merges) {
    if (merges.empty()) {
        return;
    }
    // A cell's final colour depends only on its colour, so follow the chain once per colour
    // that a merge mentions and look cells up in the result.
    std::unordered_map<std::uint32_t, std::uint32_t> finalColor;
    for (const MergePair& start : merges) {
        std::uint32_t color = ColorOf(start.from);
        for (const MergePair& merge : merges) {
            if (color == ColorOf(merge.from)) {
                color = ColorOf(merge.to);
            }
        }
        finalColor[ColorOf(start.from)] = color;
    }
    for (std::uint32_t& cell : patternGrid) {
        const auto it = finalColor.find(cell);
        if (it != finalColor.end()) {
            cell = it->second;
        }
    }
}

} // namespace pelvano
