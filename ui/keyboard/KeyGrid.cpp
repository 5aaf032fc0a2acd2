#include "ui/keyboard/KeyGrid.h"

#include "core/keyboard/KeyCodes.h"
#include "platform/qt/DialogUnits.h"

#include <QLabel>
#include <QPushButton>

namespace tv {
namespace {

// A key's place in window dialog units: the left edge and top of an 18 x 18 button; the
// space bar alone is wider.
struct KeyPlace {
    int code;
    int x, y;
    int width = 18;
};

constexpr int keySize = 18;

constexpr KeyPlace keyPlaces[] = {
    // F1 to F12
    {112, 28, 48},
    {113, 48, 48},
    {114, 67, 48},
    {115, 86, 48},
    {116, 105, 48},
    {117, 124, 48},
    {118, 143, 48},
    {119, 162, 48},
    {120, 181, 48},
    {121, 200, 48},
    {122, 219, 48},
    {123, 238, 48},
    // 1 to 0, "-", "=" and "\"
    {'1', 18, 68},
    {'2', 37, 68},
    {'3', 56, 68},
    {'4', 75, 68},
    {'5', 94, 68},
    {'6', 113, 68},
    {'7', 132, 68},
    {'8', 151, 68},
    {'9', 170, 68},
    {'0', 189, 68},
    {keycode::minus, 208, 68},
    {keycode::equals, 227, 68},
    {keycode::backslash, 258, 69},
    // q to "]"
    {'Q', 28, 89},
    {'W', 48, 89},
    {'E', 67, 89},
    {'R', 86, 89},
    {'T', 105, 89},
    {'Y', 124, 89},
    {'U', 143, 89},
    {'I', 162, 89},
    {'O', 181, 89},
    {'P', 200, 89},
    {keycode::bracketLeft, 219, 89},
    {keycode::bracketRight, 238, 89},
    // a to "'"
    {'A', 37, 109},
    {'S', 56, 109},
    {'D', 75, 109},
    {'F', 94, 109},
    {'G', 113, 109},
    {'H', 132, 109},
    {'J', 151, 109},
    {'K', 170, 109},
    {'L', 189, 109},
    {keycode::semicolon, 208, 109},
    {keycode::quote, 227, 109},
    // z to "/", after the Shift label
    {'Z', 48, 130},
    {'X', 67, 130},
    {'C', 86, 130},
    {'V', 105, 130},
    {'B', 124, 130},
    {'N', 143, 130},
    {'M', 162, 130},
    {keycode::comma, 181, 130},
    {keycode::period, 200, 130},
    {keycode::slash, 219, 130},
    // the space bar
    {keycode::space, 48, 151, 131},
};
static_assert(std::size(keyPlaces) == keySlotCount, "one button per key slot");

// Keys that cannot be clicked; their keys still play.
bool clickable(int code) { return code != keycode::f1 && code != keycode::f1 + 9; }

}  // namespace

KeyGrid::KeyGrid(const DialogUnits& units, KeyGridHandler& handler, QWidget* window)
    : QWidget(window), handler_(handler)
{
    setFont(units.font());
    const QRect area = units.rect(0, top, 290, 190 - top);
    setGeometry(area);
    // Places are computed in the window's units and then made relative to the grid, so each
    // key lies exactly where the window's layout puts it.
    const QPoint origin = area.topLeft();
    for (const KeyPlace& place : keyPlaces) {
        auto* button = new QPushButton(this);
        button->setGeometry(units.rect(place.x, place.y, place.width, keySize).translated(-origin));
        button->setAutoDefault(false);
        button->setEnabled(clickable(place.code));
        buttons_[static_cast<std::size_t>(place.code)] = button;
        connect(button, &QPushButton::clicked, this,
                [this, code = place.code] { handler_.keyClicked(code); });
    }
    shiftLabel_ = new QLabel(QStringLiteral("Shift"), this);
    shiftLabel_->setGeometry(units.rect(18, 130, 27, keySize).translated(-origin));
    shiftLabel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    shiftLabel_->setAlignment(Qt::AlignCenter);
    setShifted(false);
}

QPushButton* KeyGrid::button(int code) const
{
    if (code < 0 || code >= keyCodeCount)
        return nullptr;
    return buttons_[static_cast<std::size_t>(code)];
}

void KeyGrid::setShifted(bool shifted)
{
    shifted_ = shifted;
    shiftLabel_->setEnabled(shifted);
    for (const KeyPlace& place : keyPlaces) {
        // A button takes "&" for the mark of a shortcut letter; "&&" shows one "&".
        QString text = caption(place.code);
        button(place.code)->setText(text.replace(QLatin1Char('&'), QStringLiteral("&&")));
    }
}

QString KeyGrid::caption(int code) const { return QString::fromUtf8(keyCaption(code, shifted_)); }

bool KeyGrid::showPressed(int code)
{
    QPushButton* key = button(code);
    if (!key)
        return false;
    key->setDown(true);
    key->setFocus(Qt::OtherFocusReason);
    return true;
}

void KeyGrid::showReleased()
{
    for (QPushButton* key : buttons_) {
        if (key && key->isDown())
            key->setDown(false);
    }
}

}  // namespace tv
