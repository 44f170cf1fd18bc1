#include "engine/shade_limiting.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <vector>

namespace pelvano {
namespace {

// The limiting rules written out the slow, literal way: neighbour-swap ranking, the full
// distance matrix with dropped rows and columns zeroed, and a whole-matrix scan per drop.
std::vector<MergePair> ReferencePlan(std::vector<std::uint32_t>& used, const ThreadUsage& usage,
                                     std::size_t limit) {
    const std::size_t m = used.size();
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (std::size_t k = 0; k + 1 < m; ++k) {
            if (usage[used[k]] < usage[used[k + 1]]) {
                std::swap(used[k], used[k + 1]);
                swapped = true;
            }
        }
    }
    const auto color = [&](std::size_t rank) { return ThreadPalette()[used[rank]].Color; };
    std::vector<std::vector<Real>> dist(m, std::vector<Real>(m, 0));
    for (std::size_t p = 0; p < m; ++p) {
        for (std::size_t q = 0; q < m; ++q) {
            dist[p][q] = p == q ? 0 : ColorDistance(color(p), color(q));
        }
    }
    const auto clear = [&](std::size_t k) {
        for (std::size_t n = 0; n < m; ++n) {
            dist[k][n] = dist[n][k] = 0;
        }
    };
    const auto nearest = [&](std::uint32_t from, const std::vector<bool>& candidate) {
        Real best = 1e6L;
        std::uint32_t to = 0;
        for (std::size_t r = 0; r < m; ++r) {
            const Real d = ColorDistance(ThreadPalette()[from].Color, color(r));
            if (candidate[r] && best > d) {
                best = d;
                to = used[r];
            }
        }
        return to;
    };

