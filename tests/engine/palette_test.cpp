#include "engine/palette.h"
#include "engine/thread_matcher.h"

#include <cmath>
#include <gtest/gtest.h>
#include <immintrin.h>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace pelvano {
namespace {

// The matching rule written the plain way: distances as extended-precision square roots,
// every thread in palette order, a strict comparison so the lower number wins a tie.
int ReferenceNearest(int r, int g, int b) {
    const ThreadTable& palette = ThreadPalette();
    Real best = 1e6L;
    int chosen = 0;
    for (int i = 1; i <= kThreadCount; ++i) {
        const int db = b - palette[i].B;
        const int dg = g - palette[i].G;
        const int dr = r - palette[i].R;
        const Real d = std::sqrt(static_cast<Real>(db * db + dg * dg + dr * dr));
        if (best > d) {
            chosen = i;
            best = d;
        }
    }
    return chosen;
}

TEST(ThreadPalette, TableMatchesTheCatalogue) {
    const ThreadTable& palette = ThreadPalette();
    ASSERT_EQ(palette.size(), 461u);
    std::set<std::string_view> names;
    std::set<std::uint32_t> colors;
    // FNV-1a over "name,R,G,B\n" rows: any mistyped digit or name changes it.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (int i = 1; i <= kThreadCount; ++i) {
        const Item& t = palette[i];
        EXPECT_EQ(t.Color, t.R + t.G * 256u + t.B * 65536u) << i;
        names.insert(t.Name);
        colors.insert(t.Color);
        const std::string row = std::string(t.Name) + "," + std::to_string(t.R) + "," +
                                std::to_string(t.G) + "," + std::to_string(t.B) + "\n";
        for (const unsigned char c : row) {
            hash = (hash ^ c) * 0x100000001b3ULL;
        }
        EXPECT_EQ(ThreadIndexOfColor(t.Color), i);
    }
    EXPECT_EQ(names.size(), 460u);
    EXPECT_EQ(colors.size(), 460u);
    EXPECT_EQ(hash, 0x608b465cbe2d06e5ULL);

    EXPECT_EQ(palette[1].Name, "51");
    EXPECT_EQ(palette[48].Name, "310");
    EXPECT_EQ(palette[48].Color, 0u);
    EXPECT_EQ(palette[459].Name, "White");
    EXPECT_EQ(palette[460].Name, "B5200");
    EXPECT_EQ(palette[460].Color, 0xFFFFFFu);
    EXPECT_EQ(ThreadIndexOfColor(0x010203), 0);
}

TEST(ThreadPalette, ColorDistance) {
    EXPECT_EQ(ColorDistance(0x123456, 0x123456), 0);
    EXPECT_EQ(ColorDistance(0, 0xFFFFFF), std::sqrt(3.0L * 255 * 255));
    EXPECT_NEAR(static_cast<double>(ColorDistance(0, 0xFFFFFF)), 441.67, 0.01);
    EXPECT_EQ(ColorDistance(0x0000FF, 0x000000), 255);
    EXPECT_EQ(ColorDistance(0x00FF00, 0x000000), 255);
    EXPECT_EQ(ColorDistance(0x030201, 0x000000), std::sqrt(14.0L));
    EXPECT_EQ(ColorDistance(0xA0B0C0, 0x102030), ColorDistance(0x102030, 0xA0B0C0));
    // Bits above the colour are not part of it.
    EXPECT_EQ(ColorDistance(0xFF000000, 0), 0);
}

TEST(ThreadPalette, NearestThreadCountsAndReturnsTheColour) {
    ThreadUsage usage{};
    EXPECT_EQ(NearestThread(0, 0, 0, usage), 0u);
    EXPECT_EQ(usage[48], 1);
    EXPECT_EQ(NearestThread(255, 255, 255, usage), 0xFFFFFFu);
    EXPECT_EQ(usage[460], 1);
    EXPECT_EQ(NearestThread(238, 238, 238, usage), ThreadPalette()[459].Color);
    EXPECT_EQ(NearestThread(237, 239, 238, usage), ThreadPalette()[459].Color);
    EXPECT_EQ(usage[459], 2);
    std::int64_t total = 0;
    for (const auto n : usage) {
        total += n;
    }
    EXPECT_EQ(total, 4);
}

TEST(ThreadPalette, EqualDistanceGoesToTheLowerNumber) {
    // Find colours whose two nearest threads are equally far, and check the lower one wins.
    const ThreadTable& palette = ThreadPalette();
    std::mt19937 random(7);
    int ties = 0;
    for (int attempt = 0; attempt < 200000 && ties < 50; ++attempt) {
        const int r = random() & 0xFF, g = random() & 0xFF, b = random() & 0xFF;
        int best = 1 << 30, first = 0, second = 0;
        for (int i = 1; i <= kThreadCount; ++i) {
            const int d = (r - palette[i].R) * (r - palette[i].R) +
                          (g - palette[i].G) * (g - palette[i].G) +
                          (b - palette[i].B) * (b - palette[i].B);
            if (d < best) {
                best = d, first = i, second = 0;
            } else if (d == best && second == 0) {
                second = i;
            }
        }
        if (second != 0) {
            ++ties;
            EXPECT_LT(first, second);
            EXPECT_EQ(NearestThreadIndex(r, g, b), first) << r << "," << g << "," << b;
        }
    }
    EXPECT_GE(ties, 10);
}

