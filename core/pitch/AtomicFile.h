#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace tv {

// Writes `bytes` to the open file; gives false when they were not all written. Tests hand in
// one that fails half way.
using FileChunkWriter = std::function<bool(std::FILE* file, std::string_view bytes)>;

enum class AtomicWriteStatus {
    ok,
    openFailed,   // no temporary file could be created beside the target
    writeFailed,  // writing, flushing or replacing the target failed
};

// Fills an open file; gives false when something went wrong.
using FileFiller = std::function<bool(std::FILE* file)>;

// Writes a whole file through a temporary file beside it that replaces the target only once
// it was written completely, so a failure never harms an existing file and leaves no
// temporary file behind. Saving through a symbolic link replaces the file it names, and the
// permissions of the file replaced carry over. A file the user may not write is left alone,
// as writing it in place would (openFailed).
AtomicWriteStatus writeFileAtomically(const std::string& path, const FileFiller& fill);

// The same for bytes at hand; `writer` defaults to a plain write.
AtomicWriteStatus writeFileAtomically(const std::string& path, std::string_view bytes,
                                      const FileChunkWriter& writer = {});

}  // namespace tv
