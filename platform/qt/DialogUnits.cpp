#include "platform/qt/DialogUnits.h"

#include <QFontMetrics>

namespace tv {

DialogUnits::DialogUnits(const QFont& font) : font_(font)
{
    const QFontMetrics metrics(font);
    // The average width of the 52 Latin letters, rounded, as dialog layouts were measured.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    averageWidth_ = (letters / 26 + 1) / 2;
    height_ = metrics.height();
}

QFont DialogUnits::dialogFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace tv
