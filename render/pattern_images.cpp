#include "render/pattern_images.h"

#include "render/grid_geometry.h"
#include "render/raster_allocation.h"
#include "render/raster_budget.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pelvano {

namespace {

void CheckGridsMatchShape(const PatternData& data) {
    const auto cells = static_cast<std::size_t>(std::max(data.columns, 0)) *
                       static_cast<std::size_t>(std::max(data.rows, 0));
    if (data.columns < 0 || data.rows < 0 || data.patternGrid.size() != cells ||
        data.exactGrid.size() != cells * 3) {
        throw RenderError("Данные схемы повреждены: размер сетки не совпадает с числом "
                          "столбцов и строк. Сгенерируйте схему заново.");
    }
}

// Symbol numbers by colour: the first position of each colour in the list of used colours.
class SymbolNumbers {
public:
    explicit SymbolNumbers(const std::vector<std::uint32_t>& usedColors) {
        positions_.reserve(usedColors.size());
        for (std::size_t i = 0; i < usedColors.size(); ++i) {
            positions_.emplace(usedColors[i], i); // keeps the first of repeated colours
        }
    }

    // Neighbouring cells mostly share a thread, so the last answer is kept.
    bool find(std::uint32_t color, std::size_t& position) {
        if (!hasLast_ || color != lastColor_) {
            const auto it = positions_.find(color);
            if (it == positions_.end()) {
                return false;
            }
            hasLast_ = true;
            lastColor_ = color;
            lastPosition_ = it->second;
        }
        position = lastPosition_;
        return true;
    }

private:
    std::unordered_map<std::uint32_t, std::size_t> positions_;
    bool hasLast_ = false;
    std::uint32_t lastColor_ = 0;
    std::size_t lastPosition_ = 0;
};

// Every cell of one thread looks the same, so each is composed once and then copied.
class ComposedCells {
public:
    ComposedCells(const CellComposer& composer, const std::vector<std::uint32_t>& usedColors)
        : composer_(composer), usedColors_(usedColors), slots_(usedColors.size(), -1) {}

    const std::uint8_t* cell(std::size_t position) {
        if (slots_[position] < 0) {
            slots_[position] = static_cast<std::int64_t>(pixels_.size());
            pixels_.resize(pixels_.size() + kCellBytes);
            composer_.compose(usedColors_[position], position, true,
                              pixels_.data() + slots_[position], kCellRowBytes);
        }
        return pixels_.data() + slots_[position];
    }

private:
    const CellComposer& composer_;
    const std::vector<std::uint32_t>& usedColors_;
    std::vector<std::int64_t> slots_;
    std::vector<std::uint8_t> pixels_;
};

std::string ColorText(std::uint32_t color) {
    return "(" + std::to_string(color & 0xFF) + ", " + std::to_string((color >> 8) & 0xFF) + ", " +
           std::to_string((color >> 16) & 0xFF) + ")";
}

// Refuses, before anything is drawn, a cell whose colour has no symbol number.
void CheckColorsListed(const PatternData& data, CellShape shape, SymbolNumbers& numbers) {
    std::size_t position = 0;
    for (std::int32_t i = 0; i < shape.columns; ++i) {
        for (std::int32_t j = 0; j < shape.rows; ++j) {
            const std::uint32_t color = data.patternGrid[data.cellIndex(i, j)];
            if (!numbers.find(color, position)) {
                throw RenderError("Данные схемы повреждены: цвет " + ColorText(color) +
                                  " отсутствует в списке цветов схемы. Сгенерируйте схему "
                                  "заново.");
            }
        }
    }
}

bool CanRedrawInPlace(const QImage& image, PixelSize size) {
    return image.format() == QImage::Format_BGR888 && image.width() == size.width &&
           image.height() == size.height;
}

// An image of exactly this size to draw into: the current one when it fits, which saves an
// allocation on every option change, or a new one. Throws when the memory cannot be had.
QImage TargetImage(const QImage& current, PixelSize size) {
    if (CanRedrawInPlace(current, size)) {
        return current;
    }
    QImage image = NewBgrRaster(static_cast<int>(size.width), static_cast<int>(size.height));
    if (image.isNull()) {
        throw RenderError("Не хватает памяти для изображения схемы " + std::to_string(size.width) +
                          " × " + std::to_string(size.height) +
                          " точек. Уменьшите число столбцов или строк.");
    }
    return image;
}

// Rows are padded to 4 bytes; the padding is cleared so equal drawings are equal byte for byte.
void ClearRowPadding(QImage& image, std::int64_t usedBytes) {
    const qsizetype padding = image.bytesPerLine() - usedBytes;
    if (padding <= 0) {
        return;
    }
    for (int y = 0; y < image.height(); ++y) {
        std::memset(image.scanLine(y) + usedBytes, 0, static_cast<std::size_t>(padding));
    }
}

// Direct access to the rows of a 24-bit image.
struct Rows {
    std::uint8_t* bits;
    std::size_t stride;

