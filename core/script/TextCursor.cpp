#include "core/script/TextCursor.h"

namespace tv {

bool isScriptSeparator(char c, bool commaSeparates)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || (commaSeparates && c == ',');
}

std::optional<std::string_view> TextCursor::nextWord(bool commaSeparates)
{
    std::size_t i = position_;
    while (i < text_.size() && isScriptSeparator(text_[i], commaSeparates))
        ++i;
    if (i == text_.size()) {
        position_ = i;
        return std::nullopt;
    }
    const std::size_t start = i;
    while (i < text_.size() && !isScriptSeparator(text_[i], commaSeparates))
        ++i;
    const std::string_view word = text_.substr(start, i - start);
    position_ = i < text_.size() ? i + 1 : i;
    return word;
}

}  // namespace tv
