#pragma once

#include "core/lattice/LatticeElement.h"
#include "core/lattice/LatticeLayout.h"
#include "core/pitch/FileResult.h"

#include <cstdint>
#include <deque>
#include <string>

namespace tv {

struct Scale;

// The pitches behind one lattice window: an ordered list of elements that only grows at the
// end or is emptied as a whole, the scale's title and the layout style. Where the labels are
// drawn is the window's business. Every indexed accessor answers an index out of range with a
// neutral value instead of failing.
class Lattice {
public:
    // Element counts are 16-bit wherever the lattice is indexed.
    static constexpr std::uint16_t maxElements = 65535;

    // Layout styles: 0 the lattice of prime steps, 1 the circle by size. 2..4 are accepted and
    // keep the places they find; new elements are placed on the circle in them.
    static constexpr int latticeStyle = 0;
    static constexpr int planetaryStyle = 1;
    static constexpr int maxStyle = 4;

    Lattice();

    std::uint16_t count() const { return static_cast<std::uint16_t>(elements_.size()); }
    // The element at `index`, or null out of range. Element addresses stay valid while
    // elements are added; `clear` ends them.
    const LatticeElement* element(int index) const;
    LatticeElement* element(int index);

    // Append an element and place it by the current style. False, with nothing added, when
    // the lattice already holds `maxElements`.
    bool addRatio(const std::string& name, std::uint32_t numerator, std::uint32_t denominator);
    bool addCents(const std::string& name, double cents);
    // Removes every element; title, style and autoNormalise stay.
    void clear();
    // Replaces the elements with the twelve-note default scale; the title stays. Gives 1.
    int loadDefaultScale();

    // Switches to `style` (0..4) and places every element again; out of range changes
    // nothing. Gives the style in force afterwards.
    int setStyle(int style);
    int style() const { return style_; }

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }

    // Zero the exponents and place the element by the current style; its limits follow.
    void placeRatio(LatticeElement& element, std::uint32_t numerator, std::uint32_t denominator);
    void placeCents(LatticeElement& element, double cents);
    // Style 0 plot positions of every element from their layout coordinates.
    void normalise();
    LayoutBounds bounds() const { return layoutBounds(elements_); }

    // While true, placing a ratio in style 0 re-normalises the whole lattice at once; bulk
    // operations switch it off and normalise once at their end.
    bool autoNormalise() const { return autoNormalise_; }
    void setAutoNormalise(bool on) { autoNormalise_ = on; }

    std::string name(int index) const;
    std::string setName(int index, const std::string& text);
    std::uint32_t numerator(int index) const;
    std::uint32_t setNumerator(int index, std::uint32_t value);
    std::uint32_t denominator(int index) const;
    std::uint32_t setDenominator(int index, std::uint32_t value);
    double cents(int index) const;
    double setCents(int index, double value);
    std::int16_t octave(int index) const;
    std::int16_t setOctave(int index, std::int16_t value);
    std::uint16_t plotX(int index) const;
    std::uint16_t plotY(int index) const;
    std::uint32_t limit(int index) const;
    std::uint32_t oLimit(int index) const;
    std::uint32_t uLimit(int index) const;
    Rgb numeratorTextColour(int index) const;
    Rgb numeratorFillColour(int index) const;
    Rgb denominatorTextColour(int index) const;
    Rgb denominatorFillColour(int index) const;
    bool selected(int index) const;
    void setSelected(int index, bool value);
    // "e3 e5 e7 e11 e13"; empty out of range.
    std::string exponentText(int index) const;

    // Replaces the elements and title with the scale's, when the scale got as far as its
    // title and count; otherwise changes nothing. Elements are added with autoNormalise off,
    // which is on afterwards; style 0 is normalised once at the end.
    void loadScale(const Scale& scale);
    // The title and the elements as a scale to write: ratio elements as ratios, cents-only
    // elements as cents.
    Scale toScale() const;
    // parseScalaFile, then loadScale.
    FileResult readScala(const std::string& path);
    FileResult writeScala(const std::string& path) const;

    // Equal when every element (selection included), the title, the style and
    // autoNormalise are: an undone change gives back an equal lattice.
    bool operator==(const Lattice&) const = default;

private:
    LatticeElement& append(const std::string& name);

    std::deque<LatticeElement> elements_;
    int style_ = latticeStyle;
    std::string title_;
    bool autoNormalise_ = true;
};

}  // namespace tv
