#include "engine/generation.h"

#include "engine/cell_sampling.h"
#include "engine/confetti.h"
#include "engine/generation_steps.h"
#include "engine/generation_tuning.h"
#include "engine/grid_budget.h"
#include "engine/integer_text.h"
#include "engine/linear_sampling.h"
#include "engine/perceptual_matcher.h"
#include "engine/shade_limiting.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <system_error>
#include <thread>
#include <unordered_set>
#include <vector>

namespace pelvano {

namespace {

constexpr const char* kNoPicture = "Сначала надо открыть картинку";
constexpr const char* kTooFewCells =
    "Слишком большой размер крестика\r\nили маленький размер вышивки. Поменяй циферки.";
constexpr const char* kLimitTooLow = "Количество оттенков должно быть больше 1";

// The pattern can tell this many threads apart by symbol.
constexpr std::int32_t kSymbolCount = 120;

// Below this many pixels plus cells a second thread costs more than it saves.
constexpr std::int64_t kParallelWork = 1 << 18;

bool PictureReadable(const RasterView& picture) {
    if (picture.data == nullptr || picture.width <= 0 || picture.height <= 0) {
        return false;
    }
    const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(picture.width) * 3;
    return picture.stride >= rowBytes || -picture.stride >= rowBytes;
}

// Samples whole columns into the grids; columns are independent, so any thread may take any
// column and every cell still sums its pixels in the same order.
class ColumnSampler {
public:
    ColumnSampler(const RasterView& picture, PatternData& pattern, bool perceptual)
        : picture_(picture), pattern_(pattern), perceptual_(perceptual),
          columnSpans_(CellSpans(picture.width, pattern.columns)),
          rowSpans_(CellSpans(picture.height, pattern.rows)),
          area_(CellStep(picture.width, pattern.columns) * CellStep(picture.height, pattern.rows)) {
    }

    void SampleColumn(std::int32_t x, ThreadUsage& usage) {
        const AxisSpan& column = columnSpans_[static_cast<std::size_t>(x)];
        std::size_t cell = pattern_.cellIndex(x, 0);
        if (perceptual_) {
            for (const AxisSpan& row : rowSpans_) {
                StorePerceptualCell(cell, AverageCellLinear(picture_, column, row), usage);
                ++cell;
            }
            return;
        }
        for (const AxisSpan& row : rowSpans_) {
            StoreCell(pattern_, cell, SampleCell(picture_, column, row, area_), usage);
            ++cell;
        }
    }

private:
    // The exact grid keeps the linear-light average encoded back to sRGB; the thread is chosen
    // from the unrounded average.
    void StorePerceptualCell(std::size_t cell, const LinearRgb& average, ThreadUsage& usage) {
        std::uint8_t* exact = &pattern_.exactGrid[cell * 3];
        exact[0] = LinearToSrgb8(average.blue);
        exact[1] = LinearToSrgb8(average.green);
        exact[2] = LinearToSrgb8(average.red);
        const int thread = NearestThreadPerceptual(LinearRgbToLab(average));
        ++usage[static_cast<std::size_t>(thread)];
        pattern_.patternGrid[cell] = ThreadPalette()[thread].Color;
    }

