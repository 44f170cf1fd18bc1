#include "engine/perceptual_matcher.h"

#include "engine/palette.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace pelvano {

namespace {

// A colour with the parts of CIEDE2000 that depend on it alone.
struct Prepared {
    Lab lab;
    double chroma = 0;
    double a2 = 0; // a squared
    double b2 = 0; // b squared
};

Prepared Prepare(const Lab& lab) {
    return Prepared{lab, std::hypot(lab.a, lab.b), lab.a * lab.a, lab.b * lab.b};
}

using ThreadColors = std::array<Prepared, kThreadCount + 1>;

double Pow7(double x) {
    const double x2 = x * x;
    return x2 * x2 * x2 * x;
}

const ThreadColors& Colors() {
    static const ThreadColors colors = [] {
        ThreadColors c{};
        const ThreadTable& palette = ThreadPalette();
        for (int i = 1; i <= kThreadCount; ++i) {
            const Item& t = palette[static_cast<std::size_t>(i)];
            c[static_cast<std::size_t>(i)] = Prepare(SrgbToLab(t.R, t.G, t.B));
        }
        return c;
    }();
    return colors;
}

// A lower bound on the square of CIEDE2000 over a whole box of colours. With l, c and h the
// lightness, chroma and hue terms of the formula, the difference squared is l^2 + c^2 + h^2 +
// RT*c*h, and since |c*h| <= (c^2 + h^2) / 2 that is at least l^2 + (1 - |RT|/2) * (c^2 + h^2).
//  - l is computed exactly as the formula does.
//  - c^2 + h^2 >= (dC'^2 + dH'^2) / SC^2, because SH <= SC (the hue weight T stays below 3);
//    dC'^2 + dH'^2 is the squared distance in the stretched a'b' plane, which is at least
//    the plain a, b distance squared, since the stretch 1 + G is common to both colours and
//    at least 1.
//  - The mean stretched chroma is at most 1.5 times the mean chroma (G <= 0.5), which bounds
//    SC from above and the rotation weight RC (increasing in chroma) as well; the rotation
//    angle is at most 30 degrees, so |RT| / 2 <= sin(60 degrees) * RC / 2.
// The bound grows with |dL| and with the a, b distance, and shrinks as the lightness weight
// or the mean chroma grows, so it holds for a whole box of colours when fed the box's smallest
// gaps, the largest lightness weight and the largest chroma.
double BoundFromTerms(double dL, double sL, double dab2, double meanChroma) {
    constexpr double k25To7 = 6103515625.0;
    constexpr double kSin60 = 0.86602540378443865;
    const double cMax = 1.5 * meanChroma;
    const double sC = 1 + 0.045 * cMax;
    const double c2 = cMax * cMax;
    const double c7 = c2 * c2 * c2 * cMax;
    const double keep = 1 - kSin60 * std::sqrt(c7 / (c7 + k25To7));
    const double l = dL / sL;
    return l * l + keep * dab2 / (sC * sC);
}

double LightnessWeight(double lMean) {
    const double lOff2 = (lMean - 50) * (lMean - 50);
    return 1 + 0.015 * lOff2 / std::sqrt(20 + lOff2);
}

// The hue weight T of the formula stays within these over every hue (sampled every 0.001
// degree it runs from 0.36206 to 1.57247; its slope is below 0.05 per degree).
constexpr double kHueWeightMin = 0.36;
constexpr double kHueWeightMax = 1.58;

// A lower bound on the square of CIEDE2000 for one pair, without the trigonometry. Everything but
// the hue weight T and the rotation term RT is computed as the formula does: the stretched chromas
// from the common stretch 1 + G, the lightness and chroma terms, and the size of the hue
// difference, since dH'^2 is the squared distance in the stretched a'b' plane less dC'^2.
// T is only known to lie within its range, which bounds the hue weight SH and so the hue term
// |h|; the rotation term RT * c * h is at least -sin(60 degrees) * RC * |c| * |h|. What is
// left, h^2 - r * |c| * |h|, is smallest where |h| is nearest to r * |c| / 2 within its range.
// Ignoring only T and RT, this is several times tighter than the box's bound.
double PairBoundSquared(const Prepared& q, const Prepared& t) {
    constexpr double k25To7 = 6103515625.0;
    constexpr double kSin60 = 0.86602540378443865;
    const double cMean = (q.chroma + t.chroma) / 2;
    const double cMean7 = Pow7(cMean);
    const double stretch = 1.5 - 0.5 * std::sqrt(cMean7 / (cMean7 + k25To7));
    const double stretch2 = stretch * stretch;
    const double c1 = std::sqrt(stretch2 * q.a2 + q.b2);
    const double c2 = std::sqrt(stretch2 * t.a2 + t.b2);
    const double dC = std::abs(c2 - c1);
    const double da = stretch * (q.lab.a - t.lab.a);
    const double db = q.lab.b - t.lab.b;
    const double dH = std::sqrt(std::max(0.0, da * da + db * db - dC * dC));
    const double cMeanP = (c1 + c2) / 2;
    const double cMeanP7 = Pow7(cMeanP);
    const double r = kSin60 * 2 * std::sqrt(cMeanP7 / (cMeanP7 + k25To7));
    const double l = (q.lab.L - t.lab.L) / LightnessWeight((q.lab.L + t.lab.L) / 2);
    const double c = dC / (1 + 0.045 * cMeanP);
    const double hLow = dH / (1 + 0.015 * cMeanP * kHueWeightMax);
    const double hHigh = dH / (1 + 0.015 * cMeanP * kHueWeightMin);
    const double h = std::clamp(r * c / 2, hLow, hHigh);
    return l * l + c * c + h * h - r * c * h;
}

// From above, with every weight at least 1, |RT| / 2 below 0.8661 and the stretch 1 + G at
// most 1.5: the difference squared is at most dL^2 + 1.8661 * 2.25 * (a, b distance)^2.
constexpr double kUpperChromaFactor = 4.2;

// Colours inside the sRGB gamut (and a margin) are looked up in boxes of kBoxSide units of L,
// a and b. Each box keeps the threads in ascending order of their bound over the whole box,
// cut where the bound passes the smallest upper bound any thread has over the box (no thread
// after that can be nearest to a colour in it).
constexpr double kBoxSide = 2;
constexpr int kBoxesL = 50;   // L 0..100
constexpr int kBoxesAB = 128; // a and b -128..128
constexpr double kABOrigin = -128;
constexpr int kBoxCount = kBoxesL * kBoxesAB * kBoxesAB;

struct Candidate {
    double bound; // squared lower bound over the box
    int thread;
};

struct BoxList {
    std::vector<Candidate> candidates;
    int likely = 0; // the thread nearest to the box's centre
};

// Inside a box the threads come in ascending order of their bound over the box, so the walk
// stops at the first whose bound passes the best difference so far, and threads before it are
// skipped on their own bound. Measuring a likely thread first (`first`, 0 for none) makes the
// best difference small from the start. A skipped thread is strictly farther than the best so
// far, which is no nearer than the final answer, so it could neither win nor tie; ties among the
// measured threads go to the lower number as in the plain scan.
int NearestInBox(const BoxList& box, const Lab& color, int first);

// Squared distance from v to the interval lo..hi (0 inside), and the largest squared distance.
double GapSquared(double v, double lo, double hi) {
    const double d = v < lo ? lo - v : v > hi ? v - hi : 0;
    return d * d;
}
double ReachSquared(double v, double lo, double hi) {
    const double d = std::max(std::abs(v - lo), std::abs(v - hi));
    return d * d;
}

// The largest squared lower bound a thread may have and still be as near as a thread whose
// squared difference is `squared`. The slack covers the rounding of the bounds and of the
// difference itself: a few units in the last place of terms of the size of the difference, or
// of the colours' own size when the best difference is close to nothing. It is far below the
// bounds' looseness.
constexpr double kSlack = 1 + 1e-9;
double SquaredLimit(double squared) {
    return squared * kSlack + 1e-12;
}

const BoxList* BuildBox(int box) {
    const ThreadColors& colors = Colors();
    const int li = box / (kBoxesAB * kBoxesAB);
    const int ai = box / kBoxesAB % kBoxesAB;
    const int bi = box % kBoxesAB;
    const double l0 = li * kBoxSide;
    const double l1 = l0 + kBoxSide;
    const double a0 = kABOrigin + ai * kBoxSide;
    const double a1 = a0 + kBoxSide;
    const double b0 = kABOrigin + bi * kBoxSide;
    const double b1 = b0 + kBoxSide;
    const double qChromaMax = std::sqrt(std::max(a0 * a0, a1 * a1) + std::max(b0 * b0, b1 * b1));
    auto list = std::make_unique<BoxList>();
    double cut = 1e300;
    for (int i = 1; i <= kThreadCount; ++i) {
        const Lab& t = colors[static_cast<std::size_t>(i)].lab;
        // The lightness weight is largest where the mean lightness is farthest from 50.
        const double sL =
            std::max(LightnessWeight((l0 + t.L) / 2), LightnessWeight((l1 + t.L) / 2));
        const double bound =
            BoundFromTerms(std::sqrt(GapSquared(t.L, l0, l1)), sL,
                           GapSquared(t.a, a0, a1) + GapSquared(t.b, b0, b1),
                           (qChromaMax + colors[static_cast<std::size_t>(i)].chroma) / 2);
        const double upper =
            ReachSquared(t.L, l0, l1) +
            kUpperChromaFactor * (ReachSquared(t.a, a0, a1) + ReachSquared(t.b, b0, b1));
        cut = std::min(cut, upper);
        list->candidates.push_back({bound, i});
    }
    std::sort(list->candidates.begin(), list->candidates.end(),
              [](const Candidate& x, const Candidate& y) {
                  return x.bound < y.bound || (x.bound == y.bound && x.thread < y.thread);
              });
    const auto end = std::find_if(list->candidates.begin(), list->candidates.end(),
                                  [&](const Candidate& c) { return c.bound > cut * kSlack; });
    list->candidates.erase(end, list->candidates.end());
    list->candidates.shrink_to_fit();
    list->likely = NearestInBox(*list, Lab{(l0 + l1) / 2, (a0 + a1) / 2, (b0 + b1) / 2}, 0);
    return list.release();
}

// Boxes are worked out on first use; two threads may build the same box at once, and the
// second's identical list is dropped. The lists live as long as the program.
std::array<std::atomic<const BoxList*>, kBoxCount> gBoxes{};

const BoxList* BoxOf(const Lab& color) {
    const double li = std::floor(color.L / kBoxSide);
    const double ai = std::floor((color.a - kABOrigin) / kBoxSide);
    const double bi = std::floor((color.b - kABOrigin) / kBoxSide);
    // A colour on the upper edge of the range belongs to the last box, which still covers it.
    const auto clampEdge = [](double index, double value, double top, int count) {
        return value == top ? count - 1 : index;
    };
    const double l = clampEdge(li, color.L, 100, kBoxesL);
    const double a = clampEdge(ai, color.a, -kABOrigin, kBoxesAB);
    const double b = clampEdge(bi, color.b, -kABOrigin, kBoxesAB);
    if (!(l >= 0 && l < kBoxesL && a >= 0 && a < kBoxesAB && b >= 0 && b < kBoxesAB)) {
        return nullptr;
    }
    const int box =
        (static_cast<int>(l) * kBoxesAB + static_cast<int>(a)) * kBoxesAB + static_cast<int>(b);
    std::atomic<const BoxList*>& slot = gBoxes[static_cast<std::size_t>(box)];
    const BoxList* list = slot.load(std::memory_order_acquire);
    if (list != nullptr) {
        return list;
    }
    const BoxList* built = BuildBox(box);
    if (slot.compare_exchange_strong(list, built, std::memory_order_acq_rel)) {
        return built;
    }
    delete built;
    return list;
}

struct Bounded {
    double lower; // squared lower bound for the colour being matched
    int thread;
};

// Measures the candidate with the smallest lower bound first, then only those whose bound does
// not pass the best difference so far. A skipped thread is strictly farther than the best so
// far, which is no nearer than the final answer, so it could neither win nor tie; ties among
// the measured threads go to the lower number as in the plain scan.
int NearestAmong(const Lab& color, std::span<const Bounded> candidates) {
    const ThreadColors& colors = Colors();
    const Bounded& seed =
        *std::min_element(candidates.begin(), candidates.end(),
                          [](const Bounded& x, const Bounded& y) { return x.lower < y.lower; });
    double best = DeltaE2000(color, colors[static_cast<std::size_t>(seed.thread)].lab);
    int chosen = seed.thread;
    double limit = SquaredLimit(best * best);
    for (const Bounded& c : candidates) {
        if (c.lower > limit || &c == &seed) {
            continue;
        }
        const double d = DeltaE2000(color, colors[static_cast<std::size_t>(c.thread)].lab);
        if (d < best || (d == best && c.thread < chosen)) {
            best = d;
            chosen = c.thread;
            limit = SquaredLimit(best * best);
        }
    }
    return chosen;
}

int NearestInBox(const BoxList& box, const Lab& color, int first) {
    const ThreadColors& colors = Colors();
    const Prepared query = Prepare(color);
    double best = first == 0 ? 0 : DeltaE2000(color, colors[static_cast<std::size_t>(first)].lab);
    double limit = first == 0 ? 1e300 : SquaredLimit(best * best);
    int chosen = first;
    for (const Candidate& c : box.candidates) {
        if (c.bound > limit) {
            break;
        }
        const auto k = static_cast<std::size_t>(c.thread);
        if (c.thread == first || PairBoundSquared(query, colors[k]) > limit) {
            continue;
        }
        const double d = DeltaE2000(color, colors[k].lab);
        if (chosen == 0 || d < best || (d == best && c.thread < chosen)) {
            best = d;
            chosen = c.thread;
            limit = SquaredLimit(best * best);
        }
    }
    return chosen;
}

} // namespace

