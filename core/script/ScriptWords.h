#pragma once

#include <optional>
#include <string_view>

namespace tv {

// The word forms of the script language, compared without regard to case.

// PLAY, SLEEP, REST, BASE, TEMPO.
bool isScriptKeyword(std::string_view word);
// A word beginning with "/" or "'": where a statement is expected, the script ends there.
bool isCommentWord(std::string_view word);

// The velocity of one of the twelve dynamics, ppppp (31) to fffff (127).
std::optional<int> dynamicVelocity(std::string_view word);

// Quarters per note-value letter. For a TEMPO beat, I counts 1/64 of a quarter instead.
std::optional<double> letterQuarters(char letter, bool forTempo);

// The pitch of a note name from Cb (-1) to B# (12), C being 0.
std::optional<int> noteNamePitch(std::string_view name);

// Reads "a:b" or, failing that, "a/b" as two reals; nothing when neither form reads or b is 0.
std::optional<double> tupletFactor(std::string_view text);

// The velocity a "!" value gives: "50%" a percentage, "0.5" a fraction, "64" the velocity
// itself; nothing when the value is outside its range.
std::optional<int> velocityValue(std::string_view valueWord, double value);

// A cents note word: a number with an optional sign and then "c" ending the word ("701.955c",
// "-13.7c", "+3c", "50C"); gives the cents.
std::optional<double> centsWord(std::string_view word);

}  // namespace tv
