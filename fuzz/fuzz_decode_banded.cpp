// Feeds arbitrary bytes to the JPEG decoder while a sampler reads the rows on a second thread,
// as the batch tool runs: a decode that fails at any point must stop the sampler before the rows
// it reads go away.
#include "cli/overlapped_generation.h"
#include "fuzz_support.h"
#include "io/picture_decoders.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pelvano::fuzz::SilenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvano;
    CliOptions options;
    // A grid from one cell to more cells than pixels, chosen by the input's length. Limiting
    // the shades reads no rows, so it is left out to keep the runs quick.
    options.master = SizeField::Columns;
    options.masterText = std::to_string(1 + size % 97);
    options.limitShades = false;
    OverlappedGeneration generation(options);
    const LoadedPicture loaded =
        DecodeJpeg(fuzz::BytesOf(data, size), fuzz::FuzzLimits(), generation.observer());
    fuzz::CheckOutcome(loaded);
    if (loaded.ok()) {
        generation.checkStarted(loaded.picture);
        if (generation.sizes().ok() && !generation.refusal())
            generation.finish({});
    }
    return 0;
}
