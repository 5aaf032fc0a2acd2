#pragma once

#include <string>

namespace tv {
class Lattice;
}

namespace tv::cli {

// Reads a scale file named on the command line into `lattice`; on failure writes the
// reader's message to stderr and gives false.
bool loadScale(const std::string& path, Lattice& lattice);
// Writes `lattice` as a scale file; the same on failure.
bool saveScale(const std::string& path, const Lattice& lattice);

}  // namespace tv::cli
