#include "render_test_support.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace pelvano::test {

namespace {

// Drawing text needs the font database, which lives in a QGuiApplication.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "test_render";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace

CellSources StandInSources() {
    QImage sheet(180, 216, QImage::Format_BGR888);
    for (int y = 0; y < sheet.height(); ++y) {
        for (int x = 0; x < sheet.width(); ++x) {
            const int glyph = (y / 18) * 10 + x / 18;
            const bool black = GlyphPixelIsBlack(glyph, x % 18, y % 18);
            sheet.setPixel(x, y, black ? 0xFF000000u : 0xFFFFFFFFu);
        }
    }
    QImage tile(18, 18, QImage::Format_BGR888);
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 18; ++x) {
            tile.setPixel(x, y, TilePixelIsSilver(x, y) ? 0xFFC0C0C0u : 0xFFFFFFFFu);
        }
    }
    return {sheet, tile};
}

std::uint32_t PixelAt(const QImage& image, int x, int y) {
    const std::uint8_t* p = image.constScanLine(y) + 3 * x;
    return Rgb(p[2], p[1], p[0]);
}

PatternData MakePattern(std::int32_t columns, std::int32_t rows,
                        const std::vector<std::uint32_t>& colors) {
    PatternData data;
    data.columns = columns;
    data.rows = rows;
    for (std::int32_t c = 0; c < columns; ++c) {
        for (std::int32_t r = 0; r < rows; ++r) {
            const std::uint32_t color = colors[static_cast<std::size_t>(c + r) % colors.size()];
            data.patternGrid.push_back(color);
            data.exactGrid.push_back(static_cast<std::uint8_t>(c));       // blue
            data.exactGrid.push_back(static_cast<std::uint8_t>(r));       // green
            data.exactGrid.push_back(static_cast<std::uint8_t>(c + 100)); // red
            if (std::find(data.usedColors.begin(), data.usedColors.end(), color) ==
                data.usedColors.end()) {
                data.usedColors.push_back(color);
            }
        }
    }
    data.shadeCount = static_cast<std::int32_t>(data.usedColors.size());
    return data;
}

void SaveForReview(const QImage& image, const std::string& name) {
    image.save(QString::fromStdString(std::string(PELVANO_TEST_OUTPUT_DIR) + "/" + name));
}

} // namespace pelvano::test
