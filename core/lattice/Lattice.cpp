#include "core/lattice/Lattice.h"

#include "core/lattice/ScalaFile.h"

#include <array>
#include <cmath>

namespace tv {
namespace {

struct DefaultPitch {
    const char* name;
    std::uint32_t numerator;
    std::uint32_t denominator;
};

constexpr std::array<DefaultPitch, 12> defaultScale{{
    {"Unison", 1, 1},
    {"m2", 16, 15},
    {"M2", 9, 8},
    {"m3", 6, 5},
    {"M3", 5, 4},
    {"P4", 4, 3},
    {"T", 7, 5},
    {"P5", 3, 2},
    {"m6", 8, 5},
    {"M6", 5, 3},
    {"m7", 16, 9},
    {"M7", 15, 8},
}};

}  // namespace

Lattice::Lattice() { primeDirections(); }

const LatticeElement* Lattice::element(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= elements_.size())
        return nullptr;
    return &elements_[static_cast<std::size_t>(index)];
}

LatticeElement* Lattice::element(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= elements_.size())
        return nullptr;
    return &elements_[static_cast<std::size_t>(index)];
}

LatticeElement& Lattice::append(const std::string& name)
{
    auto& e = elements_.emplace_back();
    e.name = name;
    e.octave = 0;
    e.selected = false;
    return e;
}

bool Lattice::addRatio(const std::string& name, std::uint32_t numerator, std::uint32_t denominator)
{
    if (elements_.size() >= maxElements)
        return false;
    auto& e = append(name);
    e.numerator = numerator;
    e.denominator = denominator;
    placeRatio(e, numerator, denominator);
    return true;
}

bool Lattice::addCents(const std::string& name, double cents)
{
    if (elements_.size() >= maxElements)
        return false;
    auto& e = append(name);
    e.cents = cents;
    e.numerator = 0;
    e.denominator = 0;
    // A cents-only element has no lattice place of its own: it sits on the origin.
    e.layoutX = 500.0;
    e.layoutY = 500.0;
    placeCents(e, cents);
    if (style_ == latticeStyle && autoNormalise_)
        normalise();
    return true;
}

void Lattice::clear() { elements_.clear(); }

int Lattice::loadDefaultScale()
{
    clear();
    for (const auto& pitch : defaultScale)
        addRatio(pitch.name, pitch.numerator, pitch.denominator);
    return 1;
}

int Lattice::setStyle(int style)
{
    if (style < 0 || style > maxStyle)
        return style_;
    style_ = style;
    const bool wasAutoNormalise = autoNormalise_;
    autoNormalise_ = false;
    for (auto& e : elements_) {
        if (style == latticeStyle) {
            if (e.isRatio())
                placeRatio(e, e.numerator, e.denominator);
            else
                placeRatio(e, 0, 0);
        } else if (style == planetaryStyle) {
            if (e.isRatio()) {
                placeCents(e, ratioCents(e.numerator, e.denominator));
            } else {
                // Whole cents, truncated toward zero. The sign is kept: a pitch below the base
                // stays below it on the circle.
                placeCents(e, std::trunc(e.cents));
            }
        }
    }
    if (style == latticeStyle)
        normalise();
    autoNormalise_ = wasAutoNormalise;
    return style_;
}

void Lattice::placeRatio(LatticeElement& element, std::uint32_t numerator,
                         std::uint32_t denominator)
{
    clearExponents(element);
    if (style_ == latticeStyle) {
        placeOnLattice(element, numerator, denominator);
        if (autoNormalise_)
            normalise();
    } else {
        placeCents(element, ratioCents(numerator, denominator));
    }
    computeLimits(element);
}

void Lattice::placeCents(LatticeElement& element, double cents)
{
    clearExponents(element);
    placePlanetary(element, cents);
    computeLimits(element);
}

void Lattice::normalise() { normaliseLayout(elements_); }

std::string Lattice::name(int index) const
{
    const auto* e = element(index);
    return e ? e->name : std::string();
}

std::string Lattice::setName(int index, const std::string& text)
{
    auto* e = element(index);
    if (!e)
        return {};
    e->name = text;
    return text;
}

std::uint32_t Lattice::numerator(int index) const
{
    const auto* e = element(index);
    return e ? e->numerator : 1;
}

