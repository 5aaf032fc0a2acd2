#pragma once

#include <Qt>

namespace tv {

// The keyboard instrument's key code of a key the toolkit reports, -1 for a key without one
// (Enter, the arrows, Shift itself). Letters, digits, F1 to F12 and the space bar are known by
// their key; a punctuation key gives the same code with Shift up or held (";" and ":" are
// both 186, "1" and "!" both 49), as on a US layout, so a shifted key plays the slot of its
// unshifted key. Keys of the numeric keypad are keys of their own without a code.
int keyCodeForQtKey(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace tv
