// tonalvane-cli compile: the code on stdout, and with --warnings the warnings on stderr.

#include "support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace tv {
namespace {

std::string readAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct CompileCliTest : ::testing::Test {
    // Runs the command with stdout and stderr kept apart; gives the exit status.
    int run(const std::string& arguments)
    {
        const std::string command = TONALVANE_CLI " " + arguments + " >" + (dir / "out").string() +
                                    " 2>" + (dir / "err").string();
        const int status = std::system(command.c_str());
        out = readAll(dir / "out");
        err = readAll(dir / "err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    test::ScratchDirectory scratch;
    std::filesystem::path dir = scratch.path();
    std::string out;
    std::string err;
};

TEST_F(CompileCliTest, WarningsGoToStderrAfterTheCode)
{
    const auto script = dir / "tune.txt";
    std::ofstream(script, std::ios::binary) << "PLAY 1/1 50c q\r\nREST 2 zz\r\nPLAY *128\r\n";
    const std::string code = "50 02 e0 00 40 90 3c 60 e1 00 50 91 3c 60 44 00 00 01 f4 80 3c 00 81 "
                             "3c 00 52 00 00 01 f4 50 00 44 00 00 01 f4 00\n";

    ASSERT_EQ(run("compile " + script.string() + " --warnings"), 0);
    EXPECT_EQ(out, code);
    EXPECT_EQ(err, "2: \"2\" has no unit (s or ms) and is dropped\n"
                   "2: \"zz\" is not a statement and is passed over\n"
                   "3: \"*128\" is not a program from 0 to 127 and is left out\n");

    // The option may come first, and the script from standard input.
    ASSERT_EQ(run("compile --warnings - <" + script.string()), 0);
    EXPECT_EQ(out, code);
    EXPECT_EQ(err.substr(0, 3), "2: ");

    // Without the option: the same code and nothing on stderr.
    ASSERT_EQ(run("compile " + script.string()), 0);
    EXPECT_EQ(out, code);
    EXPECT_EQ(err, "");

    EXPECT_EQ(run("compile --warnings"), 2);
    EXPECT_EQ(run("compile " + script.string() + " --warnings --warnings"), 2);
}

}  // namespace
}  // namespace tv
