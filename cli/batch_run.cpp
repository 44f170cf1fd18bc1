#include "cli/batch_run.h"

#include "cli/thread_list_csv.h"
#include "engine/banded_sampler.h"
#include "engine/generation.h"
#include "io/picture_export.h"
#include "io/picture_input.h"
#include "render/draw_options.h"
#include "render/key_image.h"
#include "render/pattern_images.h"

#include <QImage>
#include <QSaveFile>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <unistd.h>

namespace pelvano {
namespace {

// Column counters on the terminal; nothing when the output goes to a file or a pipe, where a
// line per column would only bury the summary.
class Progress {
public:
    Progress(std::ostream& err, bool quiet) : err_(err), shown_(!quiet && isatty(STDERR_FILENO)) {}

    void begin(const char* label, std::int32_t total) {
        label_ = label;
        total_ = total;
        lastPercent_ = -1;
    }
    void step(std::int32_t done) {
        if (!shown_ || total_ <= 0) {
            return;
        }
        const int percent = static_cast<int>(std::int64_t{done} * 100 / total_);
        if (percent != lastPercent_) {
            lastPercent_ = percent;
            err_ << '\r' << label_ << ": " << percent << '%' << std::flush;
        }
    }
    void end() {
        if (shown_ && lastPercent_ >= 0) {
            err_ << '\r' << std::string(label_.size() + 8, ' ') << '\r' << std::flush;
        }
        lastPercent_ = -1;
    }

private:
    std::ostream& err_;
    bool shown_;
    std::string label_;
    std::int32_t total_ = 0;
    int lastPercent_ = -1;
};

// Message texts break lines the way the window's message boxes want; a terminal wants "\n".
std::string ForConsole(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pair = i + 1 < text.size() && ((text[i] == '\r' && text[i + 1] == '\n') ||
                                                  (text[i] == '\n' && text[i + 1] == '\r'));
        if (pair) {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

SizeTexts TextsFor(const CliOptions& options) {
    SizeTexts texts;
    switch (options.master) {
    case SizeField::Width:
        texts.width = options.masterText;
        break;
    case SizeField::Height:
        texts.height = options.masterText;
        break;
    case SizeField::Columns:
        texts.columns = options.masterText;
        break;
    case SizeField::Rows:
        texts.rows = options.masterText;
        break;
    }
    texts.crossWidth = options.crossWidthText;
    texts.crossHeight = options.crossHeightText;
    return texts;
}

bool Save(const QImage& image, const OutputPicture& target, std::ostream& err) {
    const auto error = SavePicture(image, target.path, target.format);
    if (!error.isEmpty()) {
        err << error.toStdString() << '\n';
        return false;
    }
    return true;
}

bool WriteText(const QString& path, const std::string& text, std::ostream& err) {
    // Written beside the target and renamed at the end, so a failure leaves any older file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit()) {
        err << "Не удалось записать файл " << path.toStdString() << ": "
            << file.errorString().toStdString() << '\n';
        return false;
    }
    return true;
}

// Sizes and sampling start as soon as the decoder knows the picture's size, and the cells are
// sampled on a second thread while the rows are still being decoded. Nothing is printed until
// the picture is whole, so a file that fails halfway reports only its error, as before.
class OverlappedGeneration {
public:
    explicit OverlappedGeneration(const CliOptions& options) : options_(options) {}

    LoadObserver observer() {
        return LoadObserver{[this](const RasterView& picture) { start(picture); },
                            [this](std::int32_t rows) {
                                if (sampler_) {
                                    sampler_->RowsReady(rows);
                                }
                            }};
    }

    // After a successful load: rethrows what went wrong inside the decoder's callback, and
    // starts from the whole picture should a loader not have reported it.
    void checkStarted(const QImage& picture) {
        if (failure_) {
            std::rethrow_exception(failure_);
        }
        if (!sizes_) {
            const RasterView view = ToRasterView(picture);
            start(view);
            if (sampler_) {
                sampler_->RowsReady(view.height);
            }
            if (failure_) {
                std::rethrow_exception(failure_);
            }
        }
    }
    const SizeCalculation& sizes() const { return *sizes_; }
    const std::optional<GenerationRefusal>& refusal() const { return refusal_; }
    GenerationResult finish(const std::function<void(std::int32_t)>& rowsDone) {
        return sampler_->Finish(rowsDone);
    }

private:
    void start(const RasterView& picture) {
        try {
            // As PictureAspect computes it from the finished image.
            const Real aspect = picture.height > 0 ? static_cast<Real>(picture.width) /
                                                         static_cast<Real>(picture.height)
                                                   : 1.0L;
            sizes_ = RecalcSizes(static_cast<int>(options_.master), TextsFor(options_), aspect);
            if (!sizes_->ok()) {
                return;
            }
            GenerationRequest request;
            request.picture = picture;
            request.columnCount = sizes_->columnCount;
            request.rowCount = sizes_->rowCount;
            request.shadeLimitText = options_.shadeLimitText;
            request.limitShades = options_.limitShades;
            request.windowState = 1;
            BandedSampler::Outcome outcome = BandedSampler::Start(request);
            if (auto* refusal = std::get_if<GenerationRefusal>(&outcome)) {
                refusal_ = std::move(*refusal);
            } else {
                sampler_ = std::move(std::get<std::unique_ptr<BandedSampler>>(outcome));
            }
        } catch (...) {
            // libjpeg's frames are between here and the caller: nothing may be thrown across.
            failure_ = std::current_exception();
        }
    }

    const CliOptions& options_;
    std::optional<SizeCalculation> sizes_;
    std::optional<GenerationRefusal> refusal_;
    std::unique_ptr<BandedSampler> sampler_;
    std::exception_ptr failure_;
};

int Generate(const CliOptions& options, std::ostream& out, std::ostream& err) {
    OverlappedGeneration generation(options);
    LoadedPicture loaded = LoadPicture(options.picture, generation.observer());
    if (!loaded.ok()) {
        err << loaded.error.toStdString() << '\n';
        return kExitFileError;
    }
    QImage& picture = loaded.picture;
    generation.checkStarted(picture);

    const SizeCalculation& sizes = generation.sizes();
    if (!sizes.ok()) {
        err << *sizes.error << '\n';
        return kExitRefused;
    }
    if (!options.quiet) {
        out << "Картинка: " << picture.width() << " x " << picture.height() << " пикселей\n"
            << "Схема: " << sizes.columnCount << " x " << sizes.rowCount << " (столбцов x строк)\n"
            << sizes.crossCountLabel << '\n'
            << sizes.widthLabel << '\n'
            << sizes.heightLabel << '\n'
            << std::flush;
    }
    if (generation.refusal()) {
        err << ForConsole(generation.refusal()->message) << '\n';
        return kExitRefused;
    }

    Progress progress(err, options.quiet);
    progress.begin("Генерация", sizes.rowCount);
    const GenerationResult result =
        generation.finish([&](std::int32_t done) { progress.step(done); });
    progress.end();
    // The grids hold all the drawing needs; a large photo's pixels need not stay beside the
    // pattern image.
    picture = QImage();
    if (!options.quiet) {
        out << result.shadeLabel << '\n' << std::flush;
    }
    if (result.tooManyShades) {
        err << ForConsole(kTooManyShadesWarning) << '\n';
    }

    const PatternData& pattern = result.pattern;
    const DrawOptions drawOptions =
        DrawOptions::fromChecks(options.grid, options.symbols, options.texture, options.color);
    if (options.pattern && options.pattern->format == PictureFormat::Jpeg && !options.exact) {
        // Drawn a band at a time straight into the encoder: the whole image is never needed.
        const auto drawer =
            NewPatternRowDrawer(pattern, pattern.columns, pattern.rows, drawOptions);
        const PixelSize size = drawer->size();
        progress.begin("Рисование", static_cast<std::int32_t>(size.height));
        const QString error = SaveJpegRows(
            static_cast<std::int32_t>(size.width), static_cast<std::int32_t>(size.height),
            [&](std::int32_t y) {
                try {
                    progress.step(y + 1);
                } catch (...) {
                    // Only the counter is lost; nothing may be thrown through the encoder.
                }
                return drawer->row(y);
            },
            options.pattern->path);
        progress.end();
        if (!error.isEmpty()) {
            err << error.toStdString() << '\n';
            return kExitFileError;
        }
    } else if (options.pattern || options.exact) {
        QImage exactImage;
        QImage patternImage;
        progress.begin("Рисование", pattern.columns);
        DrawPattern(pattern, pattern.columns, pattern.rows, drawOptions, exactImage, patternImage,
                    [&](std::int32_t done) { progress.step(done); });
        progress.end();
        if (options.pattern && !Save(patternImage, *options.pattern, err)) {
            return kExitFileError;
        }
        if (options.exact && !Save(exactImage, *options.exact, err)) {
            return kExitFileError;
        }
    }
    if (options.key) {
        QImage keyImage;
        DrawKey(pattern, drawOptions, keyImage);
        if (!Save(keyImage, *options.key, err)) {
            return kExitFileError;
        }
    }
    if (!options.threadsCsv.isEmpty() &&
        !WriteText(options.threadsCsv, ThreadListCsv(pattern), err)) {
        return kExitFileError;
    }
    return kExitOk;
}

} // namespace

int RunBatch(const CliOptions& options, std::ostream& out, std::ostream& err) {
    try {
        return Generate(options, out, err);
    } catch (const RenderError& error) {
        // The pattern would make an image too large to hold: the sizes are the problem.
        err << error.what() << '\n';
        return kExitRefused;
    } catch (const std::bad_alloc&) {
        // A five-digit size in both directions asks for billions of cells.
        err << "Не хватает памяти: схема слишком велика.\n";
    } catch (const std::exception& error) {
        err << error.what() << '\n';
    }
    return kExitFileError;
}

} // namespace pelvano
