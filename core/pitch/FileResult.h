#pragma once

#include <string>

namespace tv {

// Outcome of reading or writing a file. On failure `message` holds the exact text to show
// the user; the caller decides how to show it.
struct FileResult {
    bool ok = true;
    std::string message;
};

}  // namespace tv
