#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace tv {

// Converts dialog units to pixels from a dialog font: horizontally units x average character
// width / 4, vertically units x character height / 8.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    // The stand-in for the 8-point "MS Sans Serif" that dialogs are designed in.
    static QFont dialogFont();

    // The font the units were measured in; a dialog's controls are drawn in it.
    const QFont& font() const { return font_; }

    int x(int units) const { return units * averageWidth_ / 4; }
    int y(int units) const { return units * height_ / 8; }
    QSize size(int width, int height) const { return {x(width), y(height)}; }
    QRect rect(int left, int top, int width, int height) const
    {
        return {x(left), y(top), x(width), y(height)};
    }

private:
    QFont font_;
    int averageWidth_;
    int height_;
};

}  // namespace tv
