#include "ui/error_guard.h"

namespace pelvano {

QString ErrorGuard::messageFor(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

void ErrorGuard::report(const std::exception_ptr& error) noexcept {
    try {
        dialogs_.showMessage(parent_, messageFor(error));
    } catch (...) {
        // Nothing sensible is left to do when even the message box fails.
    }
}

} // namespace pelvano
