#pragma once

#include "core/pitch/FileResult.h"

#include <string>
#include <string_view>

namespace tv {

// Writes a whole tuning file (a keyboard mapping, a .tun or .syx export) through a temporary
// file that replaces `path` only when complete. Failures: "Unable to open <path>" or "Unable to
// write <path>", then ": " and the system's reason if known.
FileResult writeTuningFile(const std::string& path, std::string_view bytes);

}  // namespace tv