    Rows(std::uint8_t* b, std::size_t s) : bits(b), stride(s) {}
    explicit Rows(QImage& image)
        : bits(image.bits()), stride(static_cast<std::size_t>(image.bytesPerLine())) {}
    std::uint8_t* at(std::int64_t x, std::int64_t y) const {
        return bits + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3;
    }
};

void WriteExactBlock(const Rows& exact, std::int32_t column, std::int32_t row,
                     const std::uint8_t* bgr) {
    std::uint8_t line[kExactCellSize * 3];
    for (int x = 0; x < kExactCellSize; ++x) {
        std::memcpy(line + 3 * x, bgr, 3);
    }
    std::uint8_t* out =
        exact.at(std::int64_t{kExactCellSize} * column, std::int64_t{kExactCellSize} * row);
    for (int y = 0; y < kExactCellSize; ++y, out += exact.stride) {
        std::memcpy(out, line, sizeof line);
    }
}

SymbolNumbers ListedSymbolNumbers(const PatternData& data, CellShape shape) {
    SymbolNumbers numbers(data.usedColors);
    CheckColorsListed(data, shape, numbers);
    return numbers;
}

} // namespace

// The cells of the pattern image, for the whole image and for bands of its rows alike.
class PatternCellPainter {
public:
    // Refuses a colour without a symbol number before the composer is built.
    PatternCellPainter(const CellSources& sources, const PatternData& data, CellShape shape,
                       const DrawOptions& options)
        : data_(data), grid_(options.grid), numbers_(ListedSymbolNumbers(data, shape)),
          composer_(sources, options), cells_(composer_, data.usedColors) {}

    // Composes every cell up front, so that painting afterwards never allocates.
    void composeAll() {
        for (std::size_t position = 0; position < data_.usedColors.size(); ++position) {
            cells_.cell(position);
        }
    }

    // Copies the pixel rows of cell (i, j) that lie in image rows bandTop..bandBottom-1 into
    // `band`, whose first row is image row bandTop.
    void paint(std::int32_t i, std::int32_t j, const Rows& band, std::int64_t bandTop,
               std::int64_t bandBottom) {
        std::size_t position = 0;
        numbers_.find(data_.patternGrid[data_.cellIndex(i, j)], position);
        const std::uint8_t* cell = cells_.cell(position);
        const std::int64_t x = CellOffset(i, grid_);
        const std::int64_t y = CellOffset(j, grid_);
        const std::int64_t last = std::min(y + kCellSize, bandBottom);
        for (std::int64_t row = std::max(y, bandTop); row < last; ++row) {
            std::memcpy(band.at(x, row - bandTop), cell + (row - y) * kCellRowBytes, kCellRowBytes);
        }
    }

private:
    const PatternData& data_;
    bool grid_;
    SymbolNumbers numbers_;
    CellComposer composer_;
    ComposedCells cells_;
};

CellShape DrawnCellShape(const PatternData& data, std::int32_t columns, std::int32_t rows) {
    CellShape shape{std::clamp(columns, 0, std::max(data.columns, 0)),
                    std::clamp(rows, 0, std::max(data.rows, 0))};
    if (shape.empty()) {
        return {};
    }
    return shape;
}

