#pragma once

#include "ui/dialogs.h"

#include <QString>
#include <exception>
#include <new>
#include <stdexcept>

class QWidget;

namespace pelvano {

// An error whose what() is already the text to show the user (UTF-8): a field that does not read
// as a number, a picture that cannot be opened.
class UserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit UserError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// The window's general error handler. Every event handler runs inside it, so no exception ever
// reaches Qt: the handler ends at the failing step, the error's text is shown, and the window
// goes on with the state the handler had reached.
//
// A control write inside a handler (setText, setChecked) raises the control's own handler
// synchronously. An error there must end the outer handler too, as if it had been thrown by the
// write itself; it is parked here and re-raised by `rethrowPending()`, which the window calls after
// each such write, so that the exception never travels through Qt's signal code.
class ErrorGuard {
public:
    ErrorGuard(Dialogs& dialogs, QWidget* parent) : dialogs_(dialogs), parent_(parent) {}

    template <class Fn> void run(Fn&& fn) noexcept {
        if (depth_ > 0) {
            ++depth_;
            try {
                fn();
            } catch (...) {
                if (!pending_)
                    pending_ = std::current_exception();
            }
            --depth_;
            return;
        }
        ++depth_;
        try {
            fn();
            rethrowPending();
        } catch (...) {
            pending_ = nullptr;
            report(std::current_exception());
        }
        pending_ = nullptr;
        --depth_;
    }

    // Re-raises an error that a handler nested inside a control write has parked.
    void rethrowPending() {
        if (pending_) {
            std::exception_ptr error = pending_;
            pending_ = nullptr;
            std::rethrow_exception(error);
        }
    }

    bool busy() const { return depth_ > 0; }

    // The text shown for an error.
    static QString messageFor(const std::exception_ptr& error);

private:
    void report(const std::exception_ptr& error) noexcept;

    Dialogs& dialogs_;
    QWidget* parent_;
    int depth_ = 0;
    std::exception_ptr pending_;
};

} // namespace pelvano
