#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tv {

class Lattice;

// One pitch of a key scale, within the octave: a ratio from 1/1 up to below 2/1 in lowest
// terms, or (denominator 0) a size in cents from 0 up to below 1200.
struct KeyDegree {
    std::uint32_t numerator = 1;
    std::uint32_t denominator = 1;
    double cents = 0.0;

    bool isRatio() const { return denominator != 0; }
};

// The pitch a scale degree stands for: a degree within the octave, so many octaves up (down
// when negative).
struct KeyPitch {
    KeyDegree degree;
    int octave = 0;
    // Above 1/1: octave * 1200 plus the degree's size.
    double cents = 0.0;
};

// The pitches a keyboard plays: a lattice's pitches brought into the octave, in order of size,
// each size once, and 1/1 always degree 0 whether the lattice holds it or not. The scale
// repeats every 2/1: with N degrees, degree d is degree d mod N, d div N octaves up (both
// rounded toward minus infinity), so degree N is 2/1 and degree -1 the largest a 2/1 lower.
class KeyScale {
public:
    // 1/1 alone.
    KeyScale();
    // Elements with no size (a zero term, a cents value that is not a finite number) are left
    // out.
    explicit KeyScale(const Lattice& lattice);

    int size() const { return static_cast<int>(degrees_.size()); }
    const std::vector<KeyDegree>& degrees() const { return degrees_; }
    KeyPitch pitch(int degree) const;

    // The degree within the octave that element `index` of `lattice` stands for; nothing for
    // an element with no size.
    static std::optional<KeyDegree> elementDegree(const Lattice& lattice, int index);
    // Whether two degrees are one size.
    static bool sameSize(const KeyDegree& a, const KeyDegree& b);

private:
    std::vector<KeyDegree> degrees_;
};

}  // namespace tv
