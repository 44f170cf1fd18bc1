#pragma once

#include <QString>

namespace pelvano {

// Names as the file dialogs hand them over: the file-name part follows the last path separator
// ('/', and on Windows also '\' and a drive colon). A dot in a folder name is not an extension.

// Position of the extension's dot, or -1 when the file-name part has no dot.
qsizetype ExtensionStart(const QString& path);

// The extension with its dot, in lower case; empty when there is none. "D:/a.b/Photo.JPG" gives
// ".jpg", "photo" and "a.b/photo" give "".
QString LowerExtension(const QString& path);

// The name with its extension (if any) replaced by `extension` (".pdf"), or given one when it has
// none: "a.b/name" gives "a.b/name.pdf", "x.jpg" gives "x.pdf".
QString WithExtension(const QString& path, const QString& extension);

// The name and extension without the folder: "D:/out/photo.bmp" gives "photo.bmp".
QString FileNamePart(const QString& path);

// The folder a file dialog should start in after this file was chosen: everything before the last
// separator, except that a drive root keeps its separator ("D:\pics\a.jpg" gives "D:\pics",
// "D:\a.jpg" gives "D:\"). On systems without drives "/a.jpg" gives "" (the caller may treat that
// as the root), and a name without any separator gives "".
QString FolderOfFile(const QString& path);

} // namespace pelvano
