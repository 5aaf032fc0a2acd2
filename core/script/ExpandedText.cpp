#include "core/script/ExpandedText.h"

#include "core/script/ScriptNumbers.h"
#include "core/script/ScriptWarning.h"

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

std::string_view trimWhiteSpace(std::string_view text)
{
    while (!text.empty() && isScriptWhiteSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isScriptWhiteSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::string_view pickValueWord(std::string_view value, std::int64_t index)
{
    // Leading white space is dropped first: a value typed with two spaces after "=" would
    // otherwise start with an empty word and hide all of its words.
    std::string_view rest = trimWhiteSpace(value);
    for (std::int64_t k = 0;; ++k) {
        const std::size_t space = rest.find(' ');
        const std::string_view word = rest.substr(0, space);
        if (word.empty())
            return {};
        if (k == index)
            return trimWhiteSpace(word);
        if (space == std::string_view::npos)
            return {};
        rest = trimWhiteSpace(rest.substr(space + 1));
    }
}

std::optional<ScriptWord> ExpandedText::nextWord(bool commaSeparates)
{
    for (;;) {
        if (const auto word = pieceCursor_.nextWord(commaSeparates)) {
            const auto inPiece =
                static_cast<std::size_t>(word->data() - pieceCursor_.text().data());
            return ScriptWord{*word, pieceIsValue_ ? pieceOffset_ : pieceOffset_ + inPiece};
        }
        const auto piece = nextPiece();
        if (!piece)
            return std::nullopt;
        pieceCursor_ = TextCursor(*piece);
    }
}

std::optional<std::string_view> ExpandedText::nextPiece()
{
    while (const auto word = raw_.nextWord(false)) {
        if (equalsIgnoringCase(*word, "SET")) {
            define(*word);
            continue;
        }
        pieceOffset_ = offsetOf(*word);
        pieceIsValue_ = word->front() == '$';
        return pieceIsValue_ ? expandWord(*word, pieceOffset_) : *word;
    }
    return std::nullopt;
}

std::size_t ExpandedText::offsetOf(std::string_view rawWord) const
{
    return static_cast<std::size_t>(rawWord.data() - raw_.text().data());
}

void ExpandedText::define(std::string_view setWord)
{
    const auto name = raw_.nextWord(true);
    if (!name) {
        if (warnings_)
            warnings_->add(offsetOf(setWord), WarningKind::SetWithoutName, setWord);
        return;
    }
    const std::string key(*name);
    const auto valueWord = raw_.nextWord(true);
    if (!valueWord) {
        if (warnings_)
            warnings_->add(offsetOf(*name), WarningKind::SetWithoutValue, *name);
        return;
    }
    if (valueWord->front() != '=') {
        variables_[key] = *valueWord;
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
    variables_[key] = value;
    raw_.seek(lineEnd);
}

const std::string_view* ExpandedText::find(std::string_view name) const
{
    const auto found = variables_.find(name);
    return found == variables_.end() ? nullptr : &found->second;
}

std::string_view ExpandedText::expandWord(std::string_view word, std::size_t offset) const
{
    // The first reason the word gives no text, if any, is the one warned of.
    bool warned = warnings_ == nullptr;
    const auto valueOf = [&](std::string_view name) -> std::string_view {
        const std::string_view* value = find(name);
        if (value)
            return *value;
        if (!warned)
            warnings_->add(offset, WarningKind::Undefined, name);
        warned = true;
        return {};
    };

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
    for (auto name = indexed.rbegin(); name != indexed.rend(); ++name) {
        text = pickValueWord(valueOf(*name), leadingInteger(text).value);
        if (text.empty() && !warned)
            warnings_->add(offset, WarningKind::NoSuchWord, word);
        warned = warned || text.empty();
    }
    return text;
}

std::string expandVariables(std::string_view text)
{
    ExpandedText expanded(text);
    std::string out;
    while (const auto piece = expanded.nextPiece()) {
        out += *piece;
        out += ' ';
    }
    return out;
}

}  // namespace tv
