// Feeds arbitrary bytes to the bitmap decoder.
#include "fuzz_support.h"
#include "io/picture_decoders.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pelvano::fuzz::SilenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvano;
    fuzz::CheckOutcome(DecodeBmp(fuzz::BytesOf(data, size), fuzz::FuzzLimits()));
    return 0;
}
