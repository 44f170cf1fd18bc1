#pragma once

#include <QString>

namespace pelvano {

// The folder a file dialog should start in next time, from the file just chosen: everything
// before the last path separator (or drive colon), without a trailing separator unless the
// folder is a root such as "/" or "D:\". Empty when the path names no folder.
QString DialogFolderOf(const QString& path);

} // namespace pelvano
