#pragma once

#include <QImage>

namespace pelvano {

// A new, uninitialised Format_BGR888 image (rows padded to 4 bytes, as QImage pads them); a null
// image when the memory cannot be had. On Linux a large raster is mapped on its own and asks for
// huge pages: filling 24 megapixels page by page costs more than a third of decoding them, and
// 2 MB pages take most of that away. Elsewhere, or for small pictures, it is a plain QImage.
QImage NewBgrRaster(int width, int height);

} // namespace pelvano
