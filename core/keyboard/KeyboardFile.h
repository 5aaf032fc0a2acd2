#pragma once

#include "core/keyboard/KeySlots.h"
#include "core/pitch/AtomicFile.h"
#include "core/pitch/FileResult.h"

#include <istream>
#include <string>
#include <string_view>

namespace tv {

// Keyboard files (.tvk) keep the scripts of a keyboard's slots, each with its byte code, so
// keys play straight after opening. Every line ends in CR LF. For each slot that has a text,
// in slot order:
//   "#" and the slot number;
//   the text, its last line ended by CR LF and each LF in it preceded by one more CR, so the
//   text's own CR LF line breaks stand as CR CR LF (a last line that ends in CR gets one more
//   CR too, so readers leave the text's own); a text line that begins (after any spaces)
//   with "#" or "~" gets one more space in front, so it cannot pass for a slot or code line;
//   "~", the code as two lower-case hex digits a byte up to its end byte, then "0000".
// Example: slot 11 with text "x\r\ny" and code 52 00 00 01 f4 00 is
//   "#11\r\nx\r\r\ny\r\n~52000001f40000\r\n".

inline constexpr std::string_view keyboardFileSuffix = "tvk";

// The hex digits of the code line: the code read step by step up to its end byte, which is
// not written (the "0000" after it stands for it and one more zero byte), or up to a step
// that it cuts short, which is left out.
std::string keyboardCodeDigits(const CompiledScript& code);

// The whole file for these slots; empty when no slot has a text.
std::string keyboardFileText(const KeySlots& slots);

// Fails with "Unable to open <path> for writing" (the path as given) when the file cannot be
// created or written; an existing file is then left whole.
FileResult writeKeyboardFile(const KeySlots& slots, const std::string& path,
                             const FileChunkWriter& writer = {});

// Reads a keyboard file into the slots without emptying them first: only the slots the file
// names change. A record gives the slot its text lines joined by CR LF (a record without text
// lines keeps the slot's text) and its code from the code line, never from compiling the
// text. Lines may be of any length and end in LF, CR LF or CR CR LF. Slot numbers outside 0
// to 58, and lines before the first slot line, are passed over. Fails only with "Unable to
// open <path> for reading", followed by ": it is larger than 64 MiB" for a file beyond
// maxTextFileBytes (refused before it is read), the slots untouched.
FileResult readKeyboardFile(KeySlots& slots, const std::string& path);
// As readKeyboardFile, for a file the user chose to open as a keyboard: one that is not empty
// and holds no slot line (a scale, a picture) fails with "<name> is not a keyboard file", the
// name without its folder, and changes nothing.
FileResult openKeyboardFile(KeySlots& slots, const std::string& path);
// Whether the text is a keyboard: empty (no key has a script) or with a slot line.
bool holdsKeyboardRecord(std::string_view text);
void readKeyboardStream(KeySlots& slots, std::istream& in);
void readKeyboardText(KeySlots& slots, std::string_view text);

}  // namespace tv
