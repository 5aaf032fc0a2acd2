#pragma once

#include "core/script/TextCursor.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tv {

// A script text with its SET definitions taken out and its "$" words replaced, read as a
// stream of words. The expansion runs lazily, one piece at a time, so a variable used many
// times never builds the whole expanded text in memory.
//
// Pieces: every word of the text except SET definitions, with a "$name" word replaced by the
// variable's value and "$name[i]" by word i of it (words counted from 0, separated by
// spaces). A variable is known from its SET onward and its value is used as written.
class ExpandedText {
public:
    explicit ExpandedText(std::string_view text) : raw_(text) {}
    ExpandedText(const ExpandedText&) = delete;
    ExpandedText& operator=(const ExpandedText&) = delete;

    // The next word of the expanded text, or nothing at its end. The view stays valid until
    // the next call.
    std::optional<std::string_view> nextWord(bool commaSeparates);

    // The next produced piece (possibly empty), false at the end of the text.
    bool nextPiece(std::string& piece);

private:
    void define();
    std::string_view expandWord(std::string_view word) const;
    std::string_view valueOf(std::string_view name) const;

    TextCursor raw_;
    std::map<std::string, std::string, std::less<>> variables_;
    std::string piece_;
    TextCursor pieceCursor_;
};

// Every piece followed by one space: the text the compiler reads (for tests and tools).
std::string expandVariables(std::string_view text);

// Word `index` of a variable's value, as "$name[index]" picks it; empty when there is none.
std::string_view pickValueWord(std::string_view value, std::int64_t index);

}  // namespace tv
