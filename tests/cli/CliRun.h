#pragma once

#include "support/ScratchDirectory.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace tv::test {

// What one run of tonalvane-cli gave: its exit status and everything it wrote.
struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& word)
{
    std::string q = "'";
    for (const char c : word)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs tonalvane-cli with these arguments, its output captured in files of `dir`; standard
// input is read from the file `input` when one is named.
inline CliRun runCli(const ScratchDirectory& dir, const std::vector<std::string>& args,
                     const std::string& input = {})
{
    std::string command = shellQuoted(TONALVANE_CLI);
    for (const auto& a : args) {
        command += ' ';
        command += shellQuoted(a);
    }
    const std::string out = dir.file("stdout");
    const std::string err = dir.file("stderr");
    command += " >";
    command += shellQuoted(out);
    command += " 2>";
    command += shellQuoted(err);
    if (!input.empty()) {
        command += " <";
        command += shellQuoted(input);
    }
    const int raw = std::system(command.c_str());
    CliRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readBytes(out);
    run.err = readBytes(err);
    return run;
}

}  // namespace tv::test