const Lab& ThreadLab(int thread) {
    return Colors()[static_cast<std::size_t>(thread)].lab;
}

int NearestThreadPerceptualByScan(const Lab& color) {
    const ThreadColors& colors = Colors();
    double best = 0;
    int chosen = 0;
    for (int i = 1; i <= kThreadCount; ++i) {
        const double d = DeltaE2000(color, colors[static_cast<std::size_t>(i)].lab);
        if (chosen == 0 || d < best) {
            best = d;
            chosen = i;
        }
    }
    return chosen;
}

int NearestThreadPerceptual(const Lab& color) {
    const BoxList* box = BoxOf(color);
    if (box != nullptr) {
        return NearestInBox(*box, color, box->likely);
    }
    const ThreadColors& colors = Colors();
    const Prepared query = Prepare(color);
    std::array<Bounded, kThreadCount> bounded;
    for (int i = 1; i <= kThreadCount; ++i) {
        bounded[static_cast<std::size_t>(i - 1)] = {
            PairBoundSquared(query, colors[static_cast<std::size_t>(i)]), i};
    }
    return NearestAmong(color, bounded);
}

namespace {

Real ThreadDifference(std::uint32_t a, std::uint32_t b) {
    return DeltaE2000(ThreadLab(static_cast<int>(a)), ThreadLab(static_cast<int>(b)));
}

bool KeepNearerToWeightedMean(std::uint32_t first, std::uint32_t second, const ThreadUsage& usage) {
    const Lab& x = ThreadLab(static_cast<int>(first));
    const Lab& y = ThreadLab(static_cast<int>(second));
    const auto wx = static_cast<double>(usage[first]);
    const auto wy = static_cast<double>(usage[second]);
    if (wx + wy <= 0) {
        return true;
    }
    const Lab mean{(x.L * wx + y.L * wy) / (wx + wy), (x.a * wx + y.a * wy) / (wx + wy),
                   (x.b * wx + y.b * wy) / (wx + wy)};
    const double dx = DeltaE2000(x, mean);
    const double dy = DeltaE2000(y, mean);
    if (dx != dy) {
        return dx < dy;
    }
    return !(usage[first] < usage[second]);
}

} // namespace

PairMergeRule PerceptualMergeRule() {
    return PairMergeRule{ThreadDifference, KeepNearerToWeightedMean};
}

} // namespace pelvano
