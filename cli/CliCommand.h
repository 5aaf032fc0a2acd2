#pragma once

#include <string>
#include <vector>

namespace tv::cli {

// Exit statuses shared by every command.
inline constexpr int exitOk = 0;
inline constexpr int exitFailed = 1;  // a file could not be read or written, a device failed
inline constexpr int exitUsage = 2;   // bad arguments or input

using Arguments = std::vector<std::string>;

// One sub-command of tonalvane-cli. Each command file registers itself with a static
// CliRegistration, so the command list grows without a central table to edit.
struct CliCommand {
    const char* name;
    const char* synopsis;               // e.g. "analyse N/D [--octave K]"
    const char* help;                   // one or more lines describing it
    int order;                          // position in --help
    int (*run)(const Arguments& args);  // the arguments after the command name
};

const std::vector<CliCommand>& commands();

struct CliRegistration {
    explicit CliRegistration(const CliCommand& command);
};

// Writes "tonalvane-cli: <message>" to stderr and gives exitUsage.
int usageError(const std::string& message);

// Reads the value of an option such as "--octave K" from `args` and removes both words.
// Gives false (after a usage message) when the option is present without a usable value.
bool takeIntOption(Arguments& args, const std::string& option, long long& value, long long min,
                   long long max);
bool takeStringOption(Arguments& args, const std::string& option, std::string& value);

// The whole file (or standard input for "-") as bytes; false, after saying why on stderr,
// when it cannot be read or is larger than maxTextFileBytes (checked before reading a file).
bool readText(const std::string& path, std::string& text);

}  // namespace tv::cli
