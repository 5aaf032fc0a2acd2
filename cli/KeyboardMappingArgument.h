#pragma once

#include <string>

namespace tv {
class Lattice;
struct KeyboardMapping;
}  // namespace tv

namespace tv::cli {

// Reads a keyboard mapping named on the command line; on failure writes the reader's message
// to stderr and gives false.
bool loadKeyboardMapping(const std::string& path, KeyboardMapping& mapping);
// The scale a keyboard plays: the scale file named, or the twelve-note scale of a new lattice
// when `path` is empty. The same on failure.
bool loadKeyboardScale(const std::string& path, Lattice& lattice);

}  // namespace tv::cli
