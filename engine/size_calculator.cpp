#include "engine/size_calculator.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace pelvano {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Built by appending: GCC 12 warns wrongly (-Wrestrict) about "'" + std::string(...) at -O3.
std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '\'';
    quoted += text;
    quoted += '\'';
    return quoted;
}

// A conversion error stops the calculation; it travels up as this exception inside this file
// only, so the steps read like the window's sequence of field reads and writes.
struct StepFailed {
    std::string message;
};

// RoundHalfUp for a value headed into an integer field. A value outside 32 bits (a huge pasted
// size over a tiny cross) is refused instead of wrapping into a wrong count.
std::int32_t RoundToField(Real x) {
    constexpr Real kLow = -2147483648.0L;
    constexpr Real kHigh = 2147483647.0L;
    if (!(x > kLow && x < kHigh)) {
        throw StepFailed{Quoted(FormatCommaReal(x)) + " is out of range"};
    }
    return RoundHalfUp(x);
}

// The fields as the calculation sees them: every read parses the current text, every write
// replaces it and is recorded for the window.
class Fields {
public:
    explicit Fields(const SizeTexts& texts) : texts_(texts) {}

    Real integer(SizeField field) const {
        const std::string& text = textOf(field);
        if (auto value = ParseInteger(text)) {
            return static_cast<Real>(*value);
        }
        throw StepFailed{InvalidIntegerMessage(text)};
    }

    static Real real(const std::string& text) {
        if (auto value = ParseCommaReal(text)) {
            return *value;
        }
        throw StepFailed{NotARealMessage(text)};
    }
    Real crossWidth() const { return real(texts_.crossWidth); }
    Real crossHeight() const { return real(texts_.crossHeight); }

    void write(SizeField field, Real value, SizeCalculation& out) {
        std::string text = std::to_string(RoundToField(value));
        textOf(field) = text;
        out.writes.emplace_back(field, std::move(text));
    }

private:
    const std::string& textOf(SizeField field) const {
        switch (field) {
        case SizeField::Width:
            return texts_.width;
        case SizeField::Height:
            return texts_.height;
        case SizeField::Columns:
            return texts_.columns;
        case SizeField::Rows:
            break;
        }
        return texts_.rows;
    }
    std::string& textOf(SizeField field) {
        return const_cast<std::string&>(std::as_const(*this).textOf(field));
    }

    SizeTexts texts_;
};

using enum SizeField;

enum class Op { Times, Over };

// One derivation step: target = RoundHalfUp(source op right). The source field is read before
// the right operand, as the window reads them, so that of two unreadable fields the first is
// the one reported.
template <typename ReadRight>
void Derive(Fields& f, SizeField target, SizeField source, Op op, ReadRight readRight,
            SizeCalculation& out) {
    const Real left = f.integer(source);
    const Real right = readRight();
    f.write(target, op == Op::Times ? left * right : left / right, out);
}

// Each derived value is rounded and written before the next step reads it, so later steps see
// the rounded figure, exactly as the user sees it in the field.
void DeriveFromMaster(int masterIndex, Fields& f, Real aspect, SizeCalculation& out) {
    const auto ratio = [aspect] { return aspect; };
    const auto crossWidth = [&f] { return f.crossWidth(); };
    const auto crossHeight = [&f] { return f.crossHeight(); };
    switch (masterIndex) {
    case 1:
        Derive(f, Height, Width, Op::Over, ratio, out);
        Derive(f, Columns, Width, Op::Over, crossWidth, out);
        Derive(f, Rows, Height, Op::Over, crossHeight, out);
        break;
    case 2:
        Derive(f, Width, Height, Op::Times, ratio, out);
        Derive(f, Columns, Width, Op::Over, crossWidth, out);
        Derive(f, Rows, Height, Op::Over, crossHeight, out);
        break;
    case 3:
        Derive(f, Width, Columns, Op::Times, crossWidth, out);
        Derive(f, Height, Width, Op::Over, ratio, out);
        Derive(f, Rows, Height, Op::Over, crossHeight, out);
        break;
    case 4:
        Derive(f, Height, Rows, Op::Times, crossHeight, out);
        Derive(f, Width, Height, Op::Times, ratio, out);
        Derive(f, Columns, Width, Op::Over, crossWidth, out);
        break;
    default:
        break;
    }
}

} // namespace

