#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace pelvano {

// The encoders with their error texts ("" on success); the public Encode* functions drop them.
QString EncodeBmpTo(const QImage& image, QByteArray& out);
QString EncodeJpegTo(const QImage& image, int quality, QByteArray& out);

inline constexpr int kSavedJpegQuality = 97;

} // namespace pelvano
