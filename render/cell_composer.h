#pragma once

#include "render/builtin_images.h"
#include "render/draw_options.h"

#include <QImage>
#include <cstddef>
#include <cstdint>

namespace pelvano {

inline constexpr int kCellSize = 18;  // pixels across and down of one pattern cell
inline constexpr int kStampSize = 17; // symbols and texture touch only this top-left part
inline constexpr int kCellRowBytes = kCellSize * 3;
inline constexpr int kCellBytes = kCellSize * kCellRowBytes;
inline constexpr std::uint32_t kWhite = 0x00FFFFFF;

// The two small pictures every cell is drawn from.
struct CellSources {
    QImage symbolSheet; // 180 x 216, black glyphs on white, 18 x 18 cells
    QImage stitchTile;  // 18 x 18, white with a silver stitch outline
};

// The sources built into the program.
CellSources BuiltinCellSources();

// Grey level that decides between a white and a black symbol: 0.3 R + 0.59 G + 0.11 B in extended
// precision, rounded to nearest with halves to even (pure red, 76.5, gives 76).
int SymbolLuminance(std::uint32_t color);

// Symbols are drawn white below this luminance, black from it on.
inline constexpr int kBlackSymbolLuminance = 195;

// The cell's background: the thread colour, or white when symbols are shown without colour.
std::uint32_t CellFillColor(std::uint32_t threadColor, const DrawOptions& options);

// Threads past the last glyph share it.
int GlyphNumber(std::size_t symbolNumber);

// Composes cells and key swatches. The sources are converted once to 24-bit BGR so that every
// stamp is a plain bytewise AND / OR-NOT over the rows.
class CellComposer {
public:
    // Throws RenderError when a source picture is missing or too small.
    CellComposer(const CellSources& sources, const DrawOptions& options);

    // Writes the 18 x 18 cell of a thread colour with symbol number `symbolNumber` into rows of
    // `stride` bytes starting at `dest`, three bytes per pixel (blue, green, red). Key swatches
    // pass `allowTexture` false: the stitch texture belongs to the pattern only.
    void compose(std::uint32_t threadColor, std::size_t symbolNumber, bool allowTexture,
                 std::uint8_t* dest, std::ptrdiff_t stride) const;

    QImage composeImage(std::uint32_t threadColor, std::size_t symbolNumber,
                        bool allowTexture) const;

private:
    QImage sheet_;
    QImage tile_;
    DrawOptions options_;
};

} // namespace pelvano
