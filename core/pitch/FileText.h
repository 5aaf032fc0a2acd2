#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace tv {

// Scripts and keyboard files are read whole into memory. Real ones are a few kilobytes; the
// bound, far above them, keeps a file picked by mistake (a recording, a disk image, a device)
// from being read at all.
inline constexpr std::uintmax_t maxTextFileBytes = std::uintmax_t{64} << 20;

enum class FileTextStatus {
    ok,
    unableToOpen,  // missing, a directory, or not permitted
    tooLarge,      // more bytes than the bound
    unableToRead,  // opened, but reading failed part way
};

// Reads the whole file into `text`, which changes only on success. A regular file larger
// than `limit` is refused by its size before any byte is read; anything else (a pipe, a
// device) is read up to `limit` bytes and refused when more follow.
FileTextStatus readFileText(const std::string& path, std::uintmax_t limit, std::string& text);
// The same for an open stream (standard input), to its end.
FileTextStatus readStreamText(std::FILE* stream, std::uintmax_t limit, std::string& text);

// "64 MiB": the bound as messages name it, in whole mebibytes rounded down (bytes below one).
std::string sizeLimitText(std::uintmax_t limit);

}  // namespace tv
