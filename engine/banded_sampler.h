#pragma once

#include "engine/generation.h"
#include "engine/generation_tuning.h"
#include "engine/palette.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <variant>

namespace pelvano {

// A generation run for a picture whose rows arrive from the top down, as a decoder writes them:
// a worker thread samples each row of cells as soon as the pixel rows under it are written, so
// sampling overlaps decoding. Every cell sums its pixels exactly as RunGeneration does, and the
// rest of the run is the same code, so the result is the same to the last bit.
class BandedSampler {
public:
    using Outcome = std::variant<GenerationRefusal, std::unique_ptr<BandedSampler>>;

    // Refuses as RunGeneration does, before anything is built. On success the worker is running
    // and waits for rows. `request.picture` must point at the raster the rows will be written
    // to and stay valid until Finish or destruction; its rows need not be written yet.
    static Outcome Start(const GenerationRequest& request, const GenerationTuning& tuning = {});

    // Stops the worker without finishing (the picture failed to arrive).
    ~BandedSampler();
    BandedSampler(const BandedSampler&) = delete;
    BandedSampler& operator=(const BandedSampler&) = delete;

    // Pixel rows 0..rows-1 are written and will not change. Call from the writing thread with
    // counts that only grow.
    void RowsReady(std::int32_t rows);

    // Marks every row as written, helps sample what is left and completes the run. `rowsDone`
    // is called from the calling thread with the cell rows sampled so far, ending with all.
    GenerationResult Finish(const std::function<void(std::int32_t rowsDone)>& rowsDone = {});

private:
    BandedSampler(const GenerationRequest& request, std::int32_t shadeLimit);
    void Work();
    // Takes the next unsampled cell row and samples it when its pixels are written; false when
    // none is left or the run was stopped.
    bool SampleNextRow(ThreadUsage& usage);

    struct Geometry;
    GenerationRequest request_;
    std::int32_t shadeLimit_;
    GenerationResult result_;
    std::unique_ptr<Geometry> geometry_;

    std::mutex mutex_;
    std::condition_variable rowsArrived_;
    std::int32_t readyRows_ = 0;
    std::int32_t nextRow_ = 0;
    std::atomic<std::int32_t> doneRows_{0};
    bool stop_ = false;
    std::exception_ptr failure_;
    ThreadUsage workerUsage_{};
    std::thread worker_;
};

} // namespace pelvano
