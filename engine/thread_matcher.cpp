#include "engine/thread_matcher.h"

#include "engine/palette.h"
#include "engine/real.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>

namespace pelvano {

namespace {

// Squared distances decide the same winner as the distances themselves: the square root is
// monotone, and two different integers below 3 * 255^2 never share a square root in 64-bit
// precision, so "strictly nearer" means the same in both.
//
// The colour cube is cut into blocks of 8 x 8 x 8. For every block we keep, in palette order,
// only the threads that can be nearest to some colour in it: a thread whose smallest possible
// distance to the block exceeds the largest distance from the block to some other thread is
// strictly farther than that thread for every colour of the block. Scanning the survivors in
// palette order with a strict comparison therefore picks exactly what the full scan picks,
// ties included.
constexpr int kBlockShift = 3;
constexpr int kBlockSide = 1 << kBlockShift;
constexpr int kBlocksPerAxis = 256 / kBlockSide;
constexpr int kBlockCount = kBlocksPerAxis * kBlocksPerAxis * kBlocksPerAxis;

int BlockOf(int r, int g, int b) {
    return ((b >> kBlockShift) * kBlocksPerAxis + (g >> kBlockShift)) * kBlocksPerAxis +
           (r >> kBlockShift);
}

using PerThread = std::array<std::int32_t, kThreadCount>;

// Per axis, a thread's smallest and largest squared offset from a block depends only on the
// block's position along that axis, so those are tabulated once and a block's figures are three
// sums.
struct AxisBounds {
    // [axis][block position]: squared gap to the nearest and to the farthest colour of the block
    // along that axis.
    std::array<std::array<PerThread, kBlocksPerAxis>, 3> gap;
    std::array<std::array<PerThread, kBlocksPerAxis>, 3> reach;
};

const AxisBounds& Bounds() {
    static const std::unique_ptr<const AxisBounds> bounds = [] {
        const ThreadTable& palette = ThreadPalette();
        auto out = std::make_unique<AxisBounds>();
        for (int axis = 0; axis < 3; ++axis) {
            for (int position = 0; position < kBlocksPerAxis; ++position) {
                const int lo = position * kBlockSide;
                const int hi = lo + (kBlockSide - 1);
                for (int i = 0; i < kThreadCount; ++i) {
                    const Item& t = palette[i + 1];
                    const int c = axis == 0 ? t.R : axis == 1 ? t.G : t.B;
                    const int outside = std::max(0, std::max(lo - c, c - hi));
                    const int farthest = std::max(c - lo, hi - c);
                    out->gap[axis][position][i] = outside * outside;
                    out->reach[axis][position][i] = farthest * farthest;
                }
            }
        }
        return std::unique_ptr<const AxisBounds>(std::move(out));
    }();
    return *bounds;
}

// The candidates of one block, in palette order: its count first, then the palette numbers.
const std::uint16_t* BuildBlock(int block) {
    const AxisBounds& bounds = Bounds();
    const int r = block % kBlocksPerAxis;
    const int g = block / kBlocksPerAxis % kBlocksPerAxis;
    const int b = block / kBlocksPerAxis / kBlocksPerAxis;
    const PerThread& gapR = bounds.gap[0][r];
    const PerThread& gapG = bounds.gap[1][g];
    const PerThread& gapB = bounds.gap[2][b];
    const PerThread& reachR = bounds.reach[0][r];
    const PerThread& reachG = bounds.reach[1][g];
    const PerThread& reachB = bounds.reach[2][b];
    // The colour of the block farthest from its best thread is no farther than this.
    std::int32_t bound = 1 << 30;
    PerThread nearest{};
    for (int i = 0; i < kThreadCount; ++i) {
        nearest[i] = gapR[i] + gapG[i] + gapB[i];
        bound = std::min(bound, reachR[i] + reachG[i] + reachB[i]);
    }
    std::array<std::uint16_t, kThreadCount + 1> list{};
    std::uint16_t count = 0;
    for (int i = 0; i < kThreadCount; ++i) {
        if (nearest[i] <= bound) {
            list[++count] = static_cast<std::uint16_t>(i + 1);
        }
    }
    list[0] = count;
    auto* out = new std::uint16_t[count + 1u];
    std::copy_n(list.begin(), count + 1u, out);
    return out;
}

// Blocks are worked out on first use, so a small picture pays only for the few colours it has.
// Two threads may work out the same block at once; the first to store it wins and the other's
// identical list is dropped. The lists live as long as the program.
std::array<std::atomic<const std::uint16_t*>, kBlockCount> gBlocks{};

const std::uint16_t* BlockCandidates(int block) {
    std::atomic<const std::uint16_t*>& slot = gBlocks[static_cast<std::size_t>(block)];
    const std::uint16_t* list = slot.load(std::memory_order_acquire);
    if (list != nullptr) {
        return list;
    }
    const std::uint16_t* built = BuildBlock(block);
    if (slot.compare_exchange_strong(list, built, std::memory_order_acq_rel)) {
        return built;
    }
    delete[] built;
    return list;
}

// Colours outside the cube only come from damaged input; they take the plain scan, with sums
// formed in extended precision (exact for any 32-bit components) so nothing overflows.
int NearestByFullScan(int r, int g, int b) {
    const ThreadTable& palette = ThreadPalette();
    Real best = std::numeric_limits<Real>::infinity();
    int chosen = 1;
    for (int i = 1; i <= kThreadCount; ++i) {
        const Real db = static_cast<Real>(b) - palette[i].B;
        const Real dg = static_cast<Real>(g) - palette[i].G;
        const Real dr = static_cast<Real>(r) - palette[i].R;
        const Real d = db * db + dg * dg + dr * dr;
        if (best > d) {
            best = d;
            chosen = i;
        }
    }
    return chosen;
}

} // namespace

int NearestThreadIndex(int r, int g, int b) {
    if ((r | g | b) & ~0xFF) {
        return NearestByFullScan(r, g, b);
    }
    const ThreadTable& palette = ThreadPalette();
    const std::uint16_t* list = BlockCandidates(BlockOf(r, g, b));
    const std::uint16_t* it = list + 1;
    const std::uint16_t* end = it + list[0];
    int best = 1 << 30;
    int chosen = *it;
    for (; it != end; ++it) {
        const Item& t = palette[*it];
        const int db = b - t.B;
        const int dg = g - t.G;
        const int dr = r - t.R;
        const int d = db * db + dg * dg + dr * dr;
        if (best > d) {
            best = d;
            chosen = *it;
        }
    }
    return chosen;
}

void PrepareThreadMatcher() {
    for (int block = 0; block < kBlockCount; ++block) {
        BlockCandidates(block);
    }
}

} // namespace pelvano
