#pragma once

#include "core/script/TextCursor.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tv {

class ScriptWarnings;

// A word of the expanded text and where it came from in the original text.
struct ScriptWord {
    std::string_view text;
    // Byte offset in the original text: of the word itself or, for a word from a variable's
    // value, of the "$" word that gave it.
    std::size_t offset = 0;
};

// A script text with its SET definitions taken out and its "$" words replaced, read as a
// stream of words. The expansion runs lazily, one piece at a time, and copies nothing: every
// piece and word is a view into the text, whose values are parts of it too.
//
// Pieces: every word of the text except SET definitions, with a "$name" word replaced by the
// variable's value and "$name[i]" by word i of it (words counted from 0, separated by
// spaces). A variable is known from its SET onward and its value is used as written.
//
// Given a collector, it warns of a SET without name or value and of "$" words that give no
// text because their variable is not defined or has no such word.
class ExpandedText {
public:
    explicit ExpandedText(std::string_view text, ScriptWarnings* warnings = nullptr)
        : raw_(text), warnings_(warnings)
    {
    }
    ExpandedText(const ExpandedText&) = delete;
    ExpandedText& operator=(const ExpandedText&) = delete;

    // The next word of the expanded text, or nothing at its end. The view points into the
    // text given to the constructor.
    std::optional<ScriptWord> nextWord(bool commaSeparates);

    // The next produced piece (possibly empty), nothing at the end of the text.
    std::optional<std::string_view> nextPiece();

private:
    void define(std::string_view setWord);
    std::string_view expandWord(std::string_view word, std::size_t offset) const;
    const std::string_view* find(std::string_view name) const;
    std::size_t offsetOf(std::string_view rawWord) const;

    TextCursor raw_;
    ScriptWarnings* warnings_ = nullptr;
    std::map<std::string, std::string_view, std::less<>> variables_;
    TextCursor pieceCursor_;
    std::size_t pieceOffset_ = 0;  // of the raw word the current piece came from
    bool pieceIsValue_ = false;    // the piece is a variable's value
};

// Every piece followed by one space: the text the compiler reads (for tests and tools).
std::string expandVariables(std::string_view text);

// Word `index` of a variable's value, as "$name[index]" picks it; empty when there is none.
// Words are separated by spaces; white space as number reading skips it (vertical tab and
// form feed too) is trimmed from both ends of the value, of what is left after each word and
// of the word picked.
std::string_view pickValueWord(std::string_view value, std::int64_t index);

}  // namespace tv
