#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace pelvano {

// The encoders with their error texts ("" on success); the public Encode* functions drop them.
QString EncodeBmpTo(const QImage& image, QByteArray& out);
QString EncodeJpegTo(const QImage& image, int quality, QByteArray& out);

inline constexpr int kSavedJpegQuality = 97;

// `image` as the 24-bit blue-green-red raster both encoders write (shared, not copied, when it
// already is one). An empty `bgr` comes with the error text to report.
QString ImageForSaving(const QImage& image, QImage& bgr);

} // namespace pelvano
