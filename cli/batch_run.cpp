#include "cli/batch_run.h"

#include "chart/chart_pdf.h"
#include "cli/overlapped_generation.h"
#include "cli/thread_list_csv.h"
#include "engine/generation.h"
#include "io/oxs_export.h"
#include "io/picture_export.h"
#include "io/picture_input.h"
#include "render/draw_options.h"
#include "render/key_image.h"
#include "render/pattern_images.h"

#include <QFileInfo>
#include <QImage>
#include <exception>
#include <new>
#include <optional>
#include <sstream>
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

bool Save(const QImage& image, const OutputPicture& target, std::ostream& err) {
    const auto error = SavePicture(image, target.path, target.format);
    if (!error.isEmpty()) {
        err << error.toStdString() << '\n';
        return false;
    }
    return true;
}

// A picture of this size named as a bitmap, checked before anything is drawn for it.
bool FitsItsFile(const std::optional<OutputPicture>& target, const PixelSize& size,
                 std::ostream& err) {
    if (!target || target->format != PictureFormat::Bmp) {
        return true;
    }
    const QString error = BmpSizeError(size.width, size.height);
    if (!error.isEmpty()) {
        err << error.toStdString() << '\n';
    }
    return error.isEmpty();
}

// The pattern drawn a band of rows at a time straight into the encoder: the whole image is
// never held.
QString SaveStreamedPattern(PatternRowDrawer& drawer, const OutputPicture& target,
                            Progress& progress) {
    const PixelSize size = drawer.size();
    const auto width = static_cast<std::int32_t>(size.width);
    const auto height = static_cast<std::int32_t>(size.height);
    progress.begin("Рисование", height);
    const PictureRowSource rows = [&](std::int32_t y) {
        try {
            progress.step(y + 1);
        } catch (...) {
            // Only the counter is lost; nothing may be thrown through the encoder.
        }
        return drawer.row(y);
    };
    QString error = target.format == PictureFormat::Jpeg
                        ? SaveJpegRows(width, height, rows, target.path)
                        : SaveBmpRows(width, height, rows, target.path);
    progress.end();
    return error;
}

// Which mode made the thread list; the plain run's list stays as it always was.
std::string ModeComment(const CliOptions& options) {
    if (!options.perceptual && !options.cleanConfetti) {
        return {};
    }
    return std::string("режим: ") + (options.perceptual ? "по восприятию" : "точный") +
           (options.cleanConfetti ? ", без одиночных крестиков" : "");
}

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
    // The summary is printed once the files are written: a console that has gone away (a closed
    // pipe) must not cost the results.
    std::ostringstream summary;
    summary << "Картинка: " << picture.width() << " x " << picture.height() << " пикселей\n"
            << "Схема: " << sizes.columnCount << " x " << sizes.rowCount << " (столбцов x строк)\n"
            << sizes.crossCountLabel << '\n'
            << sizes.widthLabel << '\n'
            << sizes.heightLabel << '\n';
    const auto printSummary = [&] {
        if (!options.quiet) {
            out << summary.str() << std::flush;
        }
    };
    if (generation.refusal()) {
        printSummary();
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
    summary << result.shadeLabel << '\n';
    if (result.tooManyShades) {
        err << ForConsole(kTooManyShadesWarning) << '\n';
    }

    const PatternData& pattern = result.pattern;
    // A chart that cannot be made (one symbol per thread) is refused before anything is written.
    if (!options.chart.isEmpty()) {
        if (const QString refusal = ChartRefusal(pattern); !refusal.isEmpty()) {
            printSummary();
            err << refusal.toStdString() << '\n';
            return kExitRefused;
        }
    }
    const Real crossWidth = ParseCommaReal(options.crossWidthText).value_or(1.7L);
    const Real crossHeight = ParseCommaReal(options.crossHeightText).value_or(1.7L);
    const DrawOptions drawOptions =
        DrawOptions::fromChecks(options.grid, options.symbols, options.texture, options.color);
    if (options.pattern || options.exact) {
        // Sizes are known before drawing; a bitmap that could not hold its picture is refused
        // before hours of drawing, as a matter of the sizes chosen.
        const auto drawer =
            NewPatternRowDrawer(pattern, pattern.columns, pattern.rows, drawOptions);
        const CellShape shape = DrawnCellShape(pattern, pattern.columns, pattern.rows);
        if (!FitsItsFile(options.pattern, drawer->size(), err) ||
            !FitsItsFile(options.exact, ExactImageSize(shape.columns, shape.rows), err)) {
            printSummary();
            return kExitRefused;
        }
        if (options.pattern && !options.exact) {
            const QString error = SaveStreamedPattern(*drawer, *options.pattern, progress);
            if (!error.isEmpty()) {
                err << error.toStdString() << '\n';
                return kExitFileError;
            }
        } else {
            QImage exactImage;
            QImage patternImage;
            progress.begin("Рисование", pattern.columns);
            DrawPattern(pattern, pattern.columns, pattern.rows, drawOptions, exactImage,
                        patternImage, [&](std::int32_t done) { progress.step(done); });
            progress.end();
            if (options.pattern && !Save(patternImage, *options.pattern, err)) {
                return kExitFileError;
            }
            if (!Save(exactImage, *options.exact, err)) {
                return kExitFileError;
            }
        }
    }
    if (options.key) {
        QImage keyImage;
        DrawKey(pattern, drawOptions, keyImage);
        if (!Save(keyImage, *options.key, err)) {
            return kExitFileError;
        }
    }
    ChartSettings chart;
    chart.paper = options.letterPaper ? QPageSize::Letter : QPageSize::A4;
    chart.cellMm = options.chartCellMm;
    chart.strands = options.strands;
    chart.colour = options.chartColour;
    ChartSubject subject;
    subject.title = QFileInfo(options.picture).fileName();
    subject.crossWidthMm = static_cast<double>(crossWidth);
    subject.crossHeightMm = static_cast<double>(crossHeight);
    if (!options.oxs.isEmpty()) {
        const QString error =
            SaveOxs(options.oxs, pattern,
                    OxsSubject{subject.title, subject.crossWidthMm, subject.crossHeightMm,
                               ChartStrands(chart, subject)});
        if (!error.isEmpty()) {
            err << error.toStdString() << '\n';
            return kExitFileError;
        }
    }
    if (!options.chart.isEmpty()) {
        const QString error = SaveChart(options.chart, pattern, subject, chart);
        if (!error.isEmpty()) {
            err << error.toStdString() << '\n';
            return kExitFileError;
        }
    }
    if (!options.threadsCsv.isEmpty()) {
        const std::string csv = ThreadListCsv(
            pattern, ThreadNeeds{crossWidth, crossHeight, ChartStrands(chart, subject)},
            ModeComment(options));
        const QString error = SaveFileBytes(
            QByteArray(csv.data(), static_cast<qsizetype>(csv.size())), options.threadsCsv);
        if (!error.isEmpty()) {
            err << error.toStdString() << '\n';
            return kExitFileError;
        }
    }
    printSummary();
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
