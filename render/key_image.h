#pragma once

#include "engine/pattern_data.h"
#include "render/cell_composer.h"
#include "render/draw_options.h"

#include <QImage>

namespace pelvano {

inline constexpr int kKeyWidth = 633, kKeyHeight = 895;

// Layout of the key: threads run down a column of 40 rows, then on to the next column.
inline constexpr int kKeyRowsPerColumn = 40;
inline constexpr int kKeyLeft = 20, kKeyTop = 10;
inline constexpr int kKeyColumnPitch = 123, kKeyRowPitch = 22;
inline constexpr int kKeyDashLeft = 24, kKeyDashRight = 31, kKeyDashRow = 8; // right excluded
inline constexpr int kKeyTextLeft = 35, kKeyTextTop = 2;

// Top-left of the swatch of the thread at position `index` of the used colours.
QPoint KeySwatchOrigin(std::size_t index);

// 633 x 895, Format_BGR888: a swatch, a dash and the catalogue name of every used thread. Threads
// whose rows fall beyond the image (from the 201st on) are left out. Throws RenderError when a
// shown colour is not a palette thread; the key is then left as it was.
void DrawKey(const PatternData& data, const DrawOptions& options, QImage& keyImage);

void DrawKeyFrom(const CellSources& sources, const PatternData& data, const DrawOptions& options,
                 QImage& keyImage);

} // namespace pelvano
