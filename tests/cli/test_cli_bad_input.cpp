// Every command that reads a file, fed files that are no good: each gives a message on stderr
// and exit status 1 (2 for bad arguments), or, where the bytes still mean something (an empty
// script, binary text that compiles to nothing), does its work. Nothing crashes.

#include "CliRun.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tv {
namespace {

namespace fs = std::filesystem;
using test::CliRun;
using test::runCli;
using test::ScratchDirectory;
using test::writeBytes;

enum class Input { missing, directory, empty, binary, gigabyte, unreadable };

struct BadInputCase {
    const char* command;  // the first word; the file is its last argument
    Input input;
    int status;
    // Part of stderr; empty when stderr must be empty. Texts the command does not own (the
    // Scala reader's) are only asked to say something.
    const char* message;
    const char* out = nullptr;  // the exact stdout, when it matters
};

const char* inputName(Input input)
{
    switch (input) {
    case Input::missing: return "missing";
    case Input::directory: return "directory";
    case Input::empty: return "empty";
    case Input::binary: return "binary";
    case Input::gigabyte: return "gigabyte";
    case Input::unreadable: return "unreadable";
    }
    return "?";
}

// A picture's first bytes: no line a reader could take for its own, NUL bytes included.
const std::string binaryBytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0", 20);

TEST(CliBadInput, EveryReadingCommandRefusesOrReadsBadFilesCleanly)
{
    ScratchDirectory dir;
    const std::string files[] = {
        dir.file("missing"),
        dir.file("directory"),
        dir.file("empty"),
        dir.file("binary"),
        dir.file("gigabyte"),
        // Opens like a file and fails on reading, for root too: the program's own memory at
        // address 0.
        "/proc/self/mem",
    };
    fs::create_directory(files[1]);
    writeBytes(files[2], "");
    writeBytes(files[3], binaryBytes);
    // Sparse: it takes no room on the disk, and a reader that reads it whole takes a gigabyte.
    writeBytes(files[4], "");
    fs::resize_file(files[4], std::uintmax_t{1} << 30);

    const BadInputCase cases[] = {
        {"compile", Input::missing, 1, "cannot read {}: no such file"},
        {"compile", Input::directory, 1, "cannot read {}: it is a directory"},
        {"compile", Input::empty, 0, "", "00\n"},
        {"compile", Input::binary, 1, "{} is not a script: it holds a NUL byte", ""},
        {"compile", Input::gigabyte, 1, "cannot read {}: it is larger than 64 MiB"},
        {"compile", Input::unreadable, 1, "cannot read {}: reading it failed"},
        {"play", Input::missing, 1, "cannot read {}: no such file"},
        {"play", Input::directory, 1, "cannot read {}: it is a directory"},
        {"play", Input::empty, 0, "", ""},
        {"play", Input::binary, 0, "", ""},
        {"play", Input::gigabyte, 1, "cannot read {}: it is larger than 64 MiB"},
        {"play", Input::unreadable, 1, "cannot read {}: reading it failed"},
        {"keys", Input::missing, 1, "Unable to open {} for reading"},
        {"keys", Input::directory, 1, "Unable to open {} for reading"},
        {"keys", Input::empty, 0, "", ""},
        {"keys", Input::binary, 0, "", ""},
        {"keys", Input::gigabyte, 1, "Unable to open {} for reading: it is larger than 64 MiB"},
        {"keys", Input::unreadable, 1, "Unable to open {} for reading"},
    };
    const char* scaleCommands[] = {"scl", "table", "layout"};
    std::vector<BadInputCase> all(std::begin(cases), std::end(cases));
    for (const char* command : scaleCommands) {
        for (const Input input : {Input::missing, Input::directory, Input::empty, Input::binary,
                                  Input::gigabyte, Input::unreadable})
            all.push_back({command, input, 1, "?"});
    }

    for (const auto& c : all) {
        const std::string& file = files[static_cast<int>(c.input)];
        SCOPED_TRACE(std::string(c.command) + " " + inputName(c.input));
        std::vector<std::string> args = {c.command, file};
        if (std::string(c.command) == "scl")
            args.push_back(dir.file("out.scl"));
        if (std::string(c.command) == "play") {
            args.push_back("--wav");
            args.push_back(dir.file("out.wav"));
        }
        const CliRun run = runCli(dir, args);
        EXPECT_EQ(run.status, c.status) << run.err;
        std::string message = c.message;
        if (const auto at = message.find("{}"); at != std::string::npos)
            message.replace(at, 2, file);
        if (message.empty()) {
            EXPECT_EQ(run.err, "");
        } else if (message == "?") {
            EXPECT_GT(run.err.size(), 1u);
        } else {
            EXPECT_NE(run.err.find(message + "\n"), std::string::npos) << run.err;
        }
        if (c.out) {
            EXPECT_EQ(run.out, c.out);
        }
    }
    // Nothing was written for a file that could not be read.
    EXPECT_FALSE(fs::exists(dir.file("out.scl")));
}

TEST(CliBadInput, BadArgumentsGiveStatusTwo)
{
    ScratchDirectory dir;
    const std::vector<std::vector<std::string>> cases = {
        {"compile"},
        {"compile", "a", "b"},
        {"play"},
        {"play", "a", "b"},
        {"keys"},
        {"keys", "a", "b"},
        {"scl", "a"},
        {"table"},
        {"layout", "a", "b"},
        {"play", "a", "--wav"},
    };
    for (const auto& args : cases) {
        const CliRun run = runCli(dir, args);
        EXPECT_EQ(run.status, 2) << args[0] << " with " << args.size() - 1 << " arguments";
        EXPECT_NE(run.err.find("tonalvane-cli: "), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace tv
