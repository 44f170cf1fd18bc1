#pragma once

#include <QString>
#include <QStringList>

namespace pelvano {

// The picture named on the window program's command line (the file manager's "Open with" passes
// one), as a full path so that the caption and the open dialog's next folder name it fully; a
// file:// address is taken as the file it points to, and "." and ".." are resolved. Empty when no
// picture is named. `arguments` are the program's arguments with the program itself first and Qt's
// own options already taken out.
QString CommandLinePicture(const QStringList& arguments);

} // namespace pelvano
