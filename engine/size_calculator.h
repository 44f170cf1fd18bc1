#pragma once

#include "engine/integer_text.h" // ParseInteger, InvalidIntegerMessage
#include "engine/real.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelvano {

// The four embroidery size fields. Exactly one of them (the master) is typed by the user; the
// calculator derives the other three from it, the cross size and the picture's aspect ratio.
// The numeric values match the window's master index: 1 width, 2 height, 3 columns, 4 rows.
enum class SizeField { Width = 1, Height = 2, Columns = 3, Rows = 4 };

// The texts of the six size fields as the window shows them. Sizes are integers; the cross sizes
// are millimetres with a comma as decimal separator ("1,7").
struct SizeTexts {
    std::string width;   // embroidery width, mm
    std::string height;  // embroidery height, mm
    std::string columns; // crosses across
    std::string rows;    // crosses down
    std::string crossWidth;
    std::string crossHeight;
};

struct SizeCalculation {
    // The field texts written, in the order they were written. Each step reads the text the
    // previous step wrote, so the window must apply these in order even when `error` is set:
    // writes made before a failing step stay.
    std::vector<std::pair<SizeField, std::string>> writes;
    // The conversion error that stopped the calculation ("'x' is not a valid integer value"),
    // or nothing. When set, the steps after it did not run and nothing below is published.
    std::optional<std::string> error;

    // Published only when `error` is empty.
    std::int32_t columnCount = 0;
    std::int32_t rowCount = 0;
    Real crossWidth = 0;
    Real crossHeight = 0;
    std::string crossCountLabel; // "Крестиков: 7.744"
    std::string widthLabel;  // "Ширина: 150 мм", the width the whole crosses really cover
    std::string heightLabel; // "Высота: 150 мм"

    bool ok() const { return !error; }
};

// Derives the non-master sizes from the master and publishes the counts and the summary.
// `masterIndex` is the master field's number (1 width, 2 height, 3 columns, 4 rows); any other
// number derives nothing and only publishes what the fields already say. `pictureAspect` is the
// picture's width over its height and must be positive.
SizeCalculation RecalcSizes(int masterIndex, const SizeTexts& texts, Real pictureAspect);

// Dots between groups of three digits, counted from the right: "7744" -> "7.744". A leading
// minus sign is kept outside the groups.
std::string GroupDigits(std::string text);

// The shortest decimal form with at most 15 significant digits and a comma: 1.7 -> "1,7",
// 1.0 -> "1", 0.01 -> "0,01".
std::string FormatCommaReal(Real value);

// Reads a comma decimal: digits, optionally a comma and more digits. Either part may be empty
// and counts as 0 ("1," -> 1, "," -> 0, ",5" -> 0.5). No sign, spaces or exponent; an empty
// text is not a number.
std::optional<Real> ParseCommaReal(std::string_view text);

// The runtime's conversion error for a text that is not a comma decimal.
std::string NotARealMessage(std::string_view text);

// Cross sizes are kept in hundredths of a millimetre, 1..1000 (0.01 mm to 10 mm), so the
// divisions by the cross size never divide by zero.
inline constexpr std::int32_t kMinCrossHundredths = 1;
inline constexpr std::int32_t kMaxCrossHundredths = 1000;

// The text a cross field shows for a size in hundredths of a millimetre: 170 -> "1,7".
std::string CrossSizeText(std::int32_t hundredths);

struct CrossSizeNormalisation {
    std::string text;                 // what the field must show afterwards
    std::int32_t hundredths = 0;      // the spin button's position, 1..1000
    std::optional<std::string> error; // the text was not a number; text and hundredths unused
    bool ok() const { return !error; }
};

// Brings a typed cross size into range: an empty field becomes "0,01", any other text is
// rounded to hundredths and clamped to 0.01..10 mm ("25" -> "10", ",5" -> "0,5", "1," -> "1").
CrossSizeNormalisation NormaliseCrossSize(std::string_view text);

// A cross size still being typed, which normalising now would turn into a different number and so
// cut off what the user is about to type: a text ending in the decimal comma ("2," on the way to
// "2,5", a lone ","), a comma followed by a single 0 ("1,0" on the way to "1,05") and a zero
// without a comma ("0" on the way to "0,75"). The field keeps such a text as it stands and the
// size in use stays as it was until the next character or leaving the field completes it.
bool IsUnfinishedCrossSize(std::string_view text);

} // namespace pelvano
