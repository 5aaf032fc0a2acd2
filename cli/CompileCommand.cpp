#include "cli/CliCommand.h"
#include "core/script/ScriptCompiler.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace tv::cli {
namespace {

int compile(const Arguments& args)
{
    if (args.size() != 1)
        return usageError("compile takes one script FILE, or - for standard input");
    std::string text;
    if (!readText(args[0], text)) {
        std::cerr << "tonalvane-cli: cannot read " << args[0] << '\n';
        return exitFailed;
    }
    const CompileResult result = compileScript(text);
    for (const auto& message : result.messages)
        std::cerr << message << '\n';
    std::cout << result.code->hex() << '\n';
    return exitOk;
}

const CliRegistration registration({
    "compile",
    "compile FILE",
    "    Compiles the script in FILE (- for standard input) and prints its byte code, end\n"
    "    byte included, as hex bytes on one line. Compiler messages go to stderr.\n",
    40,
    &compile,
});

}  // namespace
}  // namespace tv::cli
