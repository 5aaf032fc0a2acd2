// Wrong calls and files that cannot be read. A wrong call gives its reason on stderr and exit
// status 2; a file that cannot be read gives the reader's reason and status 1, and nothing is
// written. Where the bytes still mean something (an empty script), the command does its work.

#include "CliRun.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tv {
namespace {

namespace fs = std::filesystem;
using test::CliRun;
using test::runCli;
using test::ScratchDirectory;
using test::writeBytes;

// Replaces every "{}" in `text` by `path`.
std::string withPath(std::string text, const std::string& path)
{
    for (auto at = text.find("{}"); at != std::string::npos; at = text.find("{}", at))
        text.replace(at, 2, path);
    return text;
}

TEST(CliUsage, EveryWrongCallSaysWhatItNeeds)
{
    ScratchDirectory dir;
    const std::string file = dir.file("any");
    writeBytes(file, "");
    const struct {
        std::vector<std::string> args;
        const char* message;  // after "tonalvane-cli: "
    } cases[] = {
        {{"bogus"}, "unknown command 'bogus' (see tonalvane-cli --help)"},
        {{"compile"}, "compile takes one script FILE, or - for standard input"},
        {{"compile", file, file}, "compile takes one script FILE, or - for standard input"},
        {{"compile", "--warnings"}, "compile takes one script FILE, or - for standard input"},
        {{"play"}, "play takes one script FILE, or - for standard input"},
        {{"play", file, "--rate", "44100"}, "--rate and --float go with --wav"},
        {{"play", file, "--wav"}, "--wav needs a value"},
        {{"play", file, "--wav", dir.file("x.wav"), "--rate", "100"},
         "--rate needs a whole number from 8000 to 192000, not '100'"},
        {{"keys"}, "keys needs one keyboard file to read, and optionally --save OUT.tvk"},
        {{"keys", file, file},
         "keys needs one keyboard file to read, and optionally --save OUT.tvk"},
        {{"keys", file, "--bogus"},
         "keys needs one keyboard file to read, and optionally --save OUT.tvk"},
        {{"keys", file, "--save"}, "--save needs a value"},
        {{"scl", file}, "scl needs a scale file to read and one to write"},
        {{"table"}, "table needs exactly one scale file"},
        {{"table", file, file}, "table needs exactly one scale file"},
        {{"layout"}, "layout needs exactly one scale file"},
        {{"layout", file, "--style", "5"}, "--style needs a whole number from 0 to 4, not '5'"},
        {{"layout", file, "--style", "x"}, "--style needs a whole number from 0 to 4, not 'x'"},
        {{"render", file, file}, "render needs a keyboard file, a file of presses and -o OUT.mid"},
        {{"render", file, file, "-o"}, "-o needs a value"},
        {{"chord"}, "chord needs at least one pitch"},
        {{"analyse"}, "analyse takes one pitch: N/D, or --cents C"},
        {{"ports", "x"}, "ports takes no arguments"},
    };
    for (const auto& c : cases) {
        std::string call;
        for (const auto& arg : c.args)
            call += arg + " ";
        SCOPED_TRACE(call);
        const CliRun run = runCli(dir, c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "tonalvane-cli: " + std::string(c.message) + "\n");
        EXPECT_EQ(run.out, "");
    }
}

// A path that exists and is no directory, yet opens for no one, root included: a socket.
class SocketFile {
public:
    explicit SocketFile(const std::string& path) : path_(path)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        socket_ = socket(AF_UNIX, SOCK_STREAM, 0);
        bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    }
    ~SocketFile()
    {
        close(socket_);
        fs::remove(path_);
    }

private:
    std::string path_;
    int socket_ = -1;
};

TEST(CliBadInput, EachReadingCommandSaysWhyItCouldNotRead)
{
    ScratchDirectory dir;
    const std::string keys = dir.file("keys.tvk");
    writeBytes(keys, "#11\r\nPLAY 1/1 500 MSEC\r\n");
    const std::string missing = dir.file("missing");
    const std::string folder = dir.path().string();
    const std::string empty = dir.file("empty");
    writeBytes(empty, "");
    // A picture's first bytes: no line a reader could take for its own, NUL bytes included.
    const std::string binary = dir.file("binary");
    writeBytes(binary, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0", 20));
    // Sparse: it takes no room on the disk, and a reader that reads it whole takes a gigabyte.
    const std::string huge = dir.file("huge");
    writeBytes(huge, "");
    fs::resize_file(huge, std::uintmax_t{1} << 30);
    // Opens like a file and fails on reading, for root too: the program's memory at address 0.
    const std::string unreadable = "/proc/self/mem";
    const SocketFile socket(dir.file("socket"));
    const std::string out = dir.file("out");

    const struct {
        std::vector<std::string> args;  // "{}" stands for the file read
        std::string file;
        int status;
        const char* err;  // exact, "{}" standing for the file
        const char* out;
    } cases[] = {
        // Scripts, and the presses of render, are read by the command itself.
        {{"compile", "{}"}, missing, 1, "tonalvane-cli: cannot read {}: no such file\n", ""},
        {{"compile", "{}"}, folder, 1, "tonalvane-cli: cannot read {}: it is a directory\n", ""},
        {{"compile", "{}"},
         dir.file("socket"),
         1,
         "tonalvane-cli: cannot read {}: it cannot be opened\n",
         ""},
        {{"compile", "{}"},
         unreadable,
         1,
         "tonalvane-cli: cannot read {}: reading it failed\n",
         ""},
        {{"compile", "{}"},
         huge,
         1,
         "tonalvane-cli: cannot read {}: it is larger than 64 MiB\n",
         ""},
        {{"compile", "{}"}, empty, 0, "", "00\n"},
        {{"compile", "{}"},
         binary,
         1,
         "tonalvane-cli: {} is not a script: it holds a NUL byte\n",
         ""},
        {{"play", "{}", "--wav", out},
         huge,
         1,
         "tonalvane-cli: cannot read {}: it is larger than 64 MiB\n",
         ""},
        {{"render", keys, "{}", "-o", out},
         missing,
         1,
         "tonalvane-cli: cannot read {}: no such file\n",
         ""},
        {{"render", keys, "{}", "-o", out},
         huge,
         1,
         "tonalvane-cli: cannot read {}: it is larger than 64 MiB\n",
         ""},
        {{"render", keys, "{}", "-o", out},
         binary,
         2,
         "tonalvane-cli: {} line 1: expected a key code and the elapsed milliseconds, found "
         "'\x89PNG'\n",
         ""},
        // Keyboard and scale files give their reader's message.
        {{"keys", "{}"}, unreadable, 1, "Unable to open {} for reading\n", ""},
        {{"render", "{}", empty, "-o", out},
         huge,
         1,
         "Unable to open {} for reading: it is larger than 64 MiB\n",
         ""},
        {{"table", "{}"}, folder, 1, "Unable to open {}\n", ""},
        {{"layout", "{}"}, binary, 1, "Invalid scala file!\n", ""},
        {{"scl", "{}", out}, huge, 1, "{} is too large to be a scale file\n", ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args;
        std::string call;
        for (const auto& arg : c.args) {
            args.push_back(withPath(arg, c.file));
            call += args.back() + " ";
        }
        SCOPED_TRACE(call);
        const CliRun run = runCli(dir, args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err, withPath(c.err, c.file));
        EXPECT_EQ(run.out, c.out);
        EXPECT_FALSE(fs::exists(out)) << "something was written";
    }
}

}  // namespace
}  // namespace tv
