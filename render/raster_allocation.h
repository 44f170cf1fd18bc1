#pragma once

#include <QImage>

namespace pelvano {

// A new, uninitialised 24-bit (Format_BGR888) image, or a null image when the memory cannot be
// had. Large images are backed by transparent huge pages where the system offers them: a
// pattern image of a few hundred megabytes is otherwise written through tens of thousands of
// page faults, which cost more than the drawing itself.
QImage NewRaster(int width, int height);

} // namespace pelvano
