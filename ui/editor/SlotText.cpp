#include "ui/editor/SlotText.h"

#include <algorithm>

namespace tv {

std::string toSlotText(const QString& plainText)
{
    QString text = plainText;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.toStdString();
}

QString fromSlotText(std::string_view slotText)
{
    QString text = QString::fromUtf8(slotText.data(), static_cast<qsizetype>(slotText.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

int DocumentPositions::at(std::size_t offset)
{
    offset = std::min(offset, text_.size());
    if (offset < offset_) {
        offset_ = 0;
        position_ = 0;
    }
    for (; offset_ < offset; ++offset_) {
        const auto byte = static_cast<unsigned char>(text_[offset_]);
        if ((byte & 0xC0) == 0x80)
            continue;  // continues a character already counted
        if (byte == '\r' && offset_ + 1 < text_.size() && text_[offset_ + 1] == '\n')
            continue;
        position_ += byte >= 0xF0 ? 2 : 1;
    }
    return position_;
}

}  // namespace tv
