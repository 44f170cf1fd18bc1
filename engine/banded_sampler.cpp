#include "engine/banded_sampler.h"

#include "engine/cell_sampling.h"
#include "engine/generation_steps.h"

#include <system_error>

namespace pelvano {

struct BandedSampler::Geometry {
    std::vector<AxisSpan> columns;
    std::vector<AxisSpan> rows;
    Real area = 0;
};

BandedSampler::Outcome BandedSampler::Start(const GenerationRequest& request,
                                            const GenerationTuning& tuning) {
    auto checked = CheckGenerationRequest(request, tuning);
    if (auto* refusal = std::get_if<GenerationRefusal>(&checked)) {
        return std::move(*refusal);
    }
    std::unique_ptr<BandedSampler> sampler(
        new BandedSampler(request, std::get<std::int32_t>(checked)));
    try {
        sampler->worker_ = std::thread([s = sampler.get()] { s->Work(); });
    } catch (const std::system_error&) {
        // Without a worker Finish samples every row itself: slower, the same result.
    }
    return sampler;
}

BandedSampler::BandedSampler(const GenerationRequest& request, std::int32_t shadeLimit)
    : request_(request), shadeLimit_(shadeLimit), geometry_(std::make_unique<Geometry>()) {
    const RasterView& picture = request.picture;
    PrepareGrids(result_.pattern, request.columnCount, request.rowCount);
    geometry_->columns = CellSpans(picture.width, request.columnCount);
    geometry_->rows = CellSpans(picture.height, request.rowCount);
    geometry_->area =
        CellStep(picture.width, request.columnCount) * CellStep(picture.height, request.rowCount);
}

BandedSampler::~BandedSampler() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    rowsArrived_.notify_all();
    if (worker_.joinable()) {
        worker_.join();
    }
}

void BandedSampler::RowsReady(std::int32_t rows) {
    {
        const std::lock_guard lock(mutex_);
        if (rows <= readyRows_) {
            return;
        }
        readyRows_ = rows;
    }
    rowsArrived_.notify_all();
}

void BandedSampler::Work() {
    try {
        while (SampleNextRow(workerUsage_)) {
        }
    } catch (...) {
        {
            const std::lock_guard lock(mutex_);
            failure_ = std::current_exception();
            stop_ = true;
        }
        rowsArrived_.notify_all();
    }
}

bool BandedSampler::SampleNextRow(ThreadUsage& usage) {
    std::int32_t y = 0;
    {
        std::unique_lock lock(mutex_);
        if (stop_ || nextRow_ >= request_.rowCount) {
            return false;
        }
        y = nextRow_++;
        const std::int32_t needed = geometry_->rows[static_cast<std::size_t>(y)].last + 1;
        rowsArrived_.wait(lock, [&] { return stop_ || readyRows_ >= needed; });
        if (stop_) {
            return false;
        }
    }
    const RasterView& picture = request_.picture;
    const AxisSpan& row = geometry_->rows[static_cast<std::size_t>(y)];
    PatternData& pattern = result_.pattern;
    // Cells of one row are in different columns, so no two threads ever write the same cell.
    for (std::int32_t x = 0; x < pattern.columns; ++x) {
        StoreCell(pattern, pattern.cellIndex(x, y),
                  SampleCell(picture, geometry_->columns[static_cast<std::size_t>(x)], row,
                             geometry_->area),
                  usage);
    }
    ++doneRows_;
    return true;
}

GenerationResult BandedSampler::Finish(const std::function<void(std::int32_t)>& rowsDone) {
    RowsReady(request_.picture.height);
    ThreadUsage ownUsage{};
    while (SampleNextRow(ownUsage)) {
        if (rowsDone) {
            rowsDone(doneRows_);
        }
    }
    if (worker_.joinable()) {
        worker_.join();
    }
    if (failure_) {
        std::rethrow_exception(failure_);
    }
    ThreadUsage& usage = result_.pattern.threadUsage;
    for (std::size_t i = 0; i < usage.size(); ++i) {
        usage[i] = workerUsage_[i] + ownUsage[i];
    }
    CompleteGeneration(result_, request_, shadeLimit_);
    if (rowsDone) {
        rowsDone(request_.rowCount);
    }
    return std::move(result_);
}

} // namespace pelvano
