#pragma once

#include "core/lattice/Scale.h"
#include "core/pitch/AtomicFile.h"
#include "core/pitch/FileResult.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <istream>
#include <string>
#include <string_view>

namespace tv {

class Lattice;

// Scala scale files (.scl): comment lines start with "!"; the first other line is the
// description, the next one the number of pitches, and the following non-blank ones the
// pitches, each a ratio ("3/2", "2"), or a size in cents (any number with a period).

inline constexpr std::string_view scalaOpenFailedText = "Unable to open ";
inline constexpr std::string_view scalaInvalidText = "Invalid scala file!";
inline constexpr std::string_view scalaUnknownFormatText = "Unknown format:";

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
//    without its line end, followed by one LF whatever the file used; the title and the
//    pitches before it (line: that line);
//  - the file ends before its count of pitches: the title and the pitches read (no line);
//  - more pitches than Scale::maxPitches: the title and the first maxPitches (line: the first
//    pitch left out).
Scale parseScala(std::string_view text);
Scale parseScala(std::istream& in);
// As parseScala of the file's bytes; "Unable to open <path>" when it cannot be read.
Scale parseScalaFile(const std::string& path);

// The whole file as writeScalaFile writes it: CR LF line ends, the file name (after the last
// "/" or "\") as the first comment, the title as the description, ratios as " N/D" and
// cents-only elements with six decimals and the word cents.
std::string scalaFileText(const Lattice& lattice, const std::string& path);

// Writes `bytes` to the open file; gives false when they were not all written.
using ScalaChunkWriter = FileChunkWriter;

// Writes the file through a temporary file beside it that replaces the target only once it
// was written completely, so a failure never harms an existing file. `writer` defaults to
// a plain write of the bytes. Failures: "Unable to open <path>" when the temporary file
// cannot be created, "Unable to write <path>" when writing or replacing fails.
FileResult writeScalaFile(const Lattice& lattice, const std::string& path,
                          const ScalaChunkWriter& writer = {});

}  // namespace tv