    const RasterView& picture_;
    PatternData& pattern_;
    bool perceptual_;
    std::vector<AxisSpan> columnSpans_;
    std::vector<AxisSpan> rowSpans_;
    Real area_;
};

int SamplingThreads(const GenerationRequest& request, const GenerationTuning& tuning) {
    int threads = tuning.samplingThreads;
    if (threads <= 0) {
        const std::int64_t work =
            static_cast<std::int64_t>(request.picture.width) * request.picture.height +
            static_cast<std::int64_t>(request.columnCount) * request.rowCount;
        threads = work < kParallelWork ? 1 : static_cast<int>(std::thread::hardware_concurrency());
    }
    return std::clamp(threads, 1, std::min(16, request.columnCount));
}

// Samples every column, counting the chosen threads into `usage`, and reports each column in
// order from the calling thread. Helper threads take columns from a shared counter; the
// calling thread samples too and passes on progress between its own columns.
void SampleAllColumns(ColumnSampler& sampler, std::int32_t columns, int threads, ThreadUsage& usage,
                      const ColumnProgress& progress) {
    const auto report = [&](std::int32_t done) {
        if (progress) {
            progress(done);
        }
    };
    if (threads <= 1) {
        for (std::int32_t x = 0; x < columns; ++x) {
            sampler.SampleColumn(x, usage);
            report(x + 1);
        }
        return;
    }

    std::vector<ThreadUsage> helperUsage(static_cast<std::size_t>(threads - 1), ThreadUsage{});
    const auto finished = std::make_unique<std::atomic<bool>[]>(static_cast<std::size_t>(columns));
    std::atomic<std::int32_t> nextColumn{0};
    std::atomic<bool> stop{false};
    const auto work = [&](ThreadUsage& counts) {
        for (std::int32_t x = nextColumn++; x < columns && !stop; x = nextColumn++) {
            sampler.SampleColumn(x, counts);
            finished[static_cast<std::size_t>(x)].store(true, std::memory_order_release);
            finished[static_cast<std::size_t>(x)].notify_one();
        }
    };

    std::int32_t reported = 0;
    {
        std::vector<std::jthread> helpers;
        // Declared after the helpers so that it is destroyed first: if progress throws, the
        // helpers stop taking columns before they are joined.
        struct StopHelpers {
            std::atomic<bool>& flag;
            ~StopHelpers() { flag = true; }
        } stopHelpers{stop};
        for (auto& counts : helperUsage) {
            try {
                helpers.emplace_back([&work, &counts] { work(counts); });
            } catch (const std::system_error&) {
                break; // fewer threads only make it slower
            }
        }
        for (std::int32_t x = nextColumn++; x < columns; x = nextColumn++) {
            sampler.SampleColumn(x, usage);
            finished[static_cast<std::size_t>(x)].store(true, std::memory_order_release);
            while (reported < columns &&
                   finished[static_cast<std::size_t>(reported)].load(std::memory_order_acquire)) {
                report(++reported);
            }
        }
        while (reported < columns) {
            finished[static_cast<std::size_t>(reported)].wait(false, std::memory_order_acquire);
            report(++reported);
        }
    }
    for (const ThreadUsage& counts : helperUsage) {
        for (std::size_t i = 0; i < counts.size(); ++i) {
            usage[i] += counts[i];
        }
    }
}

// Distinct pattern colours in order of first appearance, columns outer, rows inner.
std::vector<std::uint32_t> FirstAppearanceColors(const std::vector<std::uint32_t>& grid) {
    std::vector<std::uint32_t> colors;
    std::unordered_set<std::uint32_t> seen;
    std::uint32_t previous = 0;
    for (std::size_t k = 0; k < grid.size(); ++k) {
        if ((k == 0 || grid[k] != previous) && seen.insert(grid[k]).second) {
            colors.push_back(grid[k]);
        }
        previous = grid[k];
    }
    return colors;
}

} // namespace

GenerationOutcome RunGeneration(const GenerationRequest& request, const ColumnProgress& progress) {
    return RunGeneration(request, progress, GenerationTuning{});
}

std::variant<GenerationRefusal, std::int32_t>
CheckGenerationRequest(const GenerationRequest& request, const GenerationTuning& tuning) {
    if (request.windowState == 0 || !PictureReadable(request.picture)) {
        return GenerationRefusal{kNoPicture};
    }
    if (request.rowCount < 2 || request.columnCount < 2) {
        return GenerationRefusal{kTooFewCells};
    }
    const std::optional<std::int32_t> shadeLimit = ParseInteger(request.shadeLimitText);
    if (!shadeLimit) {
        return GenerationRefusal{InvalidIntegerMessage(request.shadeLimitText)};
    }
    if (*shadeLimit < 2 && request.limitShades) {
        return GenerationRefusal{kLimitTooLow};
    }
    const std::uint64_t memory =
        tuning.availableMemoryBytes != 0 ? tuning.availableMemoryBytes : AvailableMemoryBytes();
    if (auto tooLarge = GridSizeRefusal(request.columnCount, request.rowCount, memory)) {
        return GenerationRefusal{std::move(*tooLarge)};
    }
    return *shadeLimit;
}

void PrepareGrids(PatternData& pattern, std::int32_t columns, std::int32_t rows) {
    pattern.columns = columns;
    pattern.rows = rows;
    const auto cells = static_cast<std::size_t>(columns) * rows;
    pattern.exactGrid.assign(cells * 3, 0);
    pattern.patternGrid.assign(cells, 0);
    pattern.threadUsage.fill(0);
}

void CompleteGeneration(GenerationResult& result, const GenerationRequest& request,
                        std::int32_t shadeLimit) {
    PatternData& pattern = result.pattern;
    for (std::uint32_t i = 1; i <= kThreadCount; ++i) {
        if (pattern.threadUsage[i] > 0) {
            pattern.usedThreads.push_back(i);
        }
    }
    pattern.usedThreadCount = static_cast<std::int32_t>(pattern.usedThreads.size());

    if (request.limitShades && shadeLimit < pattern.usedThreadCount) {
        const std::vector<MergePair> merges =
            PlanShadeMerges(pattern.usedThreads, pattern.threadUsage, shadeLimit,
                            request.perceptual ? PerceptualMergeRule() : PairMergeRule{});
        ApplyShadeMerges(pattern.patternGrid, merges);
        pattern.shadeCount = shadeLimit;
    } else {
        pattern.shadeCount = pattern.usedThreadCount;
    }
    pattern.usedColors = FirstAppearanceColors(pattern.patternGrid);
    if (request.cleanConfetti) {
        // Recounts usedColors and shadeCount from the cleaned grid; the key and the thread list
        // count crosses from the grid, so all of them agree with the label below.
        RemoveConfetti(pattern);
    }
    result.shadeLabel = "Оттенков: " + std::to_string(pattern.shadeCount) + " (из " +
                        std::to_string(pattern.usedThreadCount) + ")";
    result.tooManyShades = pattern.shadeCount > kSymbolCount;
}

GenerationOutcome RunGeneration(const GenerationRequest& request, const ColumnProgress& progress,
                                const GenerationTuning& tuning) {
    // Every refusal comes before anything is built, so the caller's pattern stays as it was.
    auto checked = CheckGenerationRequest(request, tuning);
    if (auto* refusal = std::get_if<GenerationRefusal>(&checked)) {
        return std::move(*refusal);
    }

    GenerationResult result;
    PatternData& pattern = result.pattern;
    PrepareGrids(pattern, request.columnCount, request.rowCount);
    ColumnSampler sampler(request.picture, pattern, request.perceptual);
    SampleAllColumns(sampler, pattern.columns, SamplingThreads(request, tuning),
                     pattern.threadUsage, progress);
    CompleteGeneration(result, request, std::get<std::int32_t>(checked));
    return result;
}

} // namespace pelvano
