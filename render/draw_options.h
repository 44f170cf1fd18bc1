#pragma once

namespace pelvano {

// The four drawing options of the main window, as the renderers need them.
struct DrawOptions {
    bool grid = true;            // "Рисовать сетку"
    bool symbols = true;         // "Рисовать значки"
    bool texture = true;         // "Реалистичные стежки" (checked state)
    bool color = true;           // "Отображать цвет" (checked state)
    bool textureEnabled = false; // that box is enabled exactly when symbols are off
    bool colorEnabled = true;    // that box is enabled exactly when symbols are on

    // The four check states with the window's enabling rule applied.
    static DrawOptions fromChecks(bool grid, bool symbols, bool texture, bool color);
};

} // namespace pelvano
