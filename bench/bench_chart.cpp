// The chart to stitch from: time to write it on top of the run, and bytes per cell.
//   500 x 300 cells (about 36 pages): at most 1.5 s and 16 bytes per cell
//   150 x 100 cells: at most 0.3 s
#include "chart/chart_pdf.h"
#include "engine/palette.h"

#include <QBuffer>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

using namespace pelvano;

// A photo-like pattern of 60 threads: neighbouring cells mostly alike, with detail.
PatternData Pattern(std::int32_t columns, std::int32_t rows) {
    const ThreadTable& palette = ThreadPalette();
    PatternData data;
    data.columns = columns;
    data.rows = rows;
    data.patternGrid.resize(static_cast<std::size_t>(columns) * rows);
    for (std::int32_t c = 0; c < columns; ++c) {
        for (std::int32_t r = 0; r < rows; ++r) {
            const int thread = 1 + (c / 9 + r / 6 + (c * r) % 5) % 60;
            const std::uint32_t color = palette[thread * 7].Color;
            data.patternGrid[data.cellIndex(c, r)] = color;
            if (std::find(data.usedColors.begin(), data.usedColors.end(), color) ==
                data.usedColors.end()) {
                data.usedColors.push_back(color);
            }
        }
    }
    return data;
}

void BM_Chart(benchmark::State& state) {
    const PatternData pattern = Pattern(static_cast<std::int32_t>(state.range(0)),
                                        static_cast<std::int32_t>(state.range(1)));
    ChartSubject subject;
    subject.title = QStringLiteral("bench.jpg");
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        WriteChart(buffer, pattern, subject, ChartSettings{});
        bytes = buffer.size();
    }
    state.counters["bytes_per_cell"] =
        static_cast<double>(bytes) / static_cast<double>(state.range(0) * state.range(1));
}
BENCHMARK(BM_Chart)->Args({150, 100})->Args({500, 300})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
