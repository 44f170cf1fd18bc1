#include "ui/key_filters.h"

#include <QKeyEvent>

namespace pelvano {

namespace {
constexpr char16_t kBackspace = 8;
}

bool IsTypedCharacter(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    // Delete and the like carry control characters but are editing keys, not typing.
    return text.front().isPrint() || text.front().unicode() == kBackspace;
}

bool AcceptsIntegerKey(QChar key) {
    return (key >= QLatin1Char('0') && key <= QLatin1Char('9')) || key.unicode() == kBackspace;
}

bool AcceptsCommaDecimalKey(QChar key, const QString& text) {
    if (key == QLatin1Char(','))
        return !text.contains(QLatin1Char(','));
    return AcceptsIntegerKey(key);
}

QValidator::State TypingLengthValidator::validate(QString& input, int&) const {
    return input.size() > max_ ? Invalid : Acceptable;
}

} // namespace pelvano
