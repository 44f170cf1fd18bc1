#include "engine/banded_sampler.h"
#include "engine/generation.h"
#include "io/picture_input.h"
#include "io_test_support.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace pelvano {
namespace {

using test::Corpus;

GenerationRequest RequestFor(const RasterView& picture) {
    GenerationRequest request;
    request.picture = picture;
    request.columnCount = 83;
    request.rowCount = 59;
    request.shadeLimitText = "20";
    request.windowState = 1;
    return request;
}

TEST(LoadObserverTest, ReportsTheRasterFirstAndThenEveryRowInOrder) {
    for (const char* name : {"photos/grace-hopper-512x600.jpg", "photos/life-gray.jpg",
                             "photos/seeding-5312x2988-progressive.jpg", "photos/rose-70x46.bmp",
                             "broken/truncated-baseline.jpg"}) {
        SCOPED_TRACE(name);
        RasterView seen;
        std::vector<std::int32_t> rows;
        bool rowsBeforeStart = false;
        const LoadedPicture loaded =
            LoadPicture(Corpus(name),
                        LoadObserver{[&](const auto& picture) { seen = ToRasterView(*picture); },
                                     [&](std::int32_t n) {
                                         rowsBeforeStart = rowsBeforeStart || seen.data == nullptr;
                                         rows.push_back(n);
                                     }});
        ASSERT_TRUE(loaded.ok()) << loaded.error.toStdString();
        const RasterView whole = ToRasterView(loaded.picture);
        EXPECT_EQ(seen.data, whole.data);
        EXPECT_EQ(seen.width, whole.width);
        EXPECT_EQ(seen.height, whole.height);
        EXPECT_EQ(seen.stride, whole.stride);
        EXPECT_FALSE(rowsBeforeStart);
        ASSERT_FALSE(rows.empty());
        EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end()));
        EXPECT_EQ(rows.back(), whole.height);
    }
}

TEST(LoadObserverTest, SamplingWhileDecodingMatchesSamplingTheLoadedPicture) {
    for (const char* name : {"photos/kleiber-6028x3391.jpg", "photos/life-gray.jpg"}) {
        SCOPED_TRACE(name);
        std::unique_ptr<BandedSampler> sampler;
        const LoadedPicture loaded = LoadPicture(
            Corpus(name),
            LoadObserver{[&](const auto& picture) {
                             auto started =
                                 BandedSampler::Start(RequestFor(ToRasterView(*picture)));
                             sampler = std::move(std::get<std::unique_ptr<BandedSampler>>(started));
                         },
                         [&](std::int32_t n) { sampler->RowsReady(n); }});
        ASSERT_TRUE(loaded.ok());
        ASSERT_TRUE(sampler);
        const GenerationResult overlapped = sampler->Finish();
        const GenerationOutcome whole = RunGeneration(RequestFor(ToRasterView(loaded.picture)));
        const GenerationResult& expected = std::get<GenerationResult>(whole);
        EXPECT_EQ(overlapped.pattern.exactGrid, expected.pattern.exactGrid);
        EXPECT_EQ(overlapped.pattern.patternGrid, expected.pattern.patternGrid);
        EXPECT_EQ(overlapped.pattern.threadUsage, expected.pattern.threadUsage);
        EXPECT_EQ(overlapped.pattern.usedThreads, expected.pattern.usedThreads);
        EXPECT_EQ(overlapped.pattern.usedColors, expected.pattern.usedColors);
        EXPECT_EQ(overlapped.shadeLabel, expected.shadeLabel);
    }
}

TEST(LoadObserverTest, AFileFailingAfterItsSizeStillReportsItsError) {
    // The header is read, then the colour conversion is refused. The share of the raster keeps
    // the rows the sampler reads alive until it is gone.
    std::shared_ptr<const QImage> raster;
    std::unique_ptr<BandedSampler> sampler;
    bool started = false;
    const LoadedPicture loaded =
        LoadPicture(Corpus("photos/picos-cmyk.jpg"),
                    LoadObserver{[&](const auto& picture) {
                                     started = true;
                                     raster = picture;
                                     sampler = std::move(std::get<std::unique_ptr<BandedSampler>>(
                                         BandedSampler::Start(RequestFor(ToRasterView(*picture)))));
                                 },
                                 [&](std::int32_t n) { sampler->RowsReady(n); }});
    EXPECT_FALSE(loaded.ok());
    EXPECT_TRUE(loaded.picture.isNull());
    EXPECT_TRUE(started);
    sampler.reset(); // must not wait for rows that will never come
}

} // namespace
} // namespace pelvano
