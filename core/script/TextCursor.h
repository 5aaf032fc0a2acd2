#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tv {

// Separators between script words: space, tab, line feed and carriage return, and where the
// reader asks for it, the comma too.
bool isScriptSeparator(char c, bool commaSeparates);

// Reads words from a text. A word is a run of characters between separators; the separator
// that ends a word is consumed with it, so the next word, or text taken from position(),
// starts after it.
class TextCursor {
public:
    explicit TextCursor(std::string_view text = {}) : text_(text) {}

    // The next word, or nothing at the end of the text. The view points into the text.
    std::optional<std::string_view> nextWord(bool commaSeparates);

    std::string_view text() const { return text_; }
    std::size_t position() const { return position_; }
    void seek(std::size_t position)
    {
        position_ = position < text_.size() ? position : text_.size();
    }

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

}  // namespace tv
