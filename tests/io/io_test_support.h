#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>
#include <ostream>

// Readable QString values in gtest's failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace pelvano::test {

// A file of the shared picture corpus, e.g. Corpus("photos/rose-70x46.bmp").
QString Corpus(const QString& relative);
QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

// An independent reader for the plain kind of bitmap (uncompressed, 1, 4, 8 or 24 bits, any
// header version, either row order) so decoded pixels can be checked against the file itself.
QImage ReadPlainBmp(const QByteArray& bytes);

// The size a bitmap's header claims (either header kind), or an invalid size.
QSize BmpHeaderSize(const QByteArray& bytes);

// Where the first pixel of two same-sized images differs, as "(x, y)", or "" when none does.
QString FirstDifference(const QImage& a, const QImage& b);

// A Format_BGR888 test card: gradients plus a few pure colours, deterministic.
QImage TestCard(int width, int height);

// libjpeg's own command-line decoder on the same file, read back; nothing when djpeg is not
// installed.
std::optional<QImage> DecodeWithDjpeg(const QString& path, const QStringList& options);

// A JPEG that fails only after its last row is decoded: a copy of its frame header (SOF) is put
// after the scan, which libjpeg reports as a fatal error while finishing.
QByteArray WithSecondFrameHeader(const QByteArray& jpeg);

} // namespace pelvano::test
