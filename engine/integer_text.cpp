#include "engine/integer_text.h"

#include <charconv>

namespace pelvano {

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    // from_chars takes a minus sign but not a plus sign.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::string InvalidIntegerMessage(std::string_view text) {
    // Built by appending: "'" + std::string trips a false -Wrestrict in GCC 12.
    std::string message;
    message.reserve(text.size() + 32);
    message.append("'").append(text).append("' is not a valid integer value");
    return message;
}

} // namespace pelvano
