#include "io/jpeg_error.h"
#include "io/picture_encoders.h"
#include "io/picture_export.h"

#include <cstdlib>
#include <new>

namespace pelvano {

namespace {

// Owned by the caller of RunEncode so that a jump out of libjpeg skips no destructor. libjpeg
// grows `buffer` with malloc as it writes and keeps `buffer` pointing at the current block.
struct JpegEncodeJob {
    jpeg_compress_struct cinfo{};
    JpegErrorManager errors;
    const QImage* image = nullptr; // Format_BGR888
    int quality = kSavedJpegQuality;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    bool failed = false;
};

void RunEncode(JpegEncodeJob& job) {
    jpeg_compress_struct& cinfo = job.cinfo;
    if (setjmp(job.errors.jump)) {
        job.failed = true;
        return;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &job.buffer, &job.size);

    cinfo.image_width = static_cast<JDIMENSION>(job.image->width());
    cinfo.image_height = static_cast<JDIMENSION>(job.image->height());
    cinfo.input_components = 3;
    // Rows go in as they are stored, blue first; libjpeg converts them to YCbCr just as it would
    // RGB rows.
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, job.quality, TRUE); // tables limited to baseline's 8-bit range
    cinfo.dct_method = JDCT_FLOAT;

    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        // libjpeg only reads the rows it is given.
        JSAMPROW row =
            const_cast<JSAMPROW>(job.image->constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
}

} // namespace

QString EncodeJpegTo(const QImage& image, int quality, QByteArray& out) {
    out.clear();
    if (image.isNull())
        return QStringLiteral("There is no picture to save");
    const QImage bgr = image.format() == QImage::Format_BGR888
                           ? image
                           : image.convertToFormat(QImage::Format_BGR888);
    if (bgr.isNull())
        return QStringLiteral("Not enough memory to save the picture");

    JpegEncodeJob job;
    job.cinfo.err = InstallJpegErrorManager(job.errors);
    job.image = &bgr;
    job.quality = quality;
    RunEncode(job);
    jpeg_destroy_compress(&job.cinfo);

    QString error;
    if (job.failed) {
        error = JpegErrorMessage(job.errors);
    } else {
        try {
            out = QByteArray(reinterpret_cast<const char*>(job.buffer),
                             static_cast<qsizetype>(job.size));
        } catch (const std::bad_alloc&) {
            error = QStringLiteral("Not enough memory to save the picture");
        }
    }
    std::free(job.buffer);
    return error;
}

QByteArray EncodeJpeg(const QImage& image) {
    QByteArray bytes;
    EncodeJpegTo(image, kSavedJpegQuality, bytes);
    return bytes;
}

} // namespace pelvano