    std::size_t h = m - 1;
    while (usage[used[h]] < 6 && h + 1 != limit) {
        --h;
    }
    std::vector<MergePair> merges(m - limit);
    std::vector<bool> kept(m, false);
    std::fill(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(h + 1), true);
    for (std::size_t s = h + 1; s < m; ++s) {
        merges[s - h - 1] = {used[s], nearest(used[s], kept)};
        clear(s);
    }
    for (std::size_t k = m - h - 1; k < m - limit; ++k) {
        Real best = 1e6L;
        std::size_t bp = 0, bq = 0;
        for (std::size_t p = 0; p < m; ++p) {
            for (std::size_t q = 0; q < m; ++q) {
                if (dist[p][q] > 0 && best > dist[p][q]) {
                    best = dist[p][q];
                    bp = p;
                    bq = q;
                }
            }
        }
        const std::size_t drop = usage[used[bp]] < usage[used[bq]] ? bp : bq;
        clear(drop);
        kept[drop] = false;
        merges[k].from = used[drop];
    }
    for (std::size_t k = m - h - 1; k < m - limit; ++k) {
        merges[k].to = nearest(merges[k].from, kept);
    }
    return merges;
}

void ReferenceRecolour(std::vector<std::uint32_t>& grid, const std::vector<MergePair>& merges) {
    for (auto& cell : grid) {
        for (const MergePair& merge : merges) {
            if (cell == ThreadPalette()[merge.from].Color) {
                cell = ThreadPalette()[merge.to].Color;
            }
        }
    }
}

ThreadUsage UsageOf(const std::vector<std::pair<std::uint32_t, std::int64_t>>& counts) {
    ThreadUsage usage{};
    for (const auto& [thread, n] : counts) {
        usage[thread] = n;
    }
    return usage;
}

std::vector<std::uint32_t> AscendingThreads(const ThreadUsage& usage) {
    std::vector<std::uint32_t> used;
    for (std::uint32_t i = 1; i <= kThreadCount; ++i) {
        if (usage[i] > 0) {
            used.push_back(i);
        }
    }
    return used;
}

std::uint32_t ColorOf(std::uint32_t thread) {
    return ThreadPalette()[thread].Color;
}

TEST(ShadeLimiting, SixThreadsDownToThree) {
    const ThreadUsage usage = UsageOf({{22, 500}, {24, 300}, {21, 200}, {7, 100}, {8, 50}, {3, 4}});
    std::vector<std::uint32_t> used = AscendingThreads(usage);
    const std::vector<MergePair> merges = PlanShadeMerges(used, usage, 3);
    EXPECT_EQ(used, (std::vector<std::uint32_t>{22, 24, 21, 7, 8, 3}));
    EXPECT_EQ(merges, (std::vector<MergePair>{{3, 8}, {21, 22}, {24, 22}}));
    EXPECT_NEAR(static_cast<double>(ColorDistance(ColorOf(22), ColorOf(21))), 32.45, 0.005);
    EXPECT_NEAR(static_cast<double>(ColorDistance(ColorOf(22), ColorOf(24))), 33.11, 0.005);
    EXPECT_NEAR(static_cast<double>(ColorDistance(ColorOf(3), ColorOf(8))), 102.71, 0.005);

    std::vector<std::uint32_t> grid;
    for (const std::uint32_t t : {22u, 24u, 21u, 7u, 8u, 3u}) {
        grid.push_back(ColorOf(t));
    }
    ApplyShadeMerges(grid, merges);
    EXPECT_EQ(grid, (std::vector<std::uint32_t>{ColorOf(22), ColorOf(22), ColorOf(22), ColorOf(7),
                                                ColorOf(8), ColorOf(8)}));
}

TEST(ShadeLimiting, RareThreadsGoFirstAndNeverBelowTheLimit) {
    // Counts 100, 50, 40, 3, 2: with a limit of 3 only the two rare threads go, each to its
    // nearest among the first three ranks.
    const ThreadUsage usage = UsageOf({{5, 100}, {60, 50}, {200, 40}, {300, 3}, {400, 2}});
    std::vector<std::uint32_t> used = AscendingThreads(usage);
    std::vector<MergePair> merges = PlanShadeMerges(used, usage, 3);
    ASSERT_EQ(merges.size(), 2u);
    EXPECT_EQ(merges[0].from, 300u);
    EXPECT_EQ(merges[1].from, 400u);
    for (const MergePair& m : merges) {
        EXPECT_TRUE(m.to == 5 || m.to == 60 || m.to == 200);
    }

    // With a limit of 2 the same two go as rare, then one of the closest pair among the first
    // three ranks, and it goes to the nearer of the two that remain.
    std::vector<std::uint32_t> again = AscendingThreads(usage);
    std::vector<std::uint32_t> reference = again;
    merges = PlanShadeMerges(again, usage, 2);
    EXPECT_EQ(merges, ReferencePlan(reference, usage, 2));
    ASSERT_EQ(merges.size(), 3u);
    EXPECT_EQ(merges[0].from, 300u);
    EXPECT_EQ(merges[1].from, 400u);
    EXPECT_NE(merges[2].to, merges[2].from);

    // Exactly six crosses is not rare, five is: with counts 9, 8, 6, 5 and a limit of 3 only
    // the five goes, as a rare thread, and no closest pair is searched.
    const ThreadUsage edge = UsageOf({{48, 9}, {460, 8}, {100, 6}, {101, 5}});
    std::vector<std::uint32_t> edgeUsed = AscendingThreads(edge);
    std::vector<std::uint32_t> edgeReference = edgeUsed;
    merges = PlanShadeMerges(edgeUsed, edge, 3);
    EXPECT_EQ(merges, (std::vector<MergePair>{{101, ReferencePlan(edgeReference, edge, 3)[0].to}}));
}

TEST(ShadeLimiting, AllRareThreadsAreReplacedFromTheFirstRanks) {
    // Ten threads with fewer than six crosses each, limit 4: ranks 4..9 go as rare, each to
    // its nearest among ranks 0..3, and no closest pair is searched.
    std::vector<std::pair<std::uint32_t, std::int64_t>> counts;
    for (std::uint32_t k = 0; k < 10; ++k) {
        counts.push_back({10 + 40 * k, 5 - static_cast<std::int64_t>(k) / 2});
    }
    const ThreadUsage usage = UsageOf(counts);
    std::vector<std::uint32_t> used = AscendingThreads(usage);
    const std::vector<MergePair> merges = PlanShadeMerges(used, usage, 4);
    ASSERT_EQ(merges.size(), 6u);
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(merges[k].from, used[4 + k]);
        Real best = 1e6L;
        std::uint32_t nearest = 0;
        for (std::size_t r = 0; r < 4; ++r) {
            const Real d = ColorDistance(ColorOf(used[4 + k]), ColorOf(used[r]));
            if (best > d) {
                best = d;
                nearest = used[r];
            }
        }
        EXPECT_EQ(merges[k].to, nearest);
    }
}

