#pragma once

#include <stdexcept>

namespace pelvano {

// A drawing that could not be made; what() is a message for the user (UTF-8, Russian).
class RenderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace pelvano
