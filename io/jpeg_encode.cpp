#include "io/jpeg_error.h"
#include "io/picture_encoders.h"
#include "io/picture_export.h"
#include "io/safe_file.h"

#include <QDir>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <new>
#include <vector>

namespace pelvano {

namespace {

// Owned by the caller of RunEncode so that a jump out of libjpeg skips no destructor. libjpeg
// grows `buffer` with malloc as it writes and keeps `buffer` pointing at the current block.
struct JpegEncodeJob {
    jpeg_compress_struct cinfo{};
    JpegErrorManager errors;
    // Rows in order, blue, green, red; libjpeg only reads them.
    std::function<const std::uint8_t*(std::int32_t)> rows;
    JDIMENSION width = 0;
    JDIMENSION height = 0;
    // Where the bytes go; none collects them in `buffer`.
    jpeg_destination_mgr* destination = nullptr;
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
    if (job.destination != nullptr)
        cinfo.dest = job.destination;
    else
        jpeg_mem_dest(&cinfo, &job.buffer, &job.size);

    cinfo.image_width = job.width;
    cinfo.image_height = job.height;
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
            const_cast<JSAMPROW>(job.rows(static_cast<std::int32_t>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
}

// Hands the encoded bytes to a file a block at a time, so the file is never whole in memory. A
// failed write is remembered and the rest dropped; the caller cancels the file.
struct FileDestination {
    jpeg_destination_mgr manager{}; // first, so libjpeg's pointer is the whole struct's
    SafeFile* file = nullptr;
    std::vector<JOCTET> block;
    bool failed = false;

    static FileDestination& of(j_compress_ptr cinfo) {
        return *reinterpret_cast<FileDestination*>(cinfo->dest);
    }
    void write(std::size_t bytes) {
        const auto size = static_cast<qint64>(bytes);
        if (!failed && file->write(reinterpret_cast<const char*>(block.data()), size) != size)
            failed = true;
        manager.next_output_byte = block.data();
        manager.free_in_buffer = block.size();
    }
    static void init(j_compress_ptr cinfo) {
        FileDestination& self = of(cinfo);
        self.manager.next_output_byte = self.block.data();
        self.manager.free_in_buffer = self.block.size();
    }
    static boolean empty(j_compress_ptr cinfo) {
        FileDestination& self = of(cinfo);
        self.write(self.block.size()); // libjpeg asks for the whole block to go
        return TRUE;
    }
    static void term(j_compress_ptr cinfo) {
        FileDestination& self = of(cinfo);
        self.write(self.block.size() - self.manager.free_in_buffer);
    }
};

constexpr std::size_t kFileBlockBytes = std::size_t{1} << 20;

} // namespace

QString SaveJpegRows(std::int32_t width, std::int32_t height, const PictureRowSource& rows,
                     const QString& path) {
    if (width <= 0 || height <= 0)
        return QStringLiteral("There is no picture to save");
    const QString shown = QDir::toNativeSeparators(path);
    SafeFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot create file %1").arg(shown);

    FileDestination destination;
    destination.file = &file;
    destination.block.resize(kFileBlockBytes);
    destination.manager.init_destination = &FileDestination::init;
    destination.manager.empty_output_buffer = &FileDestination::empty;
    destination.manager.term_destination = &FileDestination::term;

    JpegEncodeJob job;
    job.cinfo.err = InstallJpegErrorManager(job.errors);
    job.rows = rows;
    job.width = static_cast<JDIMENSION>(width);
    job.height = static_cast<JDIMENSION>(height);
    job.destination = &destination.manager;
    RunEncode(job);
    jpeg_destroy_compress(&job.cinfo);

    if (job.failed)
        return JpegErrorMessage(job.errors); // the file discards itself
    if (destination.failed || !file.commit())
        return QStringLiteral("Cannot write file %1").arg(shown);
    return {};
}

QString EncodeJpegTo(const QImage& image, int quality, QByteArray& out) {
    out.clear();
    QImage bgr;
    if (QString error = ImageForSaving(image, bgr); !error.isEmpty())
        return error;

    JpegEncodeJob job;
    job.cinfo.err = InstallJpegErrorManager(job.errors);
    job.rows = [&bgr](std::int32_t y) { return bgr.constScanLine(y); };
    job.width = static_cast<JDIMENSION>(bgr.width());
    job.height = static_cast<JDIMENSION>(bgr.height());
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