TEST(ThreadPalette, SquaredDistancesOrderLikeTheirSquareRoots) {
    // The fast matcher compares squared distances; that is only the same rule if no two
    // different sums of squares share a square root in extended precision.
    for (int n = 0; n < 3 * 255 * 255; ++n) {
        ASSERT_LT(std::sqrt(static_cast<Real>(n)), std::sqrt(static_cast<Real>(n + 1))) << n;
    }
}

// The same rule on squared distances, four threads at a time: float holds every sum of squares
// exactly; the minimum comes first, then the first thread that reaches it.
class SquaredScan {
public:
    SquaredScan() {
        for (int i = 0; i < kThreadCount; ++i) {
            r_[i] = ThreadPalette()[i + 1].R;
            g_[i] = ThreadPalette()[i + 1].G;
            b_[i] = ThreadPalette()[i + 1].B;
        }
    }
    int Nearest(int r, int g, int b) {
        static_assert(kThreadCount % 4 == 0);
        const __m128 vr = _mm_set1_ps(static_cast<float>(r));
        const __m128 vg = _mm_set1_ps(static_cast<float>(g));
        const __m128 vb = _mm_set1_ps(static_cast<float>(b));
        __m128 best = _mm_set1_ps(1e9f);
        for (int i = 0; i < kThreadCount; i += 4) {
            const __m128 dr = _mm_sub_ps(vr, _mm_load_ps(&r_[i]));
            const __m128 dg = _mm_sub_ps(vg, _mm_load_ps(&g_[i]));
            const __m128 db = _mm_sub_ps(vb, _mm_load_ps(&b_[i]));
            const __m128 d =
                _mm_add_ps(_mm_add_ps(_mm_mul_ps(db, db), _mm_mul_ps(dg, dg)), _mm_mul_ps(dr, dr));
            _mm_store_ps(&d_[i], d);
            best = _mm_min_ps(best, d);
        }
        alignas(16) float lanes[4];
        _mm_store_ps(lanes, best);
        const float least = std::min(std::min(lanes[0], lanes[1]), std::min(lanes[2], lanes[3]));
        int i = 0;
        while (d_[i] != least) {
            ++i;
        }
        return i + 1;
    }

private:
    alignas(16) float r_[kThreadCount];
    alignas(16) float g_[kThreadCount];
    alignas(16) float b_[kThreadCount];
    alignas(16) float d_[kThreadCount];
};

TEST(ThreadPalette, SquaredScanIsThePlainScan) {
    SquaredScan squared;
    std::mt19937 random(11);
    for (int n = 0; n < 20000; ++n) {
        const int r = random() & 0xFF, g = random() & 0xFF, b = random() & 0xFF;
        ASSERT_EQ(squared.Nearest(r, g, b), ReferenceNearest(r, g, b));
    }
}

// Checks the fast matcher on every colour of the cube in optimised builds; debug and sanitizer
// builds take a regular sample so the suite stays quick there.
TEST(ThreadPalette, FastMatcherAgreesWithThePlainScanOnTheWholeCube) {
#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
    constexpr int kStride = 1;
#else
    constexpr int kStride = 17;
#endif
    constexpr int kColors = 1 << 24;
    const unsigned workers = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<int> mismatches(workers, 0);
    std::vector<int> firstBad(workers, -1);
    {
        std::vector<std::jthread> pool;
        for (unsigned w = 0; w < workers; ++w) {
            pool.emplace_back([&, w] {
                SquaredScan squared;
                for (int c = static_cast<int>(w) * kStride; c < kColors;
                     c += kStride * static_cast<int>(workers)) {
                    const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = c >> 16;
                    if (NearestThreadIndex(r, g, b) != squared.Nearest(r, g, b)) {
                        if (mismatches[w]++ == 0) {
                            firstBad[w] = c;
                        }
                    }
                }
            });
        }
    }
    for (unsigned w = 0; w < workers; ++w) {
        EXPECT_EQ(mismatches[w], 0) << "first mismatch at colour " << std::hex << firstBad[w];
    }
    // The block corners and every grey are the likeliest places for an edge mistake.
    for (int v = 0; v < 256; ++v) {
        EXPECT_EQ(NearestThreadIndex(v, v, v), ReferenceNearest(v, v, v)) << v;
        const int corner = v | 7;
        EXPECT_EQ(NearestThreadIndex(corner, v, 255 - corner),
                  ReferenceNearest(corner, v, 255 - corner));
    }
}

TEST(ThreadPalette, ComponentsOutsideTheCubeStillFindAThread) {
    EXPECT_EQ(NearestThreadIndex(-40, -40, -40), 48); // black
    EXPECT_EQ(NearestThreadIndex(400, 400, 400), 460);
    const int extreme = NearestThreadIndex(2147483647, -2147483647 - 1, 0);
    EXPECT_GE(extreme, 1);
    EXPECT_LE(extreme, kThreadCount);
    ThreadUsage usage{};
    NearestThread(-1000000, 0, 0, usage);
    EXPECT_EQ(usage[0], 0);
}

} // namespace
} // namespace pelvano
