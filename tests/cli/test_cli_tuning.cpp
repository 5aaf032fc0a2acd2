#include "CliRun.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::CliRun;
using test::readBytes;
using test::runCli;
using test::ScratchDirectory;
using test::writeBytes;

std::string tuningFile(const std::string& name)
{
    return std::string(TONALVANE_TEST_DATA_DIR) + "/tuning/" + name;
}

// Black keys 61 to 66 of a five-key map on the twelve-note scale; 64 and 65 are unmapped.
const std::string blackKeys = "! black.kbm\n5\n61\n66\n61\n61\n277.2\n12\n1\n3\nx\nx\n10\n";

TEST(CliTuningCommands, KbmListsEveryKeyItMapsOrLeavesUnmapped)
{
    ScratchDirectory dir;
    writeBytes(dir.file("black.kbm"), blackKeys);
    CliRun run = runCli(dir, {"kbm", dir.file("black.kbm"), "--save", dir.file("out.kbm")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "61\t1\t111.731285\n62\t3\t315.641287\n63\tx\tx\n64\tx\tx\n"
                       "65\t10\t996.089998\n66\t13\t1311.731285\n");
    // Read back, the mapping lists every key the same way.
    const std::string saved = readBytes(dir.file("out.kbm"));
    EXPECT_NE(saved.find("\r\n1\r\n3\r\nx\r\nx\r\n10\r\n"), std::string::npos);
    const CliRun again = runCli(dir, {"kbm", dir.file("out.kbm")});
    EXPECT_EQ(again.out, run.out);
    // A scale of 1/1 alone: a degree an octave.
    writeBytes(dir.file("one.scl"), "! one.scl\nOne\n1\n2/1\n");
    run = runCli(dir, {"kbm", dir.file("black.kbm"), "--scale", dir.file("one.scl")});
    EXPECT_EQ(run.out.substr(0, 17), "61\t1\t1200.000000\n");
}

TEST(CliTuningCommands, TunAndSyxWriteTheHandWorkedFiles)
{
    ScratchDirectory dir;
    CliRun run = runCli(dir, {"tun", tuningFile("just12.scl"), "-o", dir.file("a.tun")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(dir.file("a.tun")), readBytes(tuningFile("just12.tun")));
    run = runCli(dir, {"syx", tuningFile("just12.scl"), "-o", dir.file("a.syx")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(dir.file("a.syx")), readBytes(tuningFile("just12.syx")));

    // With the black-key map, key 61 is tuned to 277.2 Hz and an unmapped key keeps its own.
    writeBytes(dir.file("black.kbm"), blackKeys);
    run = runCli(dir, {"tun", tuningFile("just12.scl"), "--kbm", dir.file("black.kbm"), "-o",
                       dir.file("b.tun")});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string tun = readBytes(dir.file("b.tun"));
    EXPECT_NE(tun.find("\r\nnote 61=6100.108480\r\nnote 62=6304.018482\r\nnote 63=6300.000000\r\n"),
              std::string::npos);
}

TEST(CliTuningCommands, BadMappingsAndArguments)
{
    ScratchDirectory dir;
    writeBytes(dir.file("bad.kbm"), "! bad\n12\n0\n127\n60\n69\n440 Hz\nocto\n");
    const std::string scale = tuningFile("just12.scl");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{"kbm", dir.file("bad.kbm")},
         1,
         "Invalid keyboard mapping, line 8: the formal octave's degree must be a scale degree "
         "from 0 to 65535, not 'octo'\n"},
        {{"syx", scale, "--kbm", dir.file("none.kbm"), "-o", dir.file("x.syx")},
         1,
         "Unable to open " + dir.file("none.kbm") + "\n"},
        {{"tun", scale}, 2, "tonalvane-cli: tun needs a scale file and -o OUT.tun\n"},
        {{"syx", "-o", dir.file("x.syx")},
         2,
         "tonalvane-cli: syx needs a scale file and -o OUT.syx\n"},
        {{"tun", scale, "-o", dir.file("no/such/dir.tun")},
         1,
         "Unable to open " + dir.file("no/such/dir.tun") + ": No such file or directory\n"},
        {{"kbm"}, 2, "tonalvane-cli: kbm needs one keyboard mapping file\n"},
        {{"kbm", dir.file("bad.kbm"), "--scale"}, 2, "tonalvane-cli: --scale needs a value\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(dir, c.args);
        EXPECT_EQ(run.status, c.status) << c.args[0];
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.syx")));
}

}  // namespace
}  // namespace tv
