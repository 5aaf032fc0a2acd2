#include "cli/CliCommand.h"
#include "script/ScriptCompiler.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace tv::cli {
namespace {

// The whole file (or standard input for "-") as bytes.
bool readText(const std::string& path, std::string& text)
{
    if (path == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return !std::cin.bad();
    }
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    text = bytes.str();
    return !file.bad();
}

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
