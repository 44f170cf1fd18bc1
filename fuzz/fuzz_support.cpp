#include "fuzz_support.h"

#include <QtGlobal>
#include <cstdlib>

namespace pelvano::fuzz {

PictureLimits FuzzLimits() {
    PictureLimits limits;
    limits.maxRasterBytes = 64 * 1024 * 1024;
    return limits;
}

QByteArray BytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
}

void SilenceQt() {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

void CheckOutcome(const LoadedPicture& loaded) {
    if (loaded.ok()) {
        const QImage& p = loaded.picture;
        if (p.isNull() || p.format() != QImage::Format_BGR888 ||
            RasterBytes(p.width(), p.height()) > FuzzLimits().maxRasterBytes)
            std::abort();
        // Touch the last byte of the raster: it must be really there.
        volatile std::uint8_t last = p.constScanLine(p.height() - 1)[p.width() * 3 - 1];
        (void)last;
    } else if (!loaded.picture.isNull() || loaded.error.isEmpty()) {
        std::abort();
    }
}

} // namespace pelvano::fuzz
