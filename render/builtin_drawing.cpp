#include "render/builtin_images.h"
#include "render/key_image.h"
#include "render/pattern_images.h"
#include "render/raster_budget.h"

#include <cstdint>

namespace pelvano {

CellSources BuiltinCellSources() {
    return {SymbolSheet(), StitchTile()};
}

void DrawPattern(const PatternData& data, std::int32_t columns, std::int32_t rows,
                 const DrawOptions& options, QImage& exactImage, QImage& patternImage,
                 const std::function<void(std::int32_t)>& columnDone) {
    // An unknown amount of free memory (0) must not refuse every drawing.
    const std::uint64_t available = AvailableMemoryBytes();
    const std::uint64_t budget = available != 0 ? available : UINT64_MAX;
    DrawPatternFrom(BuiltinCellSources(), budget, data, columns, rows, options, exactImage,
                    patternImage, columnDone);
}

std::unique_ptr<PatternRowDrawer> NewPatternRowDrawer(const PatternData& data, std::int32_t columns,
                                                      std::int32_t rows,
                                                      const DrawOptions& options) {
    const std::uint64_t available = AvailableMemoryBytes();
    const std::uint64_t budget = available != 0 ? available : UINT64_MAX;
    return std::make_unique<PatternRowDrawer>(BuiltinCellSources(), budget, data, columns, rows,
                                              options);
}

void DrawKey(const PatternData& data, const DrawOptions& options, QImage& keyImage) {
    DrawKeyFrom(BuiltinCellSources(), data, options, keyImage);
}

} // namespace pelvano
