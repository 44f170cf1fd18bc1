// Generation run, nearest-thread matching and shade limiting on synthetic pictures.
//
// Memory: this program counts every heap allocation (operator new below); the generation
// benchmarks report the peak bytes a run holds above what was allocated before it, per cell.
// The picture itself is allocated before the run and not counted.
#include "engine/generation.h"
#include "engine/generation_tuning.h"
#include "engine/linear_sampling.h"
#include "engine/perceptual_matcher.h"
#include "engine/shade_limiting.h"
#include "engine/thread_matcher.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <numeric>
#include <random>
#include <vector>

namespace {

std::atomic<std::int64_t> gHeapInUse{0};
std::atomic<std::int64_t> gHeapPeak{0};

void* CountedAlloc(std::size_t size) {
    // Room for the size in front keeps delete able to count without a lookup.
    void* block = std::malloc(size + 16);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *static_cast<std::size_t*>(block) = size;
    const std::int64_t now = gHeapInUse += static_cast<std::int64_t>(size);
    std::int64_t peak = gHeapPeak.load();
    while (now > peak && !gHeapPeak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(block) + 16;
}

void CountedFree(void* p) {
    if (p == nullptr) {
        return;
    }
    void* block = static_cast<char*>(p) - 16;
    gHeapInUse -= static_cast<std::int64_t>(*static_cast<std::size_t*>(block));
    std::free(block);
}

} // namespace

void* operator new(std::size_t size) {
    return CountedAlloc(size);
}
void* operator new[](std::size_t size) {
    return CountedAlloc(size);
}
void operator delete(void* p) noexcept {
    CountedFree(p);
}
void operator delete[](void* p) noexcept {
    CountedFree(p);
}
void operator delete(void* p, std::size_t) noexcept {
    CountedFree(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    CountedFree(p);
}

namespace pelvano {
namespace {

struct Picture {
    std::int32_t width;
    std::int32_t height;
    std::vector<std::uint8_t> bytes;
    RasterView View() const {
        return RasterView{bytes.data(), width, height, static_cast<std::ptrdiff_t>(width) * 3};
    }
};

// A smooth colour field with noise on top, so that cells spread over many threads the way a
// photograph's do; pure noise would average to grey.
const Picture& NoisyPicture(std::int32_t width, std::int32_t height) {
    static std::map<std::pair<std::int32_t, std::int32_t>, std::unique_ptr<Picture>> cache;
    auto& slot = cache[{width, height}];
    if (!slot) {
        slot = std::make_unique<Picture>(
            Picture{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 3)});
        std::minstd_rand random(42);
        std::uint8_t* p = slot->bytes.data();
        for (std::int32_t y = 0; y < height; ++y) {
            for (std::int32_t x = 0; x < width; ++x) {
                const int base[3] = {x * 255 / width, y * 255 / height,
                                     (x + y) * 255 / (width + height)};
                for (int c = 0; c < 3; ++c) {
                    const int v = base[c] + static_cast<int>(random() % 61) - 30;
                    *p++ = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
                }
            }
        }
    }
    return *slot;
}

// The one-off cost of building the matcher's candidate lists on first use. Registered first so
// that it runs before anything else has built them.
void BM_MatcherFirstUse(benchmark::State& state) {
    for (auto _ : state) {
        PrepareThreadMatcher();
    }
}
BENCHMARK(BM_MatcherFirstUse)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

constexpr std::int32_t kPictureSizes[][2] = {{1224, 816}, {4240, 2832}, {6000, 4000}};
constexpr std::int32_t kGridSizes[][2] = {{150, 100}, {200, 150}, {600, 400}};

// Arguments: picture (0: 1 MP, 1: 12 MP, 2: 24 MP), grid (0: 150x100, 1: 200x150,
// 2: 600x400), shade limit (0 for none), sampling threads (0: one per core).
void BM_Generation(benchmark::State& state) {
    const auto* size = kPictureSizes[state.range(0)];
    const auto* grid = kGridSizes[state.range(1)];
    const Picture& picture = NoisyPicture(size[0], size[1]);
    GenerationRequest request;
    request.picture = picture.View();
    request.columnCount = grid[0];
    request.rowCount = grid[1];
    request.limitShades = state.range(2) > 0;
    request.shadeLimitText = std::to_string(state.range(2) > 0 ? state.range(2) : 30);
    request.windowState = 1;
    GenerationTuning tuning;
    tuning.samplingThreads = static_cast<int>(state.range(3));
    PrepareThreadMatcher();

    std::int64_t peakAbove = 0;
    std::int32_t shades = 0;
    for (auto _ : state) {
        const std::int64_t before = gHeapInUse.load();
        gHeapPeak = before;
        GenerationOutcome outcome = RunGeneration(request, {}, tuning);
        peakAbove = std::max(peakAbove, gHeapPeak.load() - before);
        shades = std::get<GenerationResult>(outcome).pattern.usedThreadCount;
        benchmark::DoNotOptimize(outcome);
    }
    const double cells = double(grid[0]) * grid[1];
    state.counters["threads_used"] = shades;
    state.counters["peak_bytes_per_cell"] = double(peakAbove) / cells;
    state.SetLabel(std::to_string(size[0] * size[1] / 1000000) + " MP -> " +
                   std::to_string(grid[0]) + "x" + std::to_string(grid[1]));
}
BENCHMARK(BM_Generation)
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2}, {0, 30}, {0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// The same work on the calling thread alone: its CPU time is the whole cost of a run.
BENCHMARK(BM_Generation)
    ->Args({2, 1, 30, 1})
    ->Args({2, 2, 30, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The optional modes against the plain run, 24 MP to 200 x 150 limited to 30 shades; the
// perceptual run should take at most twice the plain one. Arguments: mode (0 plain,
// 1 perceptual, 2 perceptual with the clean-up of lone stitches), sampling threads (0: one per
// core).
void BM_GenerationMode(benchmark::State& state) {
    const Picture& picture = NoisyPicture(6000, 4000);
    GenerationRequest request;
    request.picture = picture.View();
    request.columnCount = 200;
    request.rowCount = 150;
    request.shadeLimitText = "30";
    request.windowState = 1;
    request.perceptual = state.range(0) >= 1;
    request.cleanConfetti = state.range(0) == 2;
    GenerationTuning tuning;
    tuning.samplingThreads = static_cast<int>(state.range(1));
    PrepareThreadMatcher();
    NearestThreadPerceptual(Lab{50, 0, 0}); // builds its tables outside the timing
    for (auto _ : state) {
        benchmark::DoNotOptimize(RunGeneration(request, {}, tuning));
    }
    static const char* const kModes[] = {"plain", "perceptual", "perceptual, clean"};
    state.SetLabel(std::string(kModes[state.range(0)]) + ", 24 MP -> 200x150, limit 30");
}
BENCHMARK(BM_GenerationMode)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The perceptual mode's cell work on a 24 MP picture and a 200 x 150 grid: linear-light
// averages, then the nearest thread by CIEDE2000 (argument 1) or by the plain scan (argument 0).
// Compare with BM_Generation/2/1/0/1, the exact mode on the same picture and grid.
void BM_PerceptualMatching(benchmark::State& state) {
    const Picture& picture = NoisyPicture(6000, 4000);
    for (auto _ : state) {
        const std::vector<LinearRgb> cells = AverageCellsLinear(picture.View(), 200, 150);
        std::int64_t sum = 0;
        for (const LinearRgb& cell : cells) {
            const Lab lab = LinearRgbToLab(cell);
            sum +=
                state.range(0) ? NearestThreadPerceptual(lab) : NearestThreadPerceptualByScan(lab);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetLabel(state.range(0) ? "24 MP -> 200x150, boxes" : "24 MP -> 200x150, plain scan");
}
BENCHMARK(BM_PerceptualMatching)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// 600 x 400 cells of a smooth noisy field matched one by one.
void BM_NearestThreadPerCell(benchmark::State& state) {
    const Picture& picture = NoisyPicture(600, 400);
    PrepareThreadMatcher();
    ThreadUsage usage{};
    for (auto _ : state) {
        const std::uint8_t* p = picture.bytes.data();
        for (std::size_t k = 0; k < 600 * 400; ++k, p += 3) {
            benchmark::DoNotOptimize(NearestThread(p[2], p[1], p[0], usage));
        }
    }
    state.SetItemsProcessed(state.iterations() * 600 * 400);
    state.SetLabel("600x400 cells");
}
BENCHMARK(BM_NearestThreadPerCell)->Unit(benchmark::kMillisecond)->UseRealTime();

// Uniformly random colours: the matcher's worst case, no two neighbours alike.
void BM_NearestThreadRandomColours(benchmark::State& state) {
    std::minstd_rand random(7);
    std::vector<std::uint32_t> colors(600 * 400);
    for (auto& c : colors) {
        c = random() & 0xFFFFFF;
    }
    PrepareThreadMatcher();
    for (auto _ : state) {
        for (const std::uint32_t c : colors) {
            benchmark::DoNotOptimize(NearestThreadIndex(c & 0xFF, (c >> 8) & 0xFF, c >> 16));
        }
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(colors.size()));
}
BENCHMARK(BM_NearestThreadRandomColours)->Unit(benchmark::kMillisecond)->UseRealTime();

// All 460 threads used, none rare, down to 2: every drop comes from the closest-pair search.
// Argument: the number of distinct counts (1 makes every count equal, so ties decide).
void BM_ShadeLimiting(benchmark::State& state) {
    std::minstd_rand random(3);
    ThreadUsage usage{};
    for (int i = 1; i <= kThreadCount; ++i) {
        usage[i] = 6 + static_cast<std::int64_t>(random() % state.range(0));
    }
    std::vector<std::uint32_t> ascending(kThreadCount);
    std::iota(ascending.begin(), ascending.end(), 1u);
    std::vector<std::uint32_t> grid(600 * 400);
    for (auto& cell : grid) {
        cell = ThreadPalette()[1 + random() % kThreadCount].Color;
    }
    for (auto _ : state) {
        std::vector<std::uint32_t> used = ascending;
        const std::vector<MergePair> merges = PlanShadeMerges(used, usage, 2);
        benchmark::DoNotOptimize(merges.data());
    }
    state.SetLabel("M = 460, L = 2");
}
BENCHMARK(BM_ShadeLimiting)->Arg(1)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ShadeRecolouring(benchmark::State& state) {
    std::minstd_rand random(3);
    ThreadUsage usage{};
    for (int i = 1; i <= kThreadCount; ++i) {
        usage[i] = 6 + static_cast<std::int64_t>(random() % 1000);
    }
    std::vector<std::uint32_t> used(kThreadCount);
    std::iota(used.begin(), used.end(), 1u);
    const std::vector<MergePair> merges = PlanShadeMerges(used, usage, 2);
    std::vector<std::uint32_t> grid(600 * 400);
    for (auto& cell : grid) {
        cell = ThreadPalette()[1 + random() % kThreadCount].Color;
    }
    for (auto _ : state) {
        std::vector<std::uint32_t> cells = grid;
        ApplyShadeMerges(cells, merges);
        benchmark::DoNotOptimize(cells.data());
    }
    state.SetLabel("600x400 cells, 458 merges");
}
BENCHMARK(BM_ShadeRecolouring)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace pelvano

BENCHMARK_MAIN();
