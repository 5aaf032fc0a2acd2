#pragma once

#include <string_view>

namespace tv {

// The computer keyboard instrument has 59 keys. Each has a key code (0 to 255, the same on
// every system; the window maps the toolkit's key events to them) and a slot number (0 to 58)
// that holds its script. Slot numbers are the record numbers of keyboard files, so the map
// from codes to slots never changes.

inline constexpr int keySlotCount = 59;
inline constexpr int keyCodeCount = 256;

namespace keycode {
inline constexpr int space = 32;
inline constexpr int digit0 = 48;   // to digit0 + 9
inline constexpr int letterA = 65;  // to letterA + 25
inline constexpr int f1 = 112;      // to f1 + 11
inline constexpr int semicolon = 186;
inline constexpr int equals = 187;
inline constexpr int comma = 188;
inline constexpr int minus = 189;
inline constexpr int period = 190;
inline constexpr int slash = 191;
inline constexpr int bracketLeft = 219;
inline constexpr int backslash = 220;
inline constexpr int bracketRight = 221;
inline constexpr int quote = 222;
}  // namespace keycode

// The slot of a key code; -1 for a code without a key (any code outside 0 to 255 included).
int slotForKey(int code);

// The key code whose slot this is; -1 outside 0 to 58.
int keyForSlot(int slot);

// What a key's button shows, with Shift up or held: "a" / "A", "1" / "!", ";" / ":", "F5" for
// both. The space bar shows nothing, and so does a code without a key.
std::string_view keyCaption(int code, bool shifted);

}  // namespace tv