TEST(ShadeLimiting, AgreesWithTheLiteralRulesOnRandomPatterns) {
    // Many equal counts and many threads make ties in ranking, pair search and replacement
    // common; the fast pair search must pick what the whole-matrix scan picks every time.
    std::mt19937 random(2024);
    for (int round = 0; round < 300; ++round) {
        const std::size_t m = 3 + random() % (round < 280 ? 60 : 458);
        std::vector<std::uint32_t> all(kThreadCount);
        std::iota(all.begin(), all.end(), 1u);
        std::shuffle(all.begin(), all.end(), random);
        ThreadUsage usage{};
        const int spread = 1 + static_cast<int>(random() % 30);
        for (std::size_t k = 0; k < m; ++k) {
            usage[all[k]] = 1 + static_cast<std::int64_t>(random() % spread);
        }
        const auto limit = static_cast<std::int32_t>(2 + random() % (m - 2));
        std::vector<std::uint32_t> used = AscendingThreads(usage);
        std::vector<std::uint32_t> reference = used;
        const std::vector<MergePair> merges = PlanShadeMerges(used, usage, limit);
        const std::vector<MergePair> expected =
            ReferencePlan(reference, usage, static_cast<std::size_t>(limit));
        ASSERT_EQ(merges, expected) << "round " << round << ", M " << m << ", L " << limit;
        ASSERT_EQ(used, reference);

        std::vector<std::uint32_t> grid;
        for (int n = 0; n < 200; ++n) {
            grid.push_back(ColorOf(used[random() % m]));
        }
        std::vector<std::uint32_t> expectedGrid = grid;
        ApplyShadeMerges(grid, merges);
        ReferenceRecolour(expectedGrid, expected);
        ASSERT_EQ(grid, expectedGrid);
        std::sort(grid.begin(), grid.end());
        EXPECT_LE(std::unique(grid.begin(), grid.end()) - grid.begin(), limit);
    }
}

TEST(ShadeLimiting, RecolouringFollowsLaterMergesInOnePass) {
    // 300 goes to 200 as rare, then 200 itself is merged into 5: cells of 300 must end on 5.
    const std::vector<MergePair> merges{{300, 200}, {200, 5}};
    std::vector<std::uint32_t> grid{ColorOf(300), ColorOf(200), ColorOf(5), ColorOf(60)};
    ApplyShadeMerges(grid, merges);
    EXPECT_EQ(grid, (std::vector<std::uint32_t>{ColorOf(5), ColorOf(5), ColorOf(5), ColorOf(60)}));
}

TEST(ShadeLimiting, NothingHappensWhenTheLimitIsMetOrInvalid) {
    const ThreadUsage usage = UsageOf({{1, 3}, {2, 9}, {3, 1}});
    std::vector<std::uint32_t> used = AscendingThreads(usage);
    EXPECT_TRUE(PlanShadeMerges(used, usage, 3).empty());
    EXPECT_TRUE(PlanShadeMerges(used, usage, 0).empty());
    EXPECT_EQ(used, (std::vector<std::uint32_t>{1, 2, 3}));
}

TEST(ShadeLimiting, PairStageFollowsTheGivenRule) {
    // By palette-number distance 10 and 11 are the closest pair; 10 has the most crosses.
    const ThreadUsage usage = UsageOf({{10, 100}, {11, 50}, {30, 60}});
    const auto byNumber = [](std::uint32_t a, std::uint32_t b) {
        return static_cast<Real>(a > b ? a - b : b - a);
    };
    const auto keepLessUsed = [](std::uint32_t first, std::uint32_t second, const ThreadUsage& u) {
        return u[first] < u[second];
    };
    std::vector<std::uint32_t> used = AscendingThreads(usage);
    EXPECT_EQ(PlanShadeMerges(used, usage, 2, {byNumber, nullptr}),
              (std::vector<MergePair>{{11, 10}}));
    used = AscendingThreads(usage);
    // The replacement is also chosen by the rule's distance: 11 is nearer to 10 than 30 is.
    EXPECT_EQ(PlanShadeMerges(used, usage, 2, {byNumber, keepLessUsed}),
              (std::vector<MergePair>{{10, 11}}));
}

} // namespace
} // namespace pelvano
