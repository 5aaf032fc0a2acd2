// tonalvane-cli compile: the code on stdout, and with --warnings the warnings on stderr.

#include "CliRun.h"

#include <gtest/gtest.h>

#include <string>

namespace tv {
namespace {

using test::CliRun;
using test::runCli;

TEST(CompileCli, WarningsGoToStderrAfterTheCode)
{
    const test::ScratchDirectory dir;
    const std::string script = dir.file("tune.txt");
    test::writeBytes(script, "PLAY 1/1 50c q\r\nREST 2 zz\r\nPLAY *128\r\n");
    const std::string code = "50 02 e0 00 40 90 3c 60 e1 00 50 91 3c 60 44 00 00 01 f4 80 3c 00 81 "
                             "3c 00 52 00 00 01 f4 50 00 44 00 00 01 f4 00\n";

    CliRun run = runCli(dir, {"compile", script, "--warnings"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out, code);
    EXPECT_EQ(run.err, "2: \"2\" has no unit (s or ms) and is dropped\n"
                       "2: \"zz\" is not a statement and is passed over\n"
                       "3: \"*128\" is not a program from 0 to 127 and is left out\n");

    // The option may come first, and the script from standard input.
    run = runCli(dir, {"compile", "--warnings", "-"}, script);
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out, code);
    EXPECT_EQ(run.err.substr(0, 3), "2: ");

    // Without the option: the same code and nothing on stderr.
    run = runCli(dir, {"compile", script});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out, code);
    EXPECT_EQ(run.err, "");
}

TEST(CompileCli, FilesThatAreNoTextAndControlBytesInWordsNeverReachTheTerminalRaw)
{
    const test::ScratchDirectory dir;
    const std::string binary = dir.file("image.bin");
    test::writeBytes(binary, std::string("PLAY 1/1 q\0\x01\x02", 13));
    CliRun run = runCli(dir, {"compile", binary});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "tonalvane-cli: " + binary + " is not a script: it holds a NUL byte\n");

    // Escape, DEL, a C1 control written in UTF-8, a stray continuation byte: each escaped; an
    // accented letter stays.
    const std::string words = dir.file("words.txt");
    test::writeBytes(words, "\x1b[2Jx caf\xc3\xa9\x7f \xc2\x9bq \x80z\n");
    run = runCli(dir, {"compile", words, "--warnings"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "1: \"\\x1b[2Jx\" is not a statement and is passed over\n"
                       "1: \"caf\xc3\xa9\\x7f\" is not a statement and is passed over\n"
                       "1: \"\\xc2\\x9bq\" is not a statement and is passed over\n"
                       "1: \"\\x80z\" is not a statement and is passed over\n");
}

}  // namespace
}  // namespace tv
