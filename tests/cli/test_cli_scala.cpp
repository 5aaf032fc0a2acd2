#include "CliRun.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tv {
namespace {

using test::CliRun;
using test::readBytes;
using test::runCli;
using test::ScratchDirectory;

std::string fixture(const std::string& name)
{
    return std::string(TONALVANE_TEST_DATA_DIR) + "/scala/" + name;
}

TEST(CliScaleCommands, TableListsEveryElement)
{
    ScratchDirectory dir;
    const CliRun run = runCli(dir, {"table", fixture("cli_scale.scl")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Ratio\tCents\tExponents\tComplexity\tLimit\tOLimit\tULimit\tNote\tBend\t"
                       "Bend MSB\tBend LSB\tHigher primes\n"
                       "1:1\t0.000\t0 0 0 0 0\t0.000000\t1\t1\t1\t60\t8192\t64\t0\t-\n"
                       "3:1\t1901.955\t1 0 0 0 0\t-nan\t3\t3\t1\t79\t8272\t64\t80\t-\n"
                       "0:0\t-30.997\t0 0 0 0 0\t0.000000\t1\t1\t1\t60\t6923\t54\t11\t-\n");
    EXPECT_EQ(run.err, "");
}

// The column of the primes above 13 comes last in each command, in either style.
TEST(CliScaleCommands, HigherPrimesComeInTheLastColumn)
{
    ScratchDirectory dir;
    const auto lastColumn = [](const std::string& out) {
        std::string cells;
        std::size_t start = 0;
        for (std::size_t end = out.find('\n'); end != std::string::npos;
             start = end + 1, end = out.find('\n', start)) {
            const std::string line = out.substr(start, end - start);
            cells += line.substr(line.rfind('\t') + 1) + '|';
        }
        return cells;
    };
    const std::string scale = fixture("cli_high_primes.scl");
    struct Case {
        std::vector<std::string> args;
        const char* cells;
    };
    const Case cases[] = {
        {{"table", scale}, "Higher primes|17:1|19:-1|-|"},
        {{"layout", scale}, "17:1|19:-1|-|"},
        {{"layout", "--style", "1", scale}, "17:1|19:-1|-|"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(dir, c.args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(lastColumn(run.out), c.cells) << c.args[0];
    }
}

TEST(CliScaleCommands, NewPrintsOrWritesTheShapesOfTheNewDialog)
{
    ScratchDirectory dir;
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* out;
    };
    const Case cases[] = {
        {{"new", "--diamond", "5"}, 0, "1/1 6/5 5/4 4/3 3/2 8/5 5/3 "},
        {{"new", "--cps", "2 of 1 3 5 7"}, 0, "35/32 5/4 21/16 3/2 7/4 15/8 "},
        {{"new", "--genus", "3 5"}, 0, "1/1 5/4 3/2 15/8 "},
        {{"new", "--diamond", "46"}, 2, ""},
        {{"new", "--genus", "3 x"}, 2, ""},
        {{"new", "--diamond", "5", "--genus", "3"}, 2, ""},
        {{"new"}, 2, ""},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(dir, c.args);
        EXPECT_EQ(run.status, c.status) << c.args[1] << run.err;
        std::string out = run.out;
        std::replace(out.begin(), out.end(), '\n', ' ');
        EXPECT_EQ(out, c.out) << c.args[1];
    }
    const std::string path = (dir.path() / "hexany.scl").string();
    const CliRun run = runCli(dir, {"new", "--cps", "2 of 1 3 5 7", "-o", path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(path),
              "!hexany.scl\r\n!\r\n2 of 1 3 5 7 combination product set\r\n  6\r\n!\r\n"
              " 35/32\r\n 5/4\r\n 21/16\r\n 3/2\r\n 7/4\r\n 15/8\r\n");
}

TEST(CliScaleCommands, LayoutInEitherStyle)
{
    ScratchDirectory dir;
    CliRun run = runCli(dir, {"layout", fixture("cli_scale.scl")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "0\t0\t-\n1000\t1000\t-\n0\t0\t-\n");
    run = runCli(dir, {"layout", "--style", "1", fixture("cli_scale.scl")});
    EXPECT_EQ(run.status, 0) << run.err;
    // The cents element comes to the circle from its whole cents, -30.
    EXPECT_EQ(run.out, "0\t499\t-\n930\t754\t-\n6\t578\t-\n");
}

TEST(CliScaleCommands, SclRewritesTheFile)
{
    ScratchDirectory dir;
    const std::string out = dir.file("out.scl");
    const CliRun run = runCli(dir, {"scl", fixture("cli_scale.scl"), out});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(out), "!out.scl\r\n!\r\nCli scale\r\n  3\r\n!\r\n 1/1\r\n 3/1\r\n"
                              "-30.997190 cents\r\n");
}

TEST(CliScaleCommands, UnreadableFilesGiveTheReadersMessageAndStatusOne)
{
    ScratchDirectory dir;
    const std::string missing = dir.file("missing.scl");
    CliRun run = runCli(dir, {"table", missing});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Unable to open " + missing + "\n");
    EXPECT_EQ(run.out, "");

    run = runCli(dir, {"layout", fixture("error_line.scl")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Unknown format: 3/0 zero\n");
    EXPECT_EQ(run.out, "");

    run = runCli(dir, {"scl", fixture("no_count.scl"), dir.file("never.scl")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Invalid scala file!\n");

    const std::string unwritable = dir.file("no/such/dir.scl");
    run = runCli(dir, {"scl", fixture("cli_scale.scl"), unwritable});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Unable to open " + unwritable + ": No such file or directory\n");
}

}  // namespace
}  // namespace tv
