#include "CliRun.h"

#include <gtest/gtest.h>

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
                       "Bend MSB\tBend LSB\n"
                       "1:1\t0.000\t0 0 0 0 0\t0.000000\t1\t1\t1\t60\t8192\t64\t0\n"
                       "3:1\t1901.955\t1 0 0 0 0\t-nan\t3\t3\t1\t79\t8272\t64\t80\n"
                       "0:0\t-30.997\t0 0 0 0 0\t0.000000\t1\t1\t1\t60\t6923\t54\t11\n");
    EXPECT_EQ(run.err, "");
}

TEST(CliScaleCommands, LayoutInEitherStyle)
{
    ScratchDirectory dir;
    CliRun run = runCli(dir, {"layout", fixture("cli_scale.scl")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "0\t0\n1000\t1000\n0\t0\n");
    run = runCli(dir, {"layout", "--style", "1", fixture("cli_scale.scl")});
    EXPECT_EQ(run.status, 0) << run.err;
    // The cents element comes to the circle from its whole cents, -30.
    EXPECT_EQ(run.out, "0\t499\n930\t754\n6\t578\n");
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
