#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace tv {

// A key slot holds its script as UTF-8 with CR LF line breaks; the text field holds lines.

// The field's plain text as a slot holds it.
std::string toSlotText(const QString& plainText);

// A slot's text for the field: CR LF (and a lone CR) become line breaks.
QString fromSlotText(std::string_view slotText);

// Where byte offsets of a slot text made by toSlotText lie in the field's document: the CR of
// each CR LF takes no place there, and a character beyond the Basic Multilingual Plane takes
// two. Offsets asked in rising order are found in one pass over the text.
class DocumentPositions {
public:
    explicit DocumentPositions(std::string_view slotText) : text_(slotText) {}
    int at(std::size_t offset);

private:
    std::string_view text_;
    std::size_t offset_ = 0;
    int position_ = 0;
};

}  // namespace tv
