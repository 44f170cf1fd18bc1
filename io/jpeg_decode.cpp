#include "io/exif_orientation.h"
#include "io/jpeg_error.h"
#include "io/picture_decoders.h"
#include "render/raster_allocation.h"

#include <QBuffer>
#include <algorithm>
#include <jerror.h>
#include <memory>
#include <vector>

namespace pelvano {

namespace {

// Feeds libjpeg from a device a block at a time, so a file is never held whole and a huge file
// that is no JPEG costs only its first block. The end of the data is handled as libjpeg's own
// sources handle it: an empty file is an error, a file that ends early gets a warning and an
// end-of-image marker, so it decodes as far as its data go.
struct DeviceSource {
    jpeg_source_mgr manager{}; // first, so libjpeg's pointer is the whole struct's
    QIODevice* device = nullptr;
    std::vector<JOCTET> block;
    bool atStart = true;

    static DeviceSource& of(j_decompress_ptr cinfo) {
        return *reinterpret_cast<DeviceSource*>(cinfo->src);
    }
    static void init(j_decompress_ptr cinfo) { of(cinfo).atStart = true; }
    static boolean fill(j_decompress_ptr cinfo) {
        DeviceSource& self = of(cinfo);
        qint64 got = self.device->read(reinterpret_cast<char*>(self.block.data()),
                                       static_cast<qint64>(self.block.size()));
        if (got < 0)
            ERREXIT(cinfo, JERR_FILE_READ);
        if (got == 0) {
            if (self.atStart)
                ERREXIT(cinfo, JERR_INPUT_EMPTY);
            WARNMS(cinfo, JWRN_JPEG_EOF);
            self.block[0] = 0xFF;
            self.block[1] = JPEG_EOI;
            got = 2;
        }
        self.manager.next_input_byte = self.block.data();
        self.manager.bytes_in_buffer = static_cast<std::size_t>(got);
        self.atStart = false;
        return TRUE;
    }
    static void skip(j_decompress_ptr cinfo, long count) {
        DeviceSource& self = of(cinfo);
        if (count <= 0)
            return;
        while (count > static_cast<long>(self.manager.bytes_in_buffer)) {
            count -= static_cast<long>(self.manager.bytes_in_buffer);
            fill(cinfo);
        }
        self.manager.next_input_byte += count;
        self.manager.bytes_in_buffer -= static_cast<std::size_t>(count);
    }
    static void term(j_decompress_ptr) {}
};

constexpr std::size_t kSourceBlockBytes = 64 * 1024;

// Everything one decode needs, owned by the caller of RunDecode so that a jump out of libjpeg
// leaves no destructor behind.
struct JpegDecodeJob {
    jpeg_decompress_struct cinfo{};
    JpegErrorManager errors;
    DeviceSource source;
    PictureLimits limits;
    const LoadObserver* observer = nullptr;
    const LoadObserver silent{};
    int orientation = 1; // as the EXIF data asks, 1 for upright
    // Shared with the observer, which may still be reading rows when the decode fails: the
    // raster goes only when both have let go of it.
    std::shared_ptr<QImage> picture;
    QString error;
};

// Grey files go through libjpeg's one-pass colour quantizer, at most 236 grey levels with its
// default Floyd-Steinberg dithering, and the levels are then drawn into the 24-bit raster. (The
// same quantizer used to serve colour files on displays of 8 bits or fewer; today's displays
// never have so few, so colour files always come out as 24-bit pixels.)
constexpr int kQuantizedColors = 236;

void ReportRows(const LoadObserver& observer, JDIMENSION rows) {
    if (observer.rowsReady)
        observer.rowsReady(static_cast<std::int32_t>(rows));
}

void ReadQuantizedRows(jpeg_decompress_struct& cinfo, QImage& picture,
                       const LoadObserver& observer) {
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                cinfo.output_width, 1);
    const JSAMPLE* levels = cinfo.colormap[0];
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION y = cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, row, 1);
        std::uint8_t* out = picture.scanLine(static_cast<int>(y));
        for (JDIMENSION x = 0; x < cinfo.output_width; ++x) {
            const JSAMPLE level = levels[row[0][x]];
            out[0] = out[1] = out[2] = level;
            out += 3;
        }
        ReportRows(observer, cinfo.output_scanline);
    }
}

