#pragma once

#include "engine/palette.h"

#include <cstdint>
#include <vector>

namespace pelvano {

// A dropped thread and the thread whose colour its cells take (palette numbers).
struct MergePair {
    std::uint32_t from = 0;
    std::uint32_t to = 0;
};

inline bool operator==(const MergePair& a, const MergePair& b) {
    return a.from == b.from && a.to == b.to;
}

// How the closest-pair stage measures two palette threads and which of a closest pair stays.
// The defaults are the plain run's rule: distance by ColorDistance of the thread colours, and
// the thread with more crosses stays (the higher ranked one on equal crosses).
struct PairMergeRule {
    using Distance = Real (*)(std::uint32_t a, std::uint32_t b);
    // True when `first` (ranked above `second`) stays and `second` goes.
    using KeepFirst = bool (*)(std::uint32_t first, std::uint32_t second, const ThreadUsage& usage);

    Distance distance = nullptr;   // nullptr: ColorDistance
    KeepFirst keepFirst = nullptr; // nullptr: the more used stays
};

// Decides which of the used threads to drop so that `limit` remain, and which kept thread
// takes over each dropped one. `usedThreads` holds distinct palette numbers and comes back
// ranked by descending crosses (ties keep their order). First the threads with fewer than
// six crosses go, each to its nearest among the threads that stay for now; then, while too
// many remain, one thread of the closest pair goes, and after both stages each thread dropped
// in pairs takes the nearest survivor; `rule` says how that stage measures and chooses (the
// rare-thread stage always uses ColorDistance). Returns usedThreads.size() - limit
// pairs in the order they must be applied, or none when `limit` is below 1 or already met
// (then `usedThreads` is left as it is). `usage` is only read.
std::vector<MergePair> PlanShadeMerges(std::vector<std::uint32_t>& usedThreads,
                                       const ThreadUsage& usage, std::int32_t limit,
                                       const PairMergeRule& rule = {});

// Recolours every cell whose colour is a `from` thread's, following the pairs in order so
// that a cell moved to a thread that was dropped later ends on that thread's replacement.
void ApplyShadeMerges(std::vector<std::uint32_t>& patternGrid,
                      const std::vector<MergePair>& merges);

} // namespace pelvano