std::uint32_t Lattice::setNumerator(int index, std::uint32_t value)
{
    auto* e = element(index);
    if (!e)
        return 1;
    e->numerator = value;
    return value;
}

std::uint32_t Lattice::denominator(int index) const
{
    const auto* e = element(index);
    return e ? e->denominator : 1;
}

std::uint32_t Lattice::setDenominator(int index, std::uint32_t value)
{
    auto* e = element(index);
    if (!e)
        return 1;
    e->denominator = value;
    return value;
}

double Lattice::cents(int index) const
{
    const auto* e = element(index);
    return e ? e->cents : 0.0;
}

double Lattice::setCents(int index, double value)
{
    auto* e = element(index);
    if (!e)
        return 0.0;
    e->cents = value;
    return value;
}

std::int16_t Lattice::octave(int index) const
{
    const auto* e = element(index);
    return e ? e->octave : std::int16_t{0};
}

std::int16_t Lattice::setOctave(int index, std::int16_t value)
{
    auto* e = element(index);
    if (!e)
        return 0;
    e->octave = value;
    return value;
}

std::uint16_t Lattice::plotX(int index) const
{
    const auto* e = element(index);
    return e ? e->plotX : std::uint32_t{0};
}

std::uint16_t Lattice::plotY(int index) const
{
    const auto* e = element(index);
    return e ? e->plotY : std::uint32_t{0};
}

std::uint32_t Lattice::limit(int index) const
{
    const auto* e = element(index);
    return e ? e->limit : std::uint32_t{0};
}

std::uint32_t Lattice::oLimit(int index) const
{
    const auto* e = element(index);
    return e ? e->oLimit : std::uint32_t{0};
}

std::uint32_t Lattice::uLimit(int index) const
{
    const auto* e = element(index);
    return e ? e->uLimit : std::uint32_t{0};
}

Rgb Lattice::numeratorTextColour(int index) const
{
    const auto* e = element(index);
    return e ? limitTextColours[limitColourIndex(e->oLimit)] : Rgb{0};
}

Rgb Lattice::numeratorFillColour(int index) const
{
    const auto* e = element(index);
    return e ? limitFillColours[limitColourIndex(e->oLimit)] : Rgb{0};
}

Rgb Lattice::denominatorTextColour(int index) const
{
    const auto* e = element(index);
    return e ? limitTextColours[limitColourIndex(e->uLimit)] : Rgb{0};
}

Rgb Lattice::denominatorFillColour(int index) const
{
    const auto* e = element(index);
    return e ? limitFillColours[limitColourIndex(e->uLimit)] : Rgb{0};
}

bool Lattice::selected(int index) const
{
    const auto* e = element(index);
    return e ? e->selected : false;
}

void Lattice::setSelected(int index, bool value)
{
    if (auto* e = element(index))
        e->selected = value;
}

std::string Lattice::exponentText(int index) const
{
    const auto* e = element(index);
    return e ? tv::exponentText(*e) : std::string();
}

void Lattice::loadScale(const Scale& scale)
{
    static_assert(Scale::maxPitches == maxElements);
    if (!scale.hasHeader())
        return;
    clear();
    title_ = scale.title;
    autoNormalise_ = false;
    for (const ScalaPitch& pitch : scale.pitches) {
        if (pitch.kind == ScalaPitch::Kind::ratio)
            addRatio("", pitch.numerator, pitch.denominator);
        else if (pitch.kind == ScalaPitch::Kind::cents)
            addCents("", pitch.cents);
    }
    autoNormalise_ = true;
    if (style_ == latticeStyle)
        normalise();
}

Scale Lattice::toScale() const
{
    Scale scale;
    scale.title = title_;
    scale.pitches.reserve(elements_.size());
    for (const LatticeElement& e : elements_) {
        if (e.isRatio())
            scale.pitches.push_back({ScalaPitch::Kind::ratio, e.numerator, e.denominator, 0.0});
        else
            scale.pitches.push_back({ScalaPitch::Kind::cents, 0, 0, e.cents});
    }
    return scale;
}

FileResult Lattice::readScala(const std::string& path)
{
    const Scale scale = parseScalaFile(path);
    loadScale(scale);
    return scale.result();
}

FileResult Lattice::writeScala(const std::string& path) const
{
    return writeScalaFile(toScale(), path);
}

}  // namespace tv
