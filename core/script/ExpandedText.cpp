#include "core/script/ExpandedText.h"

#include "core/script/ScriptNumbers.h"

#include <algorithm>
#include <vector>

namespace tv {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::string_view pickValueWord(std::string_view value, std::int64_t index)
{
    // Leading blanks are dropped first: a value typed with two spaces after "=" would
    // otherwise start with an empty word and hide all of its words.
    std::string_view rest = trimBlanks(value);
    for (std::int64_t k = 0;; ++k) {
        const std::size_t space = rest.find(' ');
        const std::string_view word = rest.substr(0, space);
        if (word.empty())
            return {};
        if (k == index)
            return word;
        if (space == std::string_view::npos)
            return {};
        rest = trimBlanks(rest.substr(space + 1));
    }
}

std::optional<std::string_view> ExpandedText::nextWord(bool commaSeparates)
{
    for (;;) {
        if (const auto word = pieceCursor_.nextWord(commaSeparates))
            return word;
        if (!nextPiece(piece_))
            return std::nullopt;
        pieceCursor_ = TextCursor(piece_);
    }
}

bool ExpandedText::nextPiece(std::string& piece)
{
    while (const auto word = raw_.nextWord(false)) {
        if (equalsIgnoringCase(*word, "SET")) {
            define();
            continue;
        }
        if (word->front() == '$')
            piece.assign(expandWord(*word));
        else
            piece.assign(*word);
        return true;
    }
    return false;
}

void ExpandedText::define()
{
    const auto name = raw_.nextWord(true);
    if (!name)
        return;
    const std::string key(*name);
    const auto valueWord = raw_.nextWord(true);
    if (!valueWord)
        return;
    if (valueWord->front() != '=') {
        variables_[key] = std::string(*valueWord);
        return;
    }

    // "=": the value is the rest of its line after the separator that ended the word. When
    // the "=" ends its line (trailing blanks allowed, CR LF or LF), the value is the whole
    // next line instead.
    const std::string_view text = raw_.text();
    const std::size_t wordEnd =
        static_cast<std::size_t>(valueWord->data() + valueWord->size() - text.data());
    std::size_t lineEnd = text.find('\n', wordEnd);
    if (lineEnd == std::string_view::npos)
        lineEnd = text.size();
    std::size_t start = wordEnd + 1;
    if (trimBlanks(text.substr(wordEnd, lineEnd - wordEnd)).empty()) {
        start = lineEnd + 1;
        lineEnd = start < text.size() ? text.find('\n', start) : std::string_view::npos;
        if (lineEnd == std::string_view::npos)
            lineEnd = text.size();
    }
    start = std::min(start, lineEnd);
    std::string_view value = text.substr(start, lineEnd - start);
    value = value.substr(0, value.find('\r'));
    variables_[key] = std::string(value);
    raw_.seek(lineEnd);
}

std::string_view ExpandedText::valueOf(std::string_view name) const
{
    const auto found = variables_.find(name);
    return found == variables_.end() ? std::string_view() : std::string_view(found->second);
}

std::string_view ExpandedText::expandWord(std::string_view word) const
{
    // "$a[$b[$c]]" nests: collect the chain of indexed names from the outside in, then pick
    // from the inside out. Iterative, so a long word cannot exhaust the stack.
    std::vector<std::string_view> indexed;
    std::string_view innermost;
    for (std::string_view current = word;;) {
        const std::size_t open = current.find('[');
        if (open == std::string_view::npos) {
            innermost = valueOf(current);
            break;
        }
        indexed.push_back(current.substr(0, open));
        const std::string_view afterOpen = current.substr(open + 1);
        const std::string_view index = afterOpen.substr(0, afterOpen.find(']'));
        if (index.empty() || index.front() != '$') {
            innermost = index;
            break;
        }
        current = index;
    }
    std::string_view text = innermost;
    for (auto name = indexed.rbegin(); name != indexed.rend(); ++name)
        text = pickValueWord(valueOf(*name), leadingInteger(text).value);
    return text;
}

std::string expandVariables(std::string_view text)
{
    ExpandedText expanded(text);
    std::string out;
    std::string piece;
    while (expanded.nextPiece(piece)) {
        out += piece;
        out += ' ';
    }
    return out;
}

}  // namespace tv
