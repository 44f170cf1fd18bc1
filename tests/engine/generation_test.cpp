#include "engine/generation.h"
#include "engine/generation_tuning.h"
#include "engine/grid_budget.h"
#include "engine/integer_text.h"
#include "engine/linear_sampling.h"
#include "engine/perceptual_matcher.h"
#include "engine/thread_amount.h"
#include "test_pictures.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <thread>
#include <vector>

namespace pelvano {
namespace {

using testing::RequestFor;
using testing::TestPicture;

std::string RefusalOf(const GenerationOutcome& outcome) {
    const auto* refusal = std::get_if<GenerationRefusal>(&outcome);
    return refusal ? refusal->message : "(no refusal)";
}

GenerationResult ResultOf(GenerationOutcome outcome) {
    auto* result = std::get_if<GenerationResult>(&outcome);
    if (result == nullptr) {
        ADD_FAILURE() << "refused: " << RefusalOf(outcome);
        return {};
    }
    return std::move(*result);
}

std::uint32_t ColorOf(std::uint32_t thread) {
    return ThreadPalette()[thread].Color;
}

// A picture of `threads.size()` vertical stripes, each `counts[k]` pixels wide and two high,
// in the colour of thread `threads[k]`; sampled one cell per pixel, each cell keeps its colour.
TestPicture Stripes(const std::vector<std::uint32_t>& threads,
                    const std::vector<std::int32_t>& counts) {
    std::int32_t width = 0;
    for (const auto n : counts) {
        width += n;
    }
    TestPicture picture(width, 2);
    std::int32_t x = 0;
    for (std::size_t k = 0; k < threads.size(); ++k) {
        for (std::int32_t n = 0; n < counts[k]; ++n, ++x) {
            picture.SetColor(x, 0, ColorOf(threads[k]));
            picture.SetColor(x, 1, ColorOf(threads[k]));
        }
    }
    return picture;
}

TEST(Generation, RefusalsComeInOrderWithTheirTexts) {
    TestPicture picture(40, 30);
    GenerationRequest request = RequestFor(picture, 1, 1, "");
    request.windowState = 0;
    EXPECT_EQ(RefusalOf(RunGeneration(request)), "Сначала надо открыть картинку");

    const std::string tooFew =
        "Слишком большой размер крестика\r\nили маленький размер вышивки. Поменяй циферки.";
    EXPECT_EQ(RefusalOf(RunGeneration(RequestFor(picture, 1, 10))), tooFew);
    EXPECT_EQ(RefusalOf(RunGeneration(RequestFor(picture, 10, 1))), tooFew);
    EXPECT_EQ(RefusalOf(RunGeneration(RequestFor(picture, -5, 10))), tooFew);

    EXPECT_EQ(RefusalOf(RunGeneration(RequestFor(picture, 4, 4, ""))),
              "'' is not a valid integer value");
    EXPECT_EQ(RefusalOf(RunGeneration(RequestFor(picture, 4, 4, "", false))),
              "'' is not a valid integer value");
    EXPECT_EQ(RefusalOf(RunGeneration(RequestFor(picture, 4, 4, "3a"))),
              "'3a' is not a valid integer value");

    const std::string limitTooLow = "Количество оттенков должно быть больше 1";
    EXPECT_EQ(RefusalOf(RunGeneration(RequestFor(picture, 4, 4, "1"))), limitTooLow);
    EXPECT_EQ(RefusalOf(RunGeneration(RequestFor(picture, 4, 4, "-7"))), limitTooLow);
    // Unchecked, a limit below 2 is read but ignored.
    EXPECT_EQ(ResultOf(RunGeneration(RequestFor(picture, 4, 4, "0", false))).pattern.columns, 4);
    EXPECT_EQ(ResultOf(RunGeneration(RequestFor(picture, 4, 4, "1", false))).pattern.columns, 4);

    // A picture that is not there is refused like no picture at all, never read.
    GenerationRequest missing = RequestFor(picture, 4, 4);
    missing.picture.data = nullptr;
    EXPECT_EQ(RefusalOf(RunGeneration(missing)), "Сначала надо открыть картинку");
    missing = RequestFor(picture, 4, 4);
    missing.picture.stride = 3;
    EXPECT_EQ(RefusalOf(RunGeneration(missing)), "Сначала надо открыть картинку");
}

TEST(Generation, LimitTextIsAStrictWholeNumber) {
    EXPECT_EQ(ParseInteger("30"), 30);
    EXPECT_EQ(ParseInteger("007"), 7);
    EXPECT_EQ(ParseInteger("-2"), -2);
    EXPECT_EQ(ParseInteger("+5"), 5);
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    for (const char* bad : {"", " ", " 5", "5 ", "+", "-", "+-1", "1.0", "2147483648", "x"}) {
        EXPECT_FALSE(ParseInteger(bad).has_value()) << "'" << bad << "'";
    }
}

TEST(Generation, GridsTooLargeForMemoryAreRefusedBeforeAnythingIsBuilt) {
    const std::string message = "Схема слишком большая: 1000 × 2000 крестиков не помещаются в "
                                "памяти. Уменьшите размер вышивки.";
    // 2 million cells take 14 MB; half of the available memory must hold them.
    EXPECT_EQ(GridSizeRefusal(1000, 2000, 28'000'000), std::nullopt);
    EXPECT_EQ(GridSizeRefusal(1000, 2000, 27'999'999), message);
    // Byte counts past 32 bits are refused however much memory there is.
    EXPECT_NE(GridSizeRefusal(99999, 99999, ~0ULL), std::nullopt);
    EXPECT_NE(GridSizeRefusal(23171, 23171, ~0ULL), std::nullopt);
    EXPECT_EQ(GridSizeRefusal(23170, 23170, ~0ULL), std::nullopt);
    EXPECT_EQ(GridSizeRefusal(2147483647, 2147483647, ~0ULL).has_value(), true);

    TestPicture picture(8, 8);
    GenerationTuning tight;
    tight.availableMemoryBytes = 27'999'999;
    EXPECT_EQ(RefusalOf(RunGeneration(RequestFor(picture, 1000, 2000), {}, tight)), message);
    // The ordinary checks still come first.
    EXPECT_EQ(RefusalOf(RunGeneration(RequestFor(picture, 1000, 2000, "1"), {}, tight)),
              "Количество оттенков должно быть больше 1");
    // The system's own figure is used when none is given, and it is not tiny.
    EXPECT_GT(AvailableMemoryBytes(), 16'000'000u);
    EXPECT_NE(RefusalOf(RunGeneration(RequestFor(picture, 99999, 99999))), "(no refusal)");
}

TEST(Generation, OneColourPictureGivesOneThread) {
    TestPicture picture(17, 9);
    picture.Fill(200, 30, 40);
    std::vector<std::int32_t> progress;
    const GenerationResult r = ResultOf(RunGeneration(
        RequestFor(picture, 5, 3), [&](std::int32_t done) { progress.push_back(done); }));
    EXPECT_EQ(progress, (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(r.shadeLabel, "Оттенков: 1 (из 1)");
    EXPECT_FALSE(r.tooManyShades);
    const PatternData& p = r.pattern;
    EXPECT_EQ(p.usedThreadCount, 1);
    EXPECT_EQ(p.shadeCount, 1);
    ASSERT_EQ(p.usedThreads.size(), 1u);
    EXPECT_EQ(p.usedColors, (std::vector<std::uint32_t>{ColorOf(p.usedThreads[0])}));
    EXPECT_EQ(p.threadUsage[p.usedThreads[0]], 15);
    ASSERT_EQ(p.exactGrid.size(), 45u);
    ASSERT_EQ(p.patternGrid.size(), 15u);
    for (std::size_t k = 0; k < 15; ++k) {
        EXPECT_EQ(p.exactGrid[k * 3], 40); // blue first
        EXPECT_EQ(p.exactGrid[k * 3 + 1], 30);
        EXPECT_EQ(p.exactGrid[k * 3 + 2], 200);
        EXPECT_EQ(p.patternGrid[k], p.usedColors[0]);
    }
}

TEST(Generation, GridsAreColumnMajorAndColoursListedInFirstAppearance) {
    // Left half thread 460 (white), right half 48 (black), bottom-right quarter thread 7.
    TestPicture picture(4, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            picture.SetColor(x, y, x < 2 ? ColorOf(460) : y < 2 ? ColorOf(48) : ColorOf(7));
        }
    }
    const PatternData p = ResultOf(RunGeneration(RequestFor(picture, 2, 2))).pattern;
    EXPECT_EQ(p.patternGrid,
              (std::vector<std::uint32_t>{ColorOf(460), ColorOf(460), ColorOf(48), ColorOf(7)}));
    EXPECT_EQ(p.usedThreads, (std::vector<std::uint32_t>{7, 48, 460}));
    EXPECT_EQ(p.usedColors, (std::vector<std::uint32_t>{ColorOf(460), ColorOf(48), ColorOf(7)}));
    EXPECT_EQ(p.exactGrid[p.cellIndex(1, 1) * 3 + 2], ThreadPalette()[7].R);
}

TEST(Generation, SixThreadsLimitedToThree) {
    const std::vector<std::uint32_t> threads{22, 24, 21, 7, 8, 3};
    const TestPicture picture = Stripes(threads, {250, 150, 100, 50, 25, 2}); // two rows high
    const GenerationResult r = ResultOf(RunGeneration(RequestFor(picture, picture.width, 2, "3")));
    const PatternData& p = r.pattern;
    EXPECT_EQ(r.shadeLabel, "Оттенков: 3 (из 6)");
    EXPECT_EQ(p.usedThreadCount, 6);
    EXPECT_EQ(p.shadeCount, 3);
    EXPECT_EQ(p.usedThreads, threads); // ranked by crosses
    EXPECT_EQ(p.usedColors, (std::vector<std::uint32_t>{ColorOf(22), ColorOf(7), ColorOf(8)}));
    // The counts stay those of the sampling, dropped threads included.
    const std::int64_t counts[] = {500, 300, 200, 100, 50, 4};
    for (std::size_t k = 0; k < threads.size(); ++k) {
        EXPECT_EQ(p.threadUsage[threads[k]], counts[k]) << threads[k];
    }
    // The exact grid keeps the sampled colours.
    EXPECT_EQ(p.exactGrid[p.cellIndex(picture.width - 1, 0) * 3], ThreadPalette()[3].B);

    // A limit equal to the threads used changes nothing.
    const GenerationResult same =
        ResultOf(RunGeneration(RequestFor(picture, picture.width, 2, "6")));
    EXPECT_EQ(same.shadeLabel, "Оттенков: 6 (из 6)");
    EXPECT_EQ(same.pattern.usedColors.size(), 6u);
    EXPECT_EQ(same.pattern.usedThreads, (std::vector<std::uint32_t>{3, 7, 8, 21, 22, 24}));
}

TEST(Generation, WarnsAboveOneHundredTwentyShades) {
    for (const std::uint32_t shades : {120u, 121u}) {
        std::vector<std::uint32_t> threads;
        for (std::uint32_t t = 1; t <= shades; ++t) {
            threads.push_back(t);
        }
        const TestPicture picture = Stripes(threads, std::vector<std::int32_t>(shades, 1));
        const GenerationResult r =
            ResultOf(RunGeneration(RequestFor(picture, picture.width, 2, "300")));
        EXPECT_EQ(r.pattern.shadeCount, static_cast<std::int32_t>(shades));
        EXPECT_EQ(r.tooManyShades, shades > 120);
        EXPECT_EQ(r.pattern.usedColors.size(), shades);
    }
}

TEST(Generation, RunsAreRepeatableAndIndependentOfThreadCount) {
    TestPicture picture(613, 401);
    picture.FillNoise(99);
    GenerationTuning single;
    single.samplingThreads = 1;
    const GenerationOutcome first = RunGeneration(RequestFor(picture, 97, 61, "25"), {}, single);
    const PatternData a = ResultOf(first).pattern;
    EXPECT_EQ(a.shadeCount, 25);

    for (const int threads : {1, 2, 3}) {
        GenerationTuning tuning;
        tuning.samplingThreads = threads;
        std::vector<std::int32_t> progress;
        bool sameThread = true;
        const auto caller = std::this_thread::get_id();
        const GenerationOutcome again = RunGeneration(
            RequestFor(picture, 97, 61, "25"),
            [&](std::int32_t done) {
                progress.push_back(done);
                sameThread = sameThread && std::this_thread::get_id() == caller;
            },
            tuning);
        const PatternData b = ResultOf(again).pattern;
        EXPECT_EQ(a.exactGrid, b.exactGrid) << threads;
        EXPECT_EQ(a.patternGrid, b.patternGrid) << threads;
        EXPECT_EQ(a.usedColors, b.usedColors) << threads;
        EXPECT_EQ(a.usedThreads, b.usedThreads) << threads;
        EXPECT_EQ(a.threadUsage, b.threadUsage) << threads;
        ASSERT_EQ(progress.size(), 97u);
        for (std::int32_t k = 0; k < 97; ++k) {
            EXPECT_EQ(progress[static_cast<std::size_t>(k)], k + 1);
        }
        EXPECT_TRUE(sameThread);
    }
}

TEST(Generation, ProgressThatThrowsStopsTheRunCleanly) {
    TestPicture picture(300, 200);
    picture.FillNoise(5);
    GenerationTuning tuning;
    tuning.samplingThreads = 2;
    EXPECT_THROW(RunGeneration(
                     RequestFor(picture, 60, 40),
                     [](std::int32_t done) {
                         if (done == 3) {
                             throw std::runtime_error("cancelled");
                         }
                     },
                     tuning),
                 std::runtime_error);
}

TEST(Generation, PerceptualRunMatchesLinearAveragesByDeltaE2000) {
    TestPicture picture(37, 29);
    picture.FillNoise(7);
    GenerationRequest request = RequestFor(picture, 9, 7, "30", false);
    request.perceptual = true;
    const GenerationResult r = ResultOf(RunGeneration(request));
    const std::vector<LinearRgb> averages = AverageCellsLinear(picture.View(), 9, 7);
    ASSERT_EQ(r.pattern.patternGrid.size(), averages.size());
    for (std::size_t k = 0; k < averages.size(); ++k) {
        const int thread = NearestThreadPerceptualByScan(LinearRgbToLab(averages[k]));
        EXPECT_EQ(r.pattern.patternGrid[k], ColorOf(static_cast<std::uint32_t>(thread))) << k;
        EXPECT_EQ(r.pattern.exactGrid[k * 3 + 2], LinearToSrgb8(averages[k].red)) << k;
    }
    // Any number of sampling threads gives the same pattern.
    const GenerationResult parallel = ResultOf(RunGeneration(request, {}, {0, 3}));
    EXPECT_EQ(parallel.pattern.patternGrid, r.pattern.patternGrid);

    // Limited and cleaned: the label, the used colours and the key's counts describe the grid.
    request.limitShades = true;
    request.shadeLimitText = "6";
    for (const bool clean : {false, true}) {
        request.cleanConfetti = clean;
        const GenerationResult limited = ResultOf(RunGeneration(request));
        const PatternData& p = limited.pattern;
        std::vector<std::uint32_t> distinct = p.patternGrid;
        std::sort(distinct.begin(), distinct.end());
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        EXPECT_EQ(distinct.size(), p.usedColors.size());
        EXPECT_EQ(p.shadeCount, static_cast<std::int32_t>(p.usedColors.size()));
        EXPECT_EQ(limited.shadeLabel, "Оттенков: " + std::to_string(p.shadeCount) + " (из " +
                                          std::to_string(r.pattern.usedThreadCount) + ")");
        const std::vector<std::int64_t> crosses = CrossesInKeyOrder(p);
        EXPECT_EQ(std::accumulate(crosses.begin(), crosses.end(), std::int64_t{0}), 9 * 7);
    }
}

} // namespace
} // namespace pelvano
