#include "core/lattice/ScaleShapes.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <numeric>

namespace tv {
namespace {

constexpr std::uint32_t maxFactor = 65535;

// n brought into [1, 2) over a power of two, in lowest terms; nothing when a term would not
// fit in 32 bits.
std::optional<ScalaPitch> octaveReduced(std::uint64_t n)
{
    while (n % 2 == 0 && n > 1)
        n /= 2;
    std::uint64_t d = 1;
    while (d * 2 <= n)
        d *= 2;
    if (n > 0xFFFFFFFFull)
        return std::nullopt;
    return ScalaPitch{ScalaPitch::Kind::ratio, static_cast<std::uint32_t>(n),
                      static_cast<std::uint32_t>(d), 0.0};
}

// Sorted by size, each ratio once; false when a product was too large.
bool addReduced(std::vector<ScalaPitch>& pitches, const std::vector<std::uint64_t>& products)
{
    for (const std::uint64_t product : products) {
        const auto pitch = octaveReduced(product);
        if (!pitch)
            return false;
        pitches.push_back(*pitch);
    }
    sortDistinctRatios(pitches);
    return true;
}

// The products of the chosen factors, over all choices the mask allows; `k` 0 means any count.
// Factors are at most 16 bits and at most 16 of them, so a product of up to four fits in 64
// bits; longer ones are checked as they grow.
std::vector<std::uint64_t> products(const std::vector<std::uint32_t>& factors, std::size_t k,
                                    bool& tooLarge)
{
    std::vector<std::uint64_t> result;
    const std::size_t count = std::min(factors.size(), maxShapeFactors);
    for (std::uint32_t mask = 0; mask < (1u << count); ++mask) {
        if (k != 0 && static_cast<std::size_t>(std::popcount(mask)) != k)
            continue;
        std::uint64_t product = 1;
        for (std::size_t i = 0; i < count; ++i) {
            if ((mask & (1u << i)) == 0)
                continue;
            product *= factors[i];
            // Powers of two come out again in the octave reduction; only the odd part counts.
            while (product % 2 == 0)
                product /= 2;
            if (product > 0xFFFFFFFFull)
                tooLarge = true;
        }
        result.push_back(product);
    }
    return result;
}

std::string notAFactor(std::string_view word)
{
    std::string text;
    text.reserve(word.size() + 40);
    text.push_back('\'');
    text.insert(text.end(), word.begin(), word.end());
    text += "' is not a factor from 1 to 65535";
    return text;
}

std::optional<std::vector<std::uint32_t>> parseFactors(std::string_view text, std::string& message)
{
    std::vector<std::uint32_t> factors;
    std::size_t at = 0;
    while (true) {
        while (at < text.size() && text[at] == ' ')
            ++at;
        if (at == text.size())
            break;
        std::size_t end = text.find(' ', at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view word = text.substr(at, end - at);
        std::uint32_t value = 0;
        const auto [stop, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error != std::errc() || stop != word.data() + word.size() || value < 1 ||
            value > maxFactor) {
            message = notAFactor(word);
            return std::nullopt;
        }
        factors.push_back(value);
        at = end;
    }
    if (factors.empty()) {
        message = "Give the factors, separated by spaces";
        return std::nullopt;
    }
    if (factors.size() > maxShapeFactors) {
        message = "At most " + std::to_string(maxShapeFactors) + " factors";
        return std::nullopt;
    }
    return factors;
}

ShapeScale finished(std::string title, std::vector<ScalaPitch> pitches)
{
    ShapeScale shape;
    shape.scale = Scale{};
    shape.scale->title = std::move(title);
    shape.scale->pitches = std::move(pitches);
    return shape;
}

const char* const tooLargeMessage = "A product of these factors is too large for a ratio";

}  // namespace

std::vector<ScalaPitch> eulerFokkerGenus(const std::vector<std::uint32_t>& factors)
{
    bool tooLarge = false;
    const auto all = products(factors, 0, tooLarge);
    std::vector<ScalaPitch> pitches;
    if (tooLarge || !addReduced(pitches, all))
        return {};
    return pitches;
}

std::vector<ScalaPitch> combinationProductSet(std::size_t k,
                                              const std::vector<std::uint32_t>& factors)
{
    if (k == 0 || k > factors.size())
        return {};
    bool tooLarge = false;
    const auto chosen = products(factors, k, tooLarge);
    std::vector<ScalaPitch> pitches;
    if (tooLarge || !addReduced(pitches, chosen))
        return {};
    return pitches;
}

ShapeScale genusScale(std::string_view text)
{
    ShapeScale shape;
    const auto factors = parseFactors(text, shape.message);
    if (!factors)
        return shape;
    auto pitches = eulerFokkerGenus(*factors);
    if (pitches.empty()) {
        shape.message = tooLargeMessage;
        return shape;
    }
    std::string title = "Euler-Fokker genus";
    for (const std::uint32_t f : *factors)
        title.append(1, ' ').append(std::to_string(f));
    return finished(std::move(title), std::move(pitches));
}

ShapeScale combinationProductScale(std::string_view text)
{
    ShapeScale shape;
    const std::size_t of = text.find(" of ");
    std::size_t k = 0;
    const std::string_view count = of == std::string_view::npos ? text : text.substr(0, of);
    const auto [stop, error] = std::from_chars(count.data(), count.data() + count.size(), k);
    if (of == std::string_view::npos || error != std::errc() ||
        stop != count.data() + count.size()) {
        shape.message = "Give a count, \"of\" and the factors: 2 of 1 3 5 7";
        return shape;
    }
    const auto factors = parseFactors(text.substr(of + 4), shape.message);
    if (!factors)
        return shape;
    if (k < 1 || k > factors->size()) {
        shape.message = "The count must be from 1 to the number of factors";
        return shape;
    }
    auto pitches = combinationProductSet(k, *factors);
    if (pitches.empty()) {
        shape.message = tooLargeMessage;
        return shape;
    }
    std::string title = std::to_string(k) + " of";
    for (const std::uint32_t f : *factors)
        title.append(1, ' ').append(std::to_string(f));
    return finished(std::move(title) + " combination product set", std::move(pitches));
}

}  // namespace tv
