// Picture codecs against libjpeg's own command-line tools on the same files, in the same run:
// opening a 24-megapixel JPEG should cost at most 1.1 times `djpeg -dct float`.
#include "io/picture_export.h"
#include "io/picture_input.h"

#include <QFile>
#include <QString>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = PELVANO_CORPUS_DIR;

// The 24 MP picture, made once per run by upscaling the largest corpus photo 1.083 times, and
// the same pixels as PPM (for cjpeg) and BMP; everything in a temporary folder.
struct BigPicture {
    fs::path folder;
    fs::path jpeg;
    fs::path ppm;
    fs::path bmp;
    QImage pixels;
    std::string problem;

    BigPicture() {
        folder = fs::temp_directory_path() / ("pelvano-bench-io-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        jpeg = folder / "big.jpg";
        ppm = folder / "big.ppm";
        bmp = folder / "big.bmp";
        const std::string make = "convert '" + (kCorpus / "photos/kleiber-6028x3391.jpg").string() +
                                 "' -resize 108.3% -quality 92 '" + jpeg.string() + "'";
        if (std::system(make.c_str()) != 0) {
            problem = "ImageMagick's convert could not make the 24 MP picture";
            return;
        }
        const pelvano::LoadedPicture loaded = pelvano::LoadPicture(QString::fromStdString(jpeg));
        if (!loaded.ok()) {
            problem = loaded.error.toStdString();
            return;
        }
        pixels = loaded.picture;
        pixels.save(QString::fromStdString(ppm), "PPM");
        pelvano::SavePicture(pixels, QString::fromStdString(bmp), pelvano::PictureFormat::Bmp);
    }
    ~BigPicture() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

const BigPicture& Big() {
    static const BigPicture big;
    return big;
}

bool Ready(benchmark::State& state) {
    if (!Big().problem.empty()) {
        state.SkipWithError(Big().problem.c_str());
        return false;
    }
    state.counters["megapixels"] = Big().pixels.width() * double(Big().pixels.height()) / 1e6;
    return true;
}

void RunTool(benchmark::State& state, const std::string& command) {
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError(("failed: " + command).c_str());
            return;
        }
    }
}

void BM_OpenJpeg24MP(benchmark::State& state) {
    if (!Ready(state))
        return;
    const QString path = QString::fromStdString(Big().jpeg);
    for (auto _ : state) {
        pelvano::LoadedPicture loaded = pelvano::LoadPicture(path);
        benchmark::DoNotOptimize(loaded.picture.constBits());
    }
}

// Ours and djpeg in turns, so that the load other processes put on the machine falls on both
// alike; the fastest run of each is the figure least disturbed by them.
void BM_OpenJpeg24MPAgainstDjpeg(benchmark::State& state) {
    if (!Ready(state))
        return;
    const QString path = QString::fromStdString(Big().jpeg);
    const std::string djpeg = "djpeg -dct float -outfile /dev/null '" + Big().jpeg.string() + "'";
    using Clock = std::chrono::steady_clock;
    double oursBest = 1e9;
    double djpegBest = 1e9;
    for (auto _ : state) {
        const auto start = Clock::now();
        pelvano::LoadedPicture loaded = pelvano::LoadPicture(path);
        benchmark::DoNotOptimize(loaded.picture.constBits());
        const auto middle = Clock::now();
        loaded = {};
        if (std::system(djpeg.c_str()) != 0) {
            state.SkipWithError("djpeg failed");
            return;
        }
        const auto end = Clock::now();
        const double ours = std::chrono::duration<double, std::milli>(middle - start).count();
        oursBest = std::min(oursBest, ours);
        djpegBest =
            std::min(djpegBest, std::chrono::duration<double, std::milli>(end - middle).count());
        state.SetIterationTime(ours / 1000.0);
    }
    state.counters["ours_best_ms"] = oursBest;
    state.counters["djpeg_best_ms"] = djpegBest;
    state.counters["ratio"] = oursBest / djpegBest;
}

void BM_DjpegFloat24MP(benchmark::State& state) {
    if (!Ready(state))
        return;
    RunTool(state, "djpeg -dct float -outfile /dev/null '" + Big().jpeg.string() + "'");
}

void BM_OpenProgressiveJpeg16MP(benchmark::State& state) {
    const QString path =
        QString::fromStdString(kCorpus / "photos/seeding-5312x2988-progressive.jpg");
    for (auto _ : state) {
        pelvano::LoadedPicture loaded = pelvano::LoadPicture(path);
        benchmark::DoNotOptimize(loaded.picture.constBits());
    }
}

void BM_DjpegFloatProgressive16MP(benchmark::State& state) {
    RunTool(state, "djpeg -dct float -outfile /dev/null '" +
                       (kCorpus / "photos/seeding-5312x2988-progressive.jpg").string() + "'");
}

void BM_SaveJpeg24MP(benchmark::State& state) {
    if (!Ready(state))
        return;
    const QString path = QString::fromStdString(Big().folder / "saved.jpg");
    for (auto _ : state) {
        if (!pelvano::SavePicture(Big().pixels, path, pelvano::PictureFormat::Jpeg).isEmpty())
            state.SkipWithError("save failed");
    }
}

void BM_CjpegQuality97Float24MP(benchmark::State& state) {
    if (!Ready(state))
        return;
    RunTool(state, "cjpeg -quality 97 -dct float -outfile '" +
                       (Big().folder / "cjpeg.jpg").string() + "' '" + Big().ppm.string() + "'");
}

void BM_OpenBmp24MP(benchmark::State& state) {
    if (!Ready(state))
        return;
    const QString path = QString::fromStdString(Big().bmp);
    for (auto _ : state) {
        pelvano::LoadedPicture loaded = pelvano::LoadPicture(path);
        benchmark::DoNotOptimize(loaded.picture.constBits());
    }
}

void BM_SaveBmp24MP(benchmark::State& state) {
    if (!Ready(state))
        return;
    const QString path = QString::fromStdString(Big().folder / "saved.bmp");
    for (auto _ : state) {
        if (!pelvano::SavePicture(Big().pixels, path, pelvano::PictureFormat::Bmp).isEmpty())
            state.SkipWithError("save failed");
    }
}

// The tools run as child processes, so only wall-clock time compares fairly.
#define PELVANO_CODEC_BENCHMARK(name)                                                              \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0)

PELVANO_CODEC_BENCHMARK(BM_OpenJpeg24MP);
BENCHMARK(BM_OpenJpeg24MPAgainstDjpeg)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(15);
PELVANO_CODEC_BENCHMARK(BM_DjpegFloat24MP);
PELVANO_CODEC_BENCHMARK(BM_OpenProgressiveJpeg16MP);
PELVANO_CODEC_BENCHMARK(BM_DjpegFloatProgressive16MP);
PELVANO_CODEC_BENCHMARK(BM_SaveJpeg24MP);
PELVANO_CODEC_BENCHMARK(BM_CjpegQuality97Float24MP);
PELVANO_CODEC_BENCHMARK(BM_OpenBmp24MP);
PELVANO_CODEC_BENCHMARK(BM_SaveBmp24MP);

} // namespace

BENCHMARK_MAIN();
