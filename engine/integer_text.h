#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelvano {

// Reads a whole 32-bit number written as an optional sign followed by decimal digits, with
// nothing else around it. Empty text, spaces, other characters and values outside the 32-bit
// range give nothing.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// The conversion error shown for a text that is not a whole number.
std::string InvalidIntegerMessage(std::string_view text);

} // namespace pelvano
