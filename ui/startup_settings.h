#pragma once

#include <QString>
#include <cstdint>

namespace pelvano {

// Everything the main window restores at start-up, with the values of a first run. The settings
// store fills it from the user's saved settings; without stored settings these defaults apply.
struct StartupSettings {
    QString shadeLimit = QStringLiteral("30"); // text of Edit4
    std::int32_t crossWidthHundredths = 170;   // position of UpDown1
    std::int32_t crossHeightHundredths = 170;  // position of UpDown2
    std::int32_t windowTop = 80;
    std::int32_t windowLeft = 80;
    std::int32_t windowWidth = 700;
    std::int32_t windowHeight = 570;
    std::int32_t printerIndex = -1;                   // -1: the system's default printer
    std::int32_t masterIndex = 1;                     // 1 width, 2 height, 3 columns, 4 rows
    QString embroideryWidth = QStringLiteral("150");  // Edit2
    QString embroideryHeight = QStringLiteral("150"); // Edit1
    QString columns = QStringLiteral("150");          // Edit6
    QString rows = QStringLiteral("150");             // Edit5
    bool fitToWindow = false; // RadioButton5; natural size ("1:1") otherwise
    QString saveFolder;
    QString openFolder;
    bool limitShades = true;  // CheckBox1
    bool drawGrid = true;     // CheckBox2
    bool drawSymbols = true;  // CheckBox3
    bool realStitches = true; // CheckBox4
    bool showColor = true;    // CheckBox5
    bool maximized = false;
};

} // namespace pelvano