SizeCalculation RecalcSizes(int masterIndex, const SizeTexts& texts, Real pictureAspect) {
    SizeCalculation out;
    Fields fields(texts);
    try {
        DeriveFromMaster(masterIndex, fields, pictureAspect, out);

        // Read everything first so that a failure publishes nothing.
        const auto columns = static_cast<std::int32_t>(fields.integer(Columns));
        const auto rows = static_cast<std::int32_t>(fields.integer(Rows));
        const Real crossWidth = fields.crossWidth();
        const Real crossHeight = fields.crossHeight();

        // The summary shows what the whole crosses really cover, which can differ from the
        // typed width and height.
        const std::int64_t crossCount = static_cast<std::int64_t>(rows) * columns;
        const std::int32_t coveredWidth = RoundToField(static_cast<Real>(columns) * crossWidth);
        const std::int32_t coveredHeight = RoundToField(static_cast<Real>(rows) * crossHeight);

        out.columnCount = columns;
        out.rowCount = rows;
        out.crossWidth = crossWidth;
        out.crossHeight = crossHeight;
        out.crossCountLabel = "Крестиков: " + GroupDigits(std::to_string(crossCount));
        out.widthLabel = "Ширина: " + GroupDigits(std::to_string(coveredWidth)) + " мм";
        out.heightLabel = "Высота: " + GroupDigits(std::to_string(coveredHeight)) + " мм";
    } catch (StepFailed& failure) {
        out.error = std::move(failure.message);
    }
    return out;
}

std::string GroupDigits(std::string text) {
    const std::size_t signLength = (!text.empty() && text.front() == '-') ? 1 : 0;
    std::size_t n = text.size() - signLength;
    while (n > 3) {
        n -= 3;
        text.insert(signLength + n, 1, '.');
    }
    return text;
}

std::string FormatCommaReal(Real value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::optional<Real> ParseCommaReal(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const std::size_t comma = text.find(',');
    std::string_view whole = text.substr(0, comma);
    std::string_view fraction =
        comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    if (!std::all_of(whole.begin(), whole.end(), IsDigit) ||
        !std::all_of(fraction.begin(), fraction.end(), IsDigit)) {
        return std::nullopt;
    }
    // from_chars reads in the "C" locale whatever the process locale is.
    std::string plain = whole.empty() ? std::string("0") : std::string(whole);
    plain += '.';
    plain += fraction.empty() ? std::string_view("0") : fraction;
    Real value = 0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec != std::errc{} || result.ptr != plain.data() + plain.size()) {
        return std::nullopt;
    }
    return value;
}

std::string NotARealMessage(std::string_view text) {
    return Quoted(text) + " is not a valid floating point value";
}

std::string CrossSizeText(std::int32_t hundredths) {
    return FormatCommaReal(static_cast<Real>(hundredths) * 0.01L);
}

CrossSizeNormalisation NormaliseCrossSize(std::string_view text) {
    CrossSizeNormalisation out;
    // An emptied field shows the smallest size at once.
    if (text.empty()) {
        text = "0,01";
    }
    const std::optional<Real> value = ParseCommaReal(text);
    if (!value) {
        out.error = NotARealMessage(text);
        return out;
    }
    // Clamp before rounding so that a long pasted number cannot overflow the integer.
    const Real scaled = std::min(*value * 100, static_cast<Real>(kMaxCrossHundredths));
    out.hundredths = std::clamp(RoundHalfUp(scaled), kMinCrossHundredths, kMaxCrossHundredths);
    out.text = CrossSizeText(out.hundredths);
    return out;
}

bool IsUnfinishedCrossSize(std::string_view text) {
    if (!ParseCommaReal(text)) {
        return false;
    }
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        return std::all_of(text.begin(), text.end(), [](char c) { return c == '0'; });
    }
    const std::string_view fraction = text.substr(comma + 1);
    return fraction.empty() || fraction == "0";
}

} // namespace pelvano
