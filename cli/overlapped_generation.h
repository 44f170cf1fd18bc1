#pragma once

#include "cli/cli_options.h"
#include "engine/banded_sampler.h"
#include "engine/size_calculator.h"
#include "io/picture_input.h"

#include <QImage>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

namespace pelvano {

// Sizes and sampling start as soon as the decoder knows the picture's size, and the cells are
// sampled on a second thread while the rows are still being decoded. The perceptual run is
// not sampled in bands: it is checked at the start and run on the whole picture at the end.
//
// The sampler reads the raster the decoder writes. This object holds a share of that raster
// for as long as the sampler exists and stops and joins the sampler before letting the raster
// go, so a decode that fails at any point cannot free rows that are still being read.
class OverlappedGeneration {
public:
    explicit OverlappedGeneration(const CliOptions& options) : options_(options) {}
    ~OverlappedGeneration() { release(); }
    OverlappedGeneration(const OverlappedGeneration&) = delete;
    OverlappedGeneration& operator=(const OverlappedGeneration&) = delete;

    // To hand to the loader.
    LoadObserver observer();

    // After a successful load: rethrows what went wrong inside the decoder's callback, and
    // starts from the whole picture should a loader not have reported it.
    void checkStarted(const QImage& picture);

    const SizeCalculation& sizes() const { return *sizes_; }
    const std::optional<GenerationRefusal>& refusal() const { return refusal_; }

    // Completes the run, then lets go of the sampler and the raster.
    GenerationResult finish(const std::function<void(std::int32_t)>& rowsDone);

private:
    void start(const std::shared_ptr<const QImage>& picture);
    void release();

    const CliOptions& options_;
    std::optional<SizeCalculation> sizes_;
    std::optional<GenerationRefusal> refusal_;
    std::shared_ptr<const QImage> raster_;
    std::unique_ptr<BandedSampler> sampler_;
    std::optional<GenerationRequest> wholePicture_; // the perceptual run, once checked
    std::exception_ptr failure_;
};

} // namespace pelvano
