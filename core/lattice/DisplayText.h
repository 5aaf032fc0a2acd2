#pragma once

#include <string>

namespace tv {

// Scale descriptions keep the bytes of their file: the scale archive writes Latin-1, newer
// files UTF-8. For showing them: valid UTF-8 as it is, anything else decoded as Latin-1.
std::string displayText(const std::string& bytes);

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values beyond
// U+10FFFF).
bool isValidUtf8(const std::string& bytes);

}  // namespace tv
