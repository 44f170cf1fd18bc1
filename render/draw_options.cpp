#include "render/draw_options.h"

namespace pelvano {

DrawOptions DrawOptions::fromChecks(bool grid, bool symbols, bool texture, bool color) {
    DrawOptions options;
    options.grid = grid;
    options.symbols = symbols;
    options.texture = texture;
    options.color = color;
    // Texture and symbols exclude each other, and the colour switch only matters for symbols.
    options.textureEnabled = !symbols;
    options.colorEnabled = symbols;
    return options;
}

} // namespace pelvano
