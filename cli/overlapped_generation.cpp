#include "cli/overlapped_generation.h"

#include "engine/generation_steps.h"
#include "engine/generation_tuning.h"

#include <new>
#include <utility>

namespace pelvano {
namespace {

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

} // namespace

LoadObserver OverlappedGeneration::observer() {
    return LoadObserver{[this](const std::shared_ptr<const QImage>& picture) { start(picture); },
                        [this](std::int32_t rows) {
                            if (sampler_) {
                                sampler_->RowsReady(rows);
                            }
                        }};
}

void OverlappedGeneration::checkStarted(const QImage& picture) {
    if (failure_) {
        std::rethrow_exception(failure_);
    }
    if (!sizes_) {
        start(std::make_shared<const QImage>(picture));
        if (sampler_) {
            sampler_->RowsReady(picture.height());
        }
        if (failure_) {
            std::rethrow_exception(failure_);
        }
    }
}

GenerationResult OverlappedGeneration::finish(const std::function<void(std::int32_t)>& rowsDone) {
    if (wholePicture_) {
        // The caller counts rows; this run reports columns.
        const std::int64_t columns = wholePicture_->columnCount;
        const std::int64_t rows = wholePicture_->rowCount;
        GenerationOutcome outcome = RunGeneration(*wholePicture_, [&](std::int32_t done) {
            if (rowsDone) {
                rowsDone(static_cast<std::int32_t>(done * rows / columns));
            }
        });
        release();
        // The request passed the same checks at the start; only the memory the grids may take
        // can have changed since.
        if (auto* result = std::get_if<GenerationResult>(&outcome)) {
            return std::move(*result);
        }
        throw std::bad_alloc();
    }
    GenerationResult result = sampler_->Finish(rowsDone);
    release();
    return result;
}

void OverlappedGeneration::start(const std::shared_ptr<const QImage>& picture) {
    try {
        raster_ = picture;
        const RasterView view = ToRasterView(*picture);
        // As PictureAspect computes it from the finished image.
        const Real aspect =
            view.height > 0 ? static_cast<Real>(view.width) / static_cast<Real>(view.height) : 1.0L;
        sizes_ = RecalcSizes(static_cast<int>(options_.master), TextsFor(options_), aspect);
        if (!sizes_->ok()) {
            return;
        }
        GenerationRequest request;
        request.picture = view;
        request.columnCount = sizes_->columnCount;
        request.rowCount = sizes_->rowCount;
        request.shadeLimitText = options_.shadeLimitText;
        request.limitShades = options_.limitShades;
        request.windowState = 1;
        request.perceptual = options_.perceptual;
        request.cleanConfetti = options_.cleanConfetti;
        if (request.perceptual) {
            auto checked = CheckGenerationRequest(request, GenerationTuning{});
            if (auto* refusal = std::get_if<GenerationRefusal>(&checked)) {
                refusal_ = std::move(*refusal);
            } else {
                wholePicture_ = request;
            }
            return;
        }
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

void OverlappedGeneration::release() {
    sampler_.reset(); // stops and joins the worker first
    wholePicture_.reset();
    raster_.reset();
}

} // namespace pelvano
