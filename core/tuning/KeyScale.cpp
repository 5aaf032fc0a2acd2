#include "core/tuning/KeyScale.h"

#include "core/lattice/Lattice.h"
#include "core/pitch/Ratio.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

namespace tv {
namespace {

// Degrees closer than this count as one size: far below anything a listener could tell apart,
// far above the rounding of a ratio's cents.
constexpr double sameSizeCents = 1e-6;

// n/d brought into [1/1, 2/1) by factors of 2, in lowest terms.
std::optional<KeyDegree> ratioDegree(std::uint64_t n, std::uint64_t d)
{
    if (n == 0 || d == 0)
        return std::nullopt;
    const std::uint64_t common = std::gcd(n, d);
    n /= common;
    d /= common;
    while (n >= 2 * d) {
        if (n % 2 == 0)
            n /= 2;
        else
            d *= 2;
    }
    while (n < d) {
        if (d % 2 == 0)
            d /= 2;
        else
            n *= 2;
    }
    KeyDegree degree;
    degree.numerator = static_cast<std::uint32_t>(n);
    degree.denominator = static_cast<std::uint32_t>(d);
    degree.cents = ratioCents(static_cast<double>(n), static_cast<double>(d));
    return degree;
}

std::optional<KeyDegree> centsDegree(double cents)
{
    if (!std::isfinite(cents))
        return std::nullopt;
    double within = std::fmod(cents, 1200.0);
    if (within < 0.0)
        within += 1200.0;
    // -1e-20 comes back as 1200 - 1e-20, which is 1200 in a double.
    if (within >= 1200.0)
        within = 0.0;
    KeyDegree degree;
    degree.numerator = 0;
    degree.denominator = 0;
    degree.cents = within;
    return degree;
}

int floorDiv(int a, int b) { return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0); }

}  // namespace

KeyScale::KeyScale() : degrees_{KeyDegree{}} {}

KeyScale::KeyScale(const Lattice& lattice) : degrees_{KeyDegree{}}
{
    for (int i = 0; i < lattice.count(); ++i) {
        const auto degree = elementDegree(lattice, i);
        if (degree)
            degrees_.push_back(*degree);
    }
    std::stable_sort(degrees_.begin(), degrees_.end(),
                     [](const KeyDegree& a, const KeyDegree& b) { return a.cents < b.cents; });
    std::vector<KeyDegree> kept;
    for (const KeyDegree& degree : degrees_) {
        if (kept.empty() || degree.cents - kept.back().cents >= sameSizeCents)
            kept.push_back(degree);
        else if (degree.isRatio() && !kept.back().isRatio())
            kept.back() = degree;  // of one size, the exact ratio is kept
    }
    // Sizes just below 1200 are 1/1 an octave up.
    while (kept.size() > 1 && 1200.0 - kept.back().cents < sameSizeCents)
        kept.pop_back();
    degrees_ = std::move(kept);
}

std::optional<KeyDegree> KeyScale::elementDegree(const Lattice& lattice, int index)
{
    const std::uint32_t d = lattice.denominator(index);
    return d != 0 ? ratioDegree(lattice.numerator(index), d) : centsDegree(lattice.cents(index));
}

bool KeyScale::sameSize(const KeyDegree& a, const KeyDegree& b)
{
    // Sizes just below 1200 are 1/1 an octave up.
    const double apart = std::fabs(a.cents - b.cents);
    return apart < sameSizeCents || 1200.0 - apart < sameSizeCents;
}

KeyPitch KeyScale::pitch(int degree) const
{
    const int n = size();
    KeyPitch pitch;
    pitch.octave = floorDiv(degree, n);
    pitch.degree = degrees_[static_cast<std::size_t>(degree - pitch.octave * n)];
    pitch.cents = pitch.octave * 1200.0 + pitch.degree.cents;
    return pitch;
}

}  // namespace tv
