#pragma once

#include <QString>

namespace pelvano {

// Whether two paths name the same file: the same device and inode when both exist, otherwise the
// same place once links and "." or ".." are resolved (a file about to be created through a link
// to a folder, or through a dangling link, is where it will really be written).
bool SameFile(const QString& first, const QString& second);

// The path where writing `path` would really put the file: existing links followed, in the
// folder and through the links leading to it.
QString ResolvedWritePath(const QString& path);

} // namespace pelvano
