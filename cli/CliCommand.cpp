#include "cli/CliCommand.h"

#include "core/pitch/FileText.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>

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
    const FileTextStatus status = path == "-" ? readStreamText(stdin, maxTextFileBytes, text)
                                              : readFileText(path, maxTextFileBytes, text);
    const char* why = nullptr;
    std::error_code ec;
    switch (status) {
    case FileTextStatus::ok: return true;
    case FileTextStatus::tooLarge: break;
    case FileTextStatus::unableToRead: why = "reading it failed"; break;
    case FileTextStatus::unableToOpen:
        why = std::filesystem::is_directory(path, ec) ? "it is a directory"
              : !std::filesystem::exists(path, ec)    ? "no such file"
                                                      : "it cannot be opened";
        break;
    }
    const std::string name = path == "-" ? std::string("standard input") : path;
    std::cerr << "tonalvane-cli: cannot read " << name << ": "
              << (why ? std::string(why) : "it is larger than " + sizeLimitText(maxTextFileBytes))
              << '\n';
    return false;
}

}  // namespace tv::cli
