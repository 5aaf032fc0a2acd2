#include "ui/keyboard/QtKeyCodes.h"

#include "core/keyboard/KeyCodes.h"

namespace tv {
namespace {

struct KeyPair {
    int qtKey;
    int code;
};

// Punctuation and the shifted digits, each with the code of the key that types it on a US
// layout.
constexpr KeyPair symbolKeys[] = {
    {Qt::Key_Semicolon, keycode::semicolon},
    {Qt::Key_Colon, keycode::semicolon},
    {Qt::Key_Equal, keycode::equals},
    {Qt::Key_Plus, keycode::equals},
    {Qt::Key_Comma, keycode::comma},
    {Qt::Key_Less, keycode::comma},
    {Qt::Key_Minus, keycode::minus},
    {Qt::Key_Underscore, keycode::minus},
    {Qt::Key_Period, keycode::period},
    {Qt::Key_Greater, keycode::period},
    {Qt::Key_Slash, keycode::slash},
    {Qt::Key_Question, keycode::slash},
    {Qt::Key_BracketLeft, keycode::bracketLeft},
    {Qt::Key_BraceLeft, keycode::bracketLeft},
    {Qt::Key_Backslash, keycode::backslash},
    {Qt::Key_Bar, keycode::backslash},
    {Qt::Key_BracketRight, keycode::bracketRight},
    {Qt::Key_BraceRight, keycode::bracketRight},
    {Qt::Key_Apostrophe, keycode::quote},
    {Qt::Key_QuoteDbl, keycode::quote},
    {Qt::Key_Exclam, keycode::digit0 + 1},
    {Qt::Key_At, keycode::digit0 + 2},
    {Qt::Key_NumberSign, keycode::digit0 + 3},
    {Qt::Key_Dollar, keycode::digit0 + 4},
    {Qt::Key_Percent, keycode::digit0 + 5},
    {Qt::Key_AsciiCircum, keycode::digit0 + 6},
    {Qt::Key_Ampersand, keycode::digit0 + 7},
    {Qt::Key_Asterisk, keycode::digit0 + 8},
    {Qt::Key_ParenLeft, keycode::digit0 + 9},
    {Qt::Key_ParenRight, keycode::digit0},
};

}  // namespace

int keyCodeForQtKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier)
        return -1;
    if (qtKey == Qt::Key_Space)
        return keycode::space;
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return keycode::digit0 + (qtKey - Qt::Key_0);
    // The toolkit names a letter key by its capital whether Shift is held or not.
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return keycode::letterA + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return keycode::f1 + (qtKey - Qt::Key_F1);
    for (const KeyPair& pair : symbolKeys) {
        if (pair.qtKey == qtKey)
            return pair.code;
    }
    return -1;
}

}  // namespace tv
