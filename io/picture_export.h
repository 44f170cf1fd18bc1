#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace pelvano {

// The save dialog's filter entries, numbered as the dialog numbers them.
enum class PictureFormat { Bmp = 1, Jpeg = 2 };

// The name with its extension replaced by the format's (".bmp" or ".jpg"); a name without an
// extension gets one. Only the file-name part counts: "my.work/schema" becomes
// "my.work/schema.jpg", "picture.jpg" saved as BMP becomes "picture.bmp".
QString ForceExtension(const QString& path, PictureFormat format);

// .bmp, .jpg and .jpeg in any case; nothing for other names.
std::optional<PictureFormat> FormatFromExtension(const QString& path);

// Encodes the image and writes it to `path` as a whole: the file appears or is replaced only once
// every byte is on disk, so a failed save (a full disk included) leaves an existing file as it
// was. Returns "" on success, else the text to show, naming the file. The image is handed to the
// encoder row by row; no second copy of it, nor of the file, is made.
QString SavePicture(const QImage& image, const QString& path, PictureFormat format);

// The rows of a picture handed out top to bottom: row y's bytes, three per pixel, blue first,
// valid until the next call. Must not throw.
using PictureRowSource = std::function<const std::uint8_t*(std::int32_t y)>;

// Saves the JPEG SavePicture would save for an image with these rows, byte for byte, without
// the image or the file ever being whole in memory: the rows are asked for one at a time and
// the encoded bytes written as they come. The file still appears or is replaced only once
// complete, and a failure leaves an existing file as it was.
QString SaveJpegRows(std::int32_t width, std::int32_t height, const PictureRowSource& rows,
                     const QString& path);

// The bitmap SavePicture would save for an image with these rows, byte for byte, written row by
// row, with the same guarantees as SaveJpegRows.
QString SaveBmpRows(std::int32_t width, std::int32_t height, const PictureRowSource& rows,
                    const QString& path);

// Empty when a bitmap file can hold a picture of this size (its header counts the file's bytes
// in 32 bits); otherwise the text to show, naming a size that would fit. Check it before drawing
// a picture that is to be saved as a bitmap.
QString BmpSizeError(std::int64_t width, std::int64_t height);

// Writes `bytes` to `path` as SavePicture writes a picture: whole or not at all.
QString SaveFileBytes(const QByteArray& bytes, const QString& path);

// An uncompressed 24-bit Windows bitmap holding the pixels exactly; empty for a null image.
QByteArray EncodeBmp(const QImage& image);

// A baseline JFIF file of quality 97 (libjpeg's defaults otherwise: YCbCr, 2x2 chroma
// subsampling, standard Huffman tables) with the floating-point DCT; empty on failure.
QByteArray EncodeJpeg(const QImage& image);

} // namespace pelvano
