#include "CliRun.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::readBytes;
using test::runCli;
using test::writeBytes;

const std::string just12 = std::string(TONALVANE_TEST_DATA_DIR) + "/tuning/just12";

// Black keys 61 to 66 of a five-key map on the twelve-note scale; 63 and 64 are unmapped.
const std::string blackKeys = "! black.kbm\n5\n61\n66\n61\n61\n277.2\n12\n1\n3\nx\nx\n10\n";

TEST(CliTuningCommands, KbmListsEveryKeyItMapsOrLeavesUnmapped)
{
    test::ScratchDirectory dir;
    writeBytes(dir.file("black.kbm"), blackKeys);
    test::CliRun run = runCli(dir, {"kbm", dir.file("black.kbm"), "--save", dir.file("o.kbm")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "61\t1\t111.731285\n62\t3\t315.641287\n63\tx\tx\n64\tx\tx\n"
                       "65\t10\t996.089998\n66\t13\t1311.731285\n");
    EXPECT_NE(readBytes(dir.file("o.kbm")).find("\r\n1\r\n3\r\nx\r\nx\r\n10\r\n"),
              std::string::npos);
    // A scale of 1/1 alone: a degree an octave.
    writeBytes(dir.file("one.scl"), "! one.scl\nOne\n1\n2/1\n");
    run = runCli(dir, {"kbm", dir.file("black.kbm"), "--scale", dir.file("one.scl")});
    EXPECT_EQ(run.out.substr(0, 17), "61\t1\t1200.000000\n");
}

TEST(CliTuningCommands, TunAndSyxWriteTheHandWorkedFiles)
{
    test::ScratchDirectory dir;
    for (const std::string kind : {"tun", "syx"}) {
        const auto run = runCli(dir, {kind, just12 + ".scl", "-o", dir.file("a." + kind)});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(readBytes(dir.file("a." + kind)), readBytes(just12 + "." + kind));
    }
    // With the black-key map, key 61 is tuned to 277.2 Hz and an unmapped key keeps its own.
    writeBytes(dir.file("black.kbm"), blackKeys);
    runCli(dir, {"tun", just12 + ".scl", "--kbm", dir.file("black.kbm"), "-o", dir.file("b.tun")});
    EXPECT_NE(
        readBytes(dir.file("b.tun"))
            .find("\r\nnote 61=6100.108480\r\nnote 62=6304.018482\r\nnote 63=6300.000000\r\n"),
        std::string::npos);
}

TEST(CliTuningCommands, BadMappingsAndArguments)
{
    test::ScratchDirectory dir;
    writeBytes(dir.file("bad.kbm"), "! bad\n12\n0\n127\n60\n69\n440 Hz\nocto\n");
    const std::string scale = just12 + ".scl", none = dir.file("none.kbm");
    const std::string noDir = dir.file("no/such/dir.tun");
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{"kbm", dir.file("bad.kbm")},
         1,
         "Invalid keyboard mapping, line 8: the formal octave's degree must be a scale degree "
         "from 0 to 65535, not 'octo'\n"},
        {{"syx", scale, "--kbm", none, "-o", dir.file("x.syx")},
         1,
         "Unable to open " + none + "\n"},
        {{"tun", scale, "-o", noDir},
         1,
         "Unable to open " + noDir + ": No such file or directory\n"},
        {{"tun", scale}, 2, "tonalvane-cli: tun needs a scale file and -o OUT.tun\n"},
        {{"syx", "-o", "x.syx"}, 2, "tonalvane-cli: syx needs a scale file and -o OUT.syx\n"},
        {{"kbm"}, 2, "tonalvane-cli: kbm needs one keyboard mapping file\n"},
    };
    for (const auto& [args, status, err] : cases) {
        const auto run = runCli(dir, args);
        EXPECT_EQ(run.status, status) << args[0];
        EXPECT_EQ(run.err, err);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.syx")));
}

}  // namespace
}  // namespace tv
