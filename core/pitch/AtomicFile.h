#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace tv {

// Writes `bytes` to the open file; gives false when they were not all written. Tests hand in
// one that fails half way.
using FileChunkWriter = std::function<bool(std::FILE* file, std::string_view bytes)>;

// Fills an open file; gives false when something went wrong.
using FileFiller = std::function<bool(std::FILE* file)>;

enum class AtomicWriteStatus {
    ok,
    openFailed,   // the target may not be written, or no temporary file could be made
    writeFailed,  // writing, flushing or replacing the target failed
};

// Writes a whole file through a temporary file beside it that replaces the target only once
// it was written completely, so a failure never harms an existing file and leaves no
// temporary file behind. Saving through a symbolic link replaces the file it names, and the
// permissions of the file replaced carry over. A file the user may not write is left alone,
// as writing it in place would (openFailed). On failure `error`, when given, receives the
// system's error number of the step that failed (0 when none was reported), so that a
// message can say why.
AtomicWriteStatus writeFileAtomically(const std::string& path, const FileFiller& fill,
                                      int* error = nullptr);

// The same for bytes at hand; `writer` defaults to a plain write.
AtomicWriteStatus writeFileAtomically(const std::string& path, std::string_view bytes,
                                      const FileChunkWriter& writer = {}, int* error = nullptr);

}  // namespace tv
