#include "cli/CliCommand.h"
#include "core/script/ScriptCompiler.h"

#include <algorithm>
#include <iostream>
#include <string>

namespace tv::cli {
namespace {

int compile(const Arguments& given)
{
    Arguments args = given;
    const auto option = std::find(args.begin(), args.end(), "--warnings");
    const bool warnings = option != args.end();
    if (warnings)
        args.erase(option);
    if (args.size() != 1)
        return usageError("compile takes one script FILE, or - for standard input");
    std::string text;
    if (!readText(args[0], text))
        return exitFailed;
    // A script is text: a NUL byte means some other kind of file was given, whose bytes would
    // otherwise compile to an empty script.
    if (text.find('\0') != std::string::npos) {
        const std::string name = args[0] == "-" ? std::string("standard input") : args[0];
        std::cerr << "tonalvane-cli: " << name << " is not a script: it holds a NUL byte\n";
        return exitFailed;
    }
    const CompileResult result =
        compileScript(text, warnings ? CompileWarnings::Collect : CompileWarnings::Off);
    for (const auto& message : result.messages)
        std::cerr << message << '\n';
    // Flushed, so that on a shared terminal the warnings come after the code.
    std::cout << result.code->hex() << std::endl;
    for (const auto& warning : result.warnings)
        std::cerr << warning.line << ": " << warning.text << '\n';
    return exitOk;
}

const CliRegistration compileRegistration({
    "compile",
    "compile FILE [--warnings]",
    "    Compiles the script in FILE (- for standard input) and prints its byte code, end\n"
    "    byte included, as hex bytes on one line. Compiler messages go to stderr.\n"
    "    --warnings also lists, on stderr after the code, what the compiler passed over or\n"
    "    read otherwise than it looks, one \"LINE: TEXT\" a line. Pitches in a PLAY are\n"
    "    ratios (3/2) or cents above the base: a number and \"c\" without a space (701.955c,\n"
    "    -13.7c).\n",
    40,
    &compile,
});

}  // namespace
}  // namespace tv::cli
