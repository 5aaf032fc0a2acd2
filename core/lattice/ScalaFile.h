#pragma once

#include "core/lattice/Scale.h"
#include "core/pitch/AtomicFile.h"
#include "core/pitch/FileResult.h"
#include "core/pitch/FileText.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <istream>
#include <string>
#include <string_view>

namespace tv {

// Scala scale files (.scl): comment lines start with "!"; the first other line is the
// description, the next one the number of pitches, and the following non-blank ones the
// pitches, each a ratio ("3/2", "2"), or a size in cents (any number with a period).

inline constexpr std::string_view scalaOpenFailedText = "Unable to open ";
inline constexpr std::string_view scalaInvalidText = "Invalid scala file!";
inline constexpr std::string_view scalaUnknownFormatText = "Unknown format:";
inline constexpr std::string_view scalaTooLargeText = " is too large to be a scale file";

// Far above any real scale file (the largest lattice written as one is about 2 MB). A larger
// file is refused from its size, before any of it is read.
inline constexpr std::uintmax_t scalaMaxFileBytes = maxTextFileBytes;
// An unknown pitch line is quoted in the message up to this many bytes, then "...".
inline constexpr std::size_t scalaMaxQuotedBytes = 120;

// The pitch at the start of one line (line end already removed): its first word after
// optional white space; whatever follows the word is ignored. A word with a period is cents,
// otherwise "N/D" or "N" (N/1) is a ratio. Ratios with terms beyond 32 bits come back as
// cents of their exact size. Zero or negative ratios, and words of any other shape, are
// invalid.
ScalaPitch parseScalaPitch(std::string_view line);

// Reads a whole file's text into a Scale. Failures, and what the scale keeps:
//  - no description and count: "Invalid scala file!", nothing (line: the count line when
//    there is one that is not a count);
//  - a pitch line of no known shape: "Unknown format:<line>\n" with the line as read but
//    without its line end (its first scalaMaxQuotedBytes and "..." when longer), followed by
//    one LF whatever the file used; the title and the pitches before it (line: that line);
//  - the file ends before its count of pitches: the title and the pitches read (no line);
//  - more pitches than Scale::maxPitches: the title and the first maxPitches (line: the first
//    pitch left out).
Scale parseScala(std::string_view text);
Scale parseScala(std::istream& in);
// As parseScala of the file's bytes; "Unable to open <path>" when it cannot be read (a
// directory among them), "<path> is too large to be a scale file" when it holds more than
// scalaMaxFileBytes. Both read nothing.
Scale parseScalaFile(const std::string& path);

// The whole file as writeScalaFile writes it: CR LF line ends, the file name (after the last
// "/" or "\") as the first comment, the title as the description, ratios as " N/D" and
// cents pitches with six decimals and the word cents.
std::string scalaFileText(const Scale& scale, const std::string& path);

// Writes `bytes` to the open file; gives false when they were not all written.
using ScalaChunkWriter = FileChunkWriter;

// Writes the file through a temporary file beside it that replaces the target only once it
// was written completely, so a failure never harms an existing file. `writer` defaults to
// a plain write of the bytes. Failures: "Unable to open <path>" when the temporary file
// cannot be created, "Unable to write <path>" when writing or replacing fails; either is
// followed by ": " and the system's reason when there is one ("No space left on device").
FileResult writeScalaFile(const Scale& scale, const std::string& path,
                          const ScalaChunkWriter& writer = {});

}  // namespace tv
