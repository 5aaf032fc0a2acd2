#include "ui/editor/ScriptInsertions.h"

#include "core/pitch/NumberText.h"

#include <cmath>

namespace tv {
namespace {

constexpr InsertionItem commands[] = {
    {"Play", "Play "}, {"Sleep", "Sleep "}, {"Base", "Base "}, {"Tempo", "Tempo "}, {"Set", "Set "},
};

constexpr InsertionItem dynamics[] = {
    {"ppppp", "ppppp "}, {"pppp", "pppp "}, {"ppp", "ppp "},   {"pp", "pp "},
    {"p", "p "},         {"mp", "mp "},     {"mf", "mf "},     {"f", "f "},
    {"ff", "ff "},       {"fff", "fff "},   {"ffff", "ffff "}, {"fffff", "fffff "},
};

// The compiler reads a length letter from the first character of every word, and skips a word
// in parentheses only while the parentheses last. So a description of several words would be
// read as further letters ("hundred" a half, "whole)" a whole): those go in joined by hyphens.
// The letter I keeps the length it has always had in scripts, that of O.
constexpr InsertionItem noteValues[] = {
    {"msec", "msec "},
    {"sec", "sec "},
    {"d (double whole)", "d (double-whole) "},
    {"w (whole)", "w (whole) "},
    {"h (half)", "h (half) "},
    {"q (quarter)", "q (quarter) "},
    {"e (eighth)", "e (eighth) "},
    {"s (sixteenth)", "s (sixteenth) "},
    {"t (thirty-second)", "t (thirty-second) "},
    {"x (sixty-fourth)", "x (sixty-fourth) "},
    {"o (one hundred twenty-eigth)", "o (one-hundred-twenty-eighth) "},
    {"i (two hundred fifty-sixth)", "i (two-hundred-fifty-sixth) "},
};

}  // namespace

std::span<const InsertionItem> commandItems() { return commands; }
std::span<const InsertionItem> dynamicsItems() { return dynamics; }
std::span<const InsertionItem> noteValueItems() { return noteValues; }

std::string ratioInsertion(std::uint32_t numerator, std::uint32_t denominator)
{
    return ' ' + std::to_string(numerator) + '/' + std::to_string(denominator) + ' ';
}

std::optional<std::string> centsInsertion(double cents)
{
    if (!std::isfinite(cents))
        return std::nullopt;
    std::string number = formatFixed(cents, 6);
    while (number.back() == '0')
        number.pop_back();
    if (number.back() == '.')
        number.pop_back();
    // A value that rounds to nothing carries no sign.
    if (number == "-0")
        number = "0";
    return ' ' + number + "c ";
}

}  // namespace tv
