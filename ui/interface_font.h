#pragma once

#include <QFont>

namespace pelvano {

// The small interface face both windows are laid out for: about 8 points, with the classic
// sans-serif widths first, since the wide default faces of some desktops would push the bold
// captions of the left panel into the edits. `base` supplies the desktop's own family as the
// last fallback.
QFont InterfaceFont(const QFont& base);

} // namespace pelvano
