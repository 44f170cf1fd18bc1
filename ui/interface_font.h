#pragma once

#include <QFont>

class QString;

namespace pelvano {

// The small interface face both windows are laid out for: about 8 points, with the classic
// sans-serif widths first, since the wide default faces of some desktops would push the bold
// captions of the left panel into the edits. `base` supplies the desktop's own family as the
// last fallback.
QFont InterfaceFont(const QFont& base);

// `normal`, or where `text` is wider than `width` pixels in it, the largest smaller size of it in
// which the text fits (not below a still legible 6 pixels): a label of fixed width whose numbers
// can grow long shows the whole of them rather than losing the last digits.
QFont FontFitting(const QFont& normal, const QString& text, int width);

} // namespace pelvano
