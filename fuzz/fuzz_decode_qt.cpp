// Feeds arbitrary bytes to Qt's readers for the added picture kinds (PNG, GIF, TIFF, WebP),
// through the same conversion to the 24-bit raster the program uses.
#include "fuzz_support.h"
#include "io/picture_decoders.h"

#include <array>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pelvano::fuzz::SilenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvano;
    static const std::array<QByteArray, 4> kFormats{"png", "gif", "tiff", "webp"};
    // The kind follows the bytes' own signature where there is one, so seeds keep their kind.
    QByteArray format = kFormats[size % kFormats.size()];
    if (size >= 4 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G')
        format = "png";
    else if (size >= 3 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F')
        format = "gif";
    else if (size >= 4 &&
             ((data[0] == 'I' && data[1] == 'I') || (data[0] == 'M' && data[1] == 'M')))
        format = "tiff";
    else if (size >= 4 && data[0] == 'R' && data[1] == 'I' && data[2] == 'F' && data[3] == 'F')
        format = "webp";
    fuzz::CheckOutcome(DecodeWithQtReader(fuzz::BytesOf(data, size), format, fuzz::FuzzLimits()));
    return 0;
}
