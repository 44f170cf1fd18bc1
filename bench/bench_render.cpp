#include "engine/palette.h"
#include "render/draw_options.h"
#include "render/key_image.h"
#include "render/pattern_images.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <vector>

namespace pelvano {
namespace {

// Patches of a few cells in 60 threads, roughly what a photo leaves after matching.
PatternData PhotoLikePattern(std::int32_t columns, std::int32_t rows) {
    const ThreadTable& palette = ThreadPalette();
    PatternData data;
    data.columns = columns;
    data.rows = rows;
    for (std::int32_t c = 0; c < columns; ++c) {
        for (std::int32_t r = 0; r < rows; ++r) {
            const int thread = 1 + ((c / 4) * 7 + (r / 3) * 13) % 60 * 7;
            const std::uint32_t color = palette[thread].Color;
            data.patternGrid.push_back(color);
            data.exactGrid.push_back(static_cast<std::uint8_t>(color >> 16));
            data.exactGrid.push_back(static_cast<std::uint8_t>(color >> 8));
            data.exactGrid.push_back(static_cast<std::uint8_t>(color));
            bool listed = false;
            for (std::uint32_t used : data.usedColors) {
                listed = listed || used == color;
            }
            if (!listed) {
                data.usedColors.push_back(color);
            }
        }
    }
    return data;
}

// An option change: both images are redrawn at their current size.
void BM_RedrawPattern(benchmark::State& state) {
    const auto columns = static_cast<std::int32_t>(state.range(0));
    const auto rows = static_cast<std::int32_t>(state.range(1));
    const PatternData data = PhotoLikePattern(columns, rows);
    const DrawOptions options = DrawOptions::fromChecks(true, true, false, true);
    QImage exact, pattern;
    DrawPattern(data, columns, rows, options, exact, pattern);
    for (auto _ : state) {
        DrawPattern(data, columns, rows, options, exact, pattern);
        benchmark::DoNotOptimize(pattern.constBits());
    }
    state.counters["pixels"] = static_cast<double>(pattern.width()) * pattern.height();
}
BENCHMARK(BM_RedrawPattern)->Args({150, 100})->Args({500, 300})->Unit(benchmark::kMillisecond);

// After a generation run: new images of a new size each time.
void BM_DrawPatternNewSize(benchmark::State& state) {
    const auto columns = static_cast<std::int32_t>(state.range(0));
    const auto rows = static_cast<std::int32_t>(state.range(1));
    const PatternData data = PhotoLikePattern(columns, rows);
    const DrawOptions options = DrawOptions::fromChecks(true, true, false, true);
    for (auto _ : state) {
        QImage exact, pattern;
        DrawPattern(data, columns, rows, options, exact, pattern);
        benchmark::DoNotOptimize(pattern.constBits());
    }
}
BENCHMARK(BM_DrawPatternNewSize)->Args({150, 100})->Args({500, 300})->Unit(benchmark::kMillisecond);

void BM_DrawKey(benchmark::State& state) {
    const PatternData data = PhotoLikePattern(150, 100);
    const DrawOptions options = DrawOptions::fromChecks(true, true, false, true);
    QImage key;
    for (auto _ : state) {
        DrawKey(data, options, key);
        benchmark::DoNotOptimize(key.constBits());
    }
    state.counters["threads"] = static_cast<double>(data.usedColors.size());
}
BENCHMARK(BM_DrawKey)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pelvano

// The key's text needs the font database, which lives in a QGuiApplication.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
