#include "engine/banded_sampler.h"
#include "engine/generation.h"
#include "test_pictures.h"

#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace pelvano {
namespace {

using testing::RequestFor;
using testing::TestPicture;

GenerationResult Whole(const GenerationRequest& request) {
    GenerationOutcome outcome = RunGeneration(request);
    auto* result = std::get_if<GenerationResult>(&outcome);
    if (result == nullptr) {
        ADD_FAILURE() << "refused: " << std::get<GenerationRefusal>(outcome).message;
        return {};
    }
    return std::move(*result);
}

void ExpectSameResult(const GenerationResult& a, const GenerationResult& b) {
    EXPECT_EQ(a.pattern.columns, b.pattern.columns);
    EXPECT_EQ(a.pattern.rows, b.pattern.rows);
    EXPECT_EQ(a.pattern.exactGrid, b.pattern.exactGrid);
    EXPECT_EQ(a.pattern.patternGrid, b.pattern.patternGrid);
    EXPECT_EQ(a.pattern.threadUsage, b.pattern.threadUsage);
    EXPECT_EQ(a.pattern.usedThreads, b.pattern.usedThreads);
    EXPECT_EQ(a.pattern.usedThreadCount, b.pattern.usedThreadCount);
    EXPECT_EQ(a.pattern.shadeCount, b.pattern.shadeCount);
    EXPECT_EQ(a.pattern.usedColors, b.pattern.usedColors);
    EXPECT_EQ(a.shadeLabel, b.shadeLabel);
    EXPECT_EQ(a.tooManyShades, b.tooManyShades);
}

// Copies `source` into a blank raster a few rows at a time on another thread, as a decoder
// would, and samples it while it arrives. A cell sampled before its rows were written would see
// the blank and differ.
GenerationResult Banded(const TestPicture& source, GenerationRequest request, std::uint32_t seed,
                        std::vector<std::int32_t>* progress = nullptr) {
    TestPicture target(source.width, source.height);
    request.picture = target.View();
    BandedSampler::Outcome started = BandedSampler::Start(request);
    auto* sampler = std::get_if<std::unique_ptr<BandedSampler>>(&started);
    if (sampler == nullptr) {
        ADD_FAILURE() << "refused: " << std::get<GenerationRefusal>(started).message;
        return {};
    }
    std::thread decoder([&] {
        std::mt19937 random(seed);
        std::int32_t written = 0;
        while (written < source.height) {
            const auto step = static_cast<std::int32_t>(random() % 9) + 1;
            const std::int32_t end = std::min(source.height, written + step);
            const auto from = static_cast<std::size_t>(written * source.stride);
            const auto to = static_cast<std::size_t>(end * source.stride);
            std::copy(source.bytes.begin() + static_cast<std::ptrdiff_t>(from),
                      source.bytes.begin() + static_cast<std::ptrdiff_t>(to),
                      target.bytes.begin() + static_cast<std::ptrdiff_t>(from));
            written = end;
            (*sampler)->RowsReady(written);
            if (random() % 4 == 0) {
                std::this_thread::yield();
            }
        }
    });
    decoder.join();
    return (*sampler)->Finish([&](std::int32_t done) {
        if (progress != nullptr) {
            progress->push_back(done);
        }
    });
}

TEST(BandedSampler, GivesExactlyTheWholePictureResult) {
    TestPicture noise(613, 401);
    noise.FillNoise(7);
    TestPicture gradient(300, 170);
    for (std::int32_t y = 0; y < gradient.height; ++y) {
        for (std::int32_t x = 0; x < gradient.width; ++x) {
            gradient.Set(x, y, x * 255 / 299, y * 255 / 169, (x + y) % 256);
        }
    }
    TestPicture tiny(5, 3); // fewer pixels than cells: cells share pixels
    tiny.FillNoise(3);

    struct Case {
        const TestPicture* picture;
        std::int32_t columns;
        std::int32_t rows;
        const char* limit;
        bool limitShades;
    };
    const Case cases[] = {
        {&noise, 97, 61, "25", true},     {&noise, 150, 100, "30", true},
        {&noise, 613, 401, "2", true},    {&gradient, 300, 170, "10", false},
        {&gradient, 41, 29, "500", true}, {&tiny, 7, 4, "30", true},
        {&gradient, 2, 2, "30", true},
    };
    std::uint32_t seed = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.columns << " x " << c.rows << " limit " << c.limit);
        const GenerationRequest request =
            RequestFor(*c.picture, c.columns, c.rows, c.limit, c.limitShades);
        const GenerationResult expected = Whole(request);
        std::vector<std::int32_t> progress;
        ExpectSameResult(Banded(*c.picture, request, seed++, &progress), expected);
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.back(), c.rows);
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    }
}

TEST(BandedSampler, RefusesAsAWholeRunDoesAndStopsWhenThePictureNeverArrives) {
    TestPicture picture(40, 30);
    for (const auto& [columns, rows, limit] :
         {std::tuple{1, 10, "30"}, {10, 10, "1"}, {10, 10, "3x"}}) {
        const GenerationRequest request = RequestFor(picture, columns, rows, limit);
        const BandedSampler::Outcome banded = BandedSampler::Start(request);
        const GenerationOutcome whole = RunGeneration(request);
        ASSERT_TRUE(std::holds_alternative<GenerationRefusal>(banded));
        EXPECT_EQ(std::get<GenerationRefusal>(banded).message,
                  std::get<GenerationRefusal>(whole).message);
    }
    GenerationRequest noPicture = RequestFor(picture, 10, 10);
    noPicture.picture = {};
    EXPECT_TRUE(std::holds_alternative<GenerationRefusal>(BandedSampler::Start(noPicture)));

    // Half the rows, then the decoder fails: dropping the run must not wait for the rest.
    BandedSampler::Outcome started = BandedSampler::Start(RequestFor(picture, 10, 10));
    auto& sampler = std::get<std::unique_ptr<BandedSampler>>(started);
    sampler->RowsReady(15);
    sampler.reset();
}

} // namespace
} // namespace pelvano