// Colour files decode straight into the raster's rows, already in blue, green, red order.
void ReadColourRows(jpeg_decompress_struct& cinfo, QImage& picture, const LoadObserver& observer) {
    constexpr int kBatch = 4; // libjpeg hands out up to max_v_samp_factor rows at a time
    JSAMPROW rows[kBatch];
    std::uint8_t* bits = picture.bits();
    const qsizetype stride = picture.bytesPerLine();
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION first = cinfo.output_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(kBatch, cinfo.output_height - first);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = bits + static_cast<qsizetype>(first + i) * stride;
        jpeg_read_scanlines(&cinfo, rows, count);
        ReportRows(observer, cinfo.output_scanline);
    }
}

void RunDecode(JpegDecodeJob& job) {
    jpeg_decompress_struct& cinfo = job.cinfo;
    if (setjmp(job.errors.jump)) {
        job.error = JpegErrorMessage(job.errors);
        job.picture.reset();
        return;
    }
    jpeg_create_decompress(&cinfo);
    DeviceSource& source = job.source;
    source.manager.init_source = &DeviceSource::init;
    source.manager.fill_input_buffer = &DeviceSource::fill;
    source.manager.skip_input_data = &DeviceSource::skip;
    source.manager.resync_to_restart = &jpeg_resync_to_restart;
    source.manager.term_source = &DeviceSource::term;
    cinfo.src = &source.manager;
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF); // EXIF, for the orientation
    jpeg_read_header(&cinfo, TRUE);
    for (jpeg_saved_marker_ptr marker = cinfo.marker_list; marker != nullptr;
         marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && job.orientation == 1)
            job.orientation = ExifOrientation(marker->data, marker->data_length);
    }
    // A photo stored sideways is turned once it is whole: nobody may read its rows before.
    const LoadObserver& observer = job.orientation == 1 ? *job.observer : job.silent;

    // The header gives the size; refuse what cannot be held before anything is allocated. Buffers
    // libjpeg itself needs (a progressive file keeps all its coefficients) get the same budget,
    // beyond which it fails with its own error instead of exhausting the machine.
    job.error = CheckPictureSize(cinfo.image_width, cinfo.image_height, job.limits);
    if (!job.error.isEmpty())
        return;
    cinfo.mem->max_memory_to_use = static_cast<long>(job.limits.maxRasterBytes);

    cinfo.scale_num = 1;
    cinfo.scale_denom = 1;
    cinfo.dct_method = JDCT_FLOAT;
    cinfo.do_block_smoothing = TRUE;
    const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    if (grey) {
        cinfo.out_color_space = JCS_GRAYSCALE;
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = kQuantizedColors;
    } else {
        // CMYK and YCCK files have no conversion to this; libjpeg stops with its error.
        cinfo.out_color_space = JCS_EXT_BGR;
    }

    const auto width = static_cast<int>(cinfo.image_width);
    const auto height = static_cast<int>(cinfo.image_height);
    job.picture = std::make_shared<QImage>(NewBgrRaster(width, height));
    if (job.picture->isNull()) {
        job.error = OutOfMemoryMessage(width, height);
        job.picture.reset();
        return;
    }

    if (observer.started)
        observer.started(job.picture);
    jpeg_start_decompress(&cinfo);
    if (grey)
        ReadQuantizedRows(cinfo, *job.picture, observer);
    else
        ReadColourRows(cinfo, *job.picture, observer);
    jpeg_finish_decompress(&cinfo);
}

} // namespace

LoadedPicture DecodeJpeg(const QByteArray& bytes, const PictureLimits& limits) {
    return DecodeJpeg(bytes, limits, LoadObserver{});
}

LoadedPicture DecodeJpeg(const QByteArray& bytes, const PictureLimits& limits,
                         const LoadObserver& observer) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return DecodeJpeg(buffer, limits, observer);
}

LoadedPicture DecodeJpeg(QIODevice& device, const PictureLimits& limits,
                         const LoadObserver& observer) {
    JpegDecodeJob job;
    job.observer = &observer;
    job.cinfo.err = InstallJpegErrorManager(job.errors);
    job.source.device = &device;
    job.source.block.resize(kSourceBlockBytes);
    job.limits = limits;
    RunDecode(job);
    jpeg_destroy_decompress(&job.cinfo);

    LoadedPicture result;
    if (job.error.isEmpty())
        result.picture = Upright(*job.picture, job.orientation);
    else
        result.error = std::move(job.error);
    return result;
}

LoadedPicture DecodeJpeg(const QByteArray& bytes) {
    return DecodeJpeg(bytes, DefaultPictureLimits());
}

} // namespace pelvano
