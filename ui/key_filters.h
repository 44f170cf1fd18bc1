#pragma once

#include <QValidator>

class QKeyEvent;

namespace pelvano {

// How the size fields filter what the user types. A key event is "typing" when it carries a
// character and no Ctrl/Alt/Meta modifier; shortcuts (copy, paste, undo), navigation keys, Tab and
// Enter (which presses the default button) are not typing and always pass.
bool IsTypedCharacter(const QKeyEvent& event);

// Integer fields: only the digits 0 to 9 and backspace.
bool AcceptsIntegerKey(QChar key);

// Cross-size fields: the digits, backspace and a comma, the comma only while `text` (what the field
// keeps of its text besides the part the typed character replaces) has none.
bool AcceptsCommaDecimalKey(QChar key, const QString& text);

// Limits the length of what the user types or pastes, but not of what the program writes
// (QLineEdit::setMaxLength would truncate program writes too, and the derived size fields show
// longer numbers than can be typed).
class TypingLengthValidator : public QValidator {
    Q_OBJECT
public:
    TypingLengthValidator(int maxLength, QObject* parent) : QValidator(parent), max_(maxLength) {}
    State validate(QString& input, int& position) const override;
    int maxLength() const { return max_; }

private:
    int max_;
};

} // namespace pelvano
