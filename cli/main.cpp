#include "cli/CliCommand.h"

#include <iostream>
#include <string>

namespace {

void printHelp(std::ostream& out)
{
    out << "tonalvane-cli: the command-line companion of Tonalvane, a just-intonation tool.\n\n"
           "Usage: tonalvane-cli COMMAND [ARGUMENTS]\n\n"
           "Commands:\n";
    for (const auto& command : tv::cli::commands())
        out << "  tonalvane-cli " << command.synopsis << "\n" << command.help << "\n";
    out << "Exit status: 0 on success, 1 when a file or device fails, 2 for bad input.\n";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        printHelp(std::cerr);
        return tv::cli::exitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printHelp(std::cout);
        return tv::cli::exitOk;
    }
    for (const auto& command : tv::cli::commands()) {
        if (name == command.name) {
            tv::cli::Arguments args(argv + 2, argv + argc);
            for (const auto& arg : args) {
                if (arg == "--help" || arg == "-h") {
                    std::cout << "Usage: tonalvane-cli " << command.synopsis << "\n"
                              << command.help;
                    return tv::cli::exitOk;
                }
            }
            return command.run(args);
        }
    }
    return tv::cli::usageError("unknown command '" + name + "' (see tonalvane-cli --help)");
}
