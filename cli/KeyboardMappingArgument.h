#pragma once

#include "cli/CliCommand.h"

#include <functional>
#include <string>
#include <string_view>

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

// The whole of an export command "NAME SCALE.scl [--kbm FILE] -o OUT": reads the scale and the
// mapping, asks `exportText` for the file's bytes and writes them. Gives the exit status; wrong
// arguments get `usage` as their message.
int runTuningExport(
    const Arguments& given, const char* usage,
    const std::function<std::string(const Lattice&, const KeyboardMapping&)>& exportText);

}  // namespace tv::cli
