#include "cli/CliCommand.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace tv::cli {
namespace {

std::vector<CliCommand>& registry()
{
    static std::vector<CliCommand> list;
    return list;
}

}  // namespace

const std::vector<CliCommand>& commands()
{
    auto& list = registry();
    std::stable_sort(list.begin(), list.end(),
                     [](const CliCommand& a, const CliCommand& b) { return a.order < b.order; });
    return list;
}

CliRegistration::CliRegistration(const CliCommand& command) { registry().push_back(command); }

int usageError(const std::string& message)
{
    std::cerr << "tonalvane-cli: " << message << '\n';
    return exitUsage;
}

bool takeStringOption(Arguments& args, const std::string& option, std::string& value)
{
    const auto it = std::find(args.begin(), args.end(), option);
    if (it == args.end())
        return true;
    if (it + 1 == args.end()) {
        usageError(option + " needs a value");
        return false;
    }
    value = *(it + 1);
    args.erase(it, it + 2);
    return true;
}

bool takeIntOption(Arguments& args, const std::string& option, long long& value, long long min,
                   long long max)
{
    std::string text;
    const bool present = std::find(args.begin(), args.end(), option) != args.end();
    if (!takeStringOption(args, option, text))
        return false;
    if (!present)
        return true;
    long long parsed = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (!text.empty() && text.front() == '+')
        ++first;
    const auto result = std::from_chars(first, last, parsed);
    if (result.ec != std::errc() || result.ptr != last || first == last || parsed < min ||
        parsed > max) {
        usageError(option + " needs a whole number from " + std::to_string(min) + " to " +
                   std::to_string(max) + ", not '" + text + "'");
        return false;
    }
    value = parsed;
    return true;
}

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

}  // namespace tv::cli