void DrawPatternFrom(const CellSources& sources, std::uint64_t memoryBudget,
                     const PatternData& data, std::int32_t columns, std::int32_t rows,
                     const DrawOptions& options, QImage& exactImage, QImage& patternImage,
                     const std::function<void(std::int32_t)>& columnDone) {
    CheckGridsMatchShape(data);
    const CellShape shape = DrawnCellShape(data, columns, rows);
    if (shape.empty()) {
        // Nothing to show: both images become empty, as before the first run.
        exactImage = QImage();
        patternImage = QImage();
        return;
    }

    PatternCellPainter painter(sources, data, shape, options);

    const PixelSize exactSize = ExactImageSize(shape.columns, shape.rows);
    const PixelSize patternSize = PatternImageSize(shape.columns, shape.rows, options.grid);
    // An image redrawn at its current size needs no new memory.
    std::uint64_t budget = memoryBudget;
    for (const auto& [image, size] :
         {std::pair{&exactImage, exactSize}, {&patternImage, patternSize}}) {
        const std::uint64_t reused = CanRedrawInPlace(*image, size) ? RasterBytes(size) : 0;
        budget = budget > UINT64_MAX - reused ? UINT64_MAX : budget + reused;
    }
    CheckRastersFit({exactSize, patternSize}, budget);
    QImage exact = TargetImage(exactImage, exactSize);
    QImage pattern = TargetImage(patternImage, patternSize);
    // Drop the caller's handles so that an image redrawn in place is written without a copy.
    exactImage = QImage();
    patternImage = QImage();
    const Rows exactRows(exact);
    const Rows patternRows(pattern);
    if (exactRows.bits == nullptr || patternRows.bits == nullptr) {
        // Only possible when a copy held elsewhere forces a detach that finds no memory.
        throw RenderError("Не хватает памяти для изображения схемы. Уменьшите число столбцов "
                          "или строк.");
    }

    ClearRowPadding(exact, exactSize.width * 3);
    if (options.grid) {
        // The black left between the cells forms the grid lines and the frame.
        std::memset(patternRows.bits, 0, static_cast<std::size_t>(pattern.sizeInBytes()));
    } else {
        ClearRowPadding(pattern, patternSize.width * 3);
    }

    for (std::int32_t i = 0; i < shape.columns; ++i) {
        for (std::int32_t j = 0; j < shape.rows; ++j) {
            painter.paint(i, j, patternRows, 0, patternSize.height);
            WriteExactBlock(exactRows, i, j, &data.exactGrid[data.cellIndex(i, j) * 3]);
        }
        if (columnDone) {
            columnDone(i + 1);
        }
    }
    exactImage = std::move(exact);
    patternImage = std::move(pattern);
}

PatternRowDrawer::PatternRowDrawer(const CellSources& sources, std::uint64_t memoryBudget,
                                   const PatternData& data, std::int32_t columns, std::int32_t rows,
                                   const DrawOptions& options) {
    CheckGridsMatchShape(data);
    shape_ = DrawnCellShape(data, columns, rows);
    if (shape_.empty()) {
        return;
    }
    grid_ = options.grid;
    painter_ = std::make_unique<PatternCellPainter>(sources, data, shape_, options);
    size_ = PatternImageSize(shape_.columns, shape_.rows, options.grid);
    // Refused exactly where the whole images would be, though far less memory is needed here.
    CheckRastersFit({ExactImageSize(shape_.columns, shape_.rows), size_}, memoryBudget);
    painter_->composeAll();
    rowBytes_ = static_cast<std::size_t>(size_.width) * 3;
    band_.resize(rowBytes_ * kBandRows);
}

PatternRowDrawer::~PatternRowDrawer() = default;

const std::uint8_t* PatternRowDrawer::row(std::int64_t y) {
    if (y < bandTop_ || y >= bandTop_ + kBandRows) {
        drawBand(y - y % kBandRows);
    }
    return band_.data() + static_cast<std::size_t>(y - bandTop_) * rowBytes_;
}

void PatternRowDrawer::drawBand(std::int64_t top) {
    const std::int64_t bottom = std::min(top + kBandRows, size_.height);
    if (grid_) {
        // The black left between the cells forms the grid lines and the frame.
        std::memset(band_.data(), 0, band_.size());
    }
    const Rows band{band_.data(), rowBytes_};
    // Only the cell rows that reach into the band; bands usually come in order, so the search
    // starts where the last one ended.
    if (top < bandTop_) {
        firstCellRow_ = 0;
    }
    while (firstCellRow_ < shape_.rows && CellOffset(firstCellRow_, grid_) + kCellSize <= top) {
        ++firstCellRow_;
    }
    for (std::int32_t j = firstCellRow_; j < shape_.rows && CellOffset(j, grid_) < bottom; ++j) {
        for (std::int32_t i = 0; i < shape_.columns; ++i) {
            painter_->paint(i, j, band, top, bottom);
        }
    }
    bandTop_ = top;
}

} // namespace pelvano
