#include "CliRun.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::CliRun;
using test::readBytes;
using test::runCli;
using test::ScratchDirectory;
using test::writeBytes;

// Slots out of order in the file, a key of each kind, a key with code but no text, a text
// with several lines and LF line ends, a record for a slot that does not exist.
const std::string keyboardFile = "#11\r\nx\r\r\ny\r\n~52000001f40000\r\n"
                                 "#0\r\nPLAY 1/1\r\n~0000\r\n"
                                 "#99\r\nlost\r\n~00\r\n"
                                 "#58\n~2a0000520000006400\n"
                                 "#10\n\nsecond\n"
                                 "#37\r\nF1 key\r\n~\r\n"
                                 "#49\r\n #semicolon\r\n~0000\r\n";

TEST(CliKeys, ListsEachKeyWithAScript)
{
    ScratchDirectory dir;
    const std::string path = dir.file("keys.tvk");
    writeBytes(path, keyboardFile);
    const CliRun run = runCli(dir, {"keys", path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "0\tspace\t2\tPLAY 1/1\n"
                       "10\t9\t0\t\n"
                       "11\ta\t7\tx\n"
                       "37\tF1\t0\tF1 key\n"
                       "49\t;\t2\t#semicolon\n"
                       "58\t'\t9\t\n");
    EXPECT_EQ(run.err, "");
}

TEST(CliKeys, SaveWritesTheKeysAsTheWriterDoes)
{
    ScratchDirectory dir;
    const std::string in = dir.file("in.tvk");
    const std::string out = dir.file("out.tvk");
    writeBytes(in, keyboardFile);
    const CliRun run = runCli(dir, {"keys", "--save", out, in});
    EXPECT_EQ(run.status, 0) << run.err;
    // Slot 58 has no text and is left out; code keeps the zero read after its end byte.
    EXPECT_EQ(readBytes(out), "#0\r\nPLAY 1/1\r\n~0000\r\n"
                              "#10\r\n\r\r\nsecond\r\n~0000\r\n"
                              "#11\r\nx\r\r\ny\r\n~52000001f40000\r\n"
                              "#37\r\nF1 key\r\n~0000\r\n"
                              "#49\r\n #semicolon\r\n~0000\r\n");
}

TEST(CliKeys, FileErrorsGiveTheMessageAndStatusOne)
{
    ScratchDirectory dir;
    const std::string missing = dir.file("missing.tvk");
    CliRun run = runCli(dir, {"keys", missing});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Unable to open " + missing + " for reading\n");
    EXPECT_EQ(run.out, "");

    const std::string in = dir.file("in.tvk");
    writeBytes(in, keyboardFile);
    const std::string unwritable = dir.file("no/such/dir.tvk");
    run = runCli(dir, {"keys", in, "--save", unwritable});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Unable to open " + unwritable + " for writing\n");
    run = runCli(dir, {"keys", in, "--save", ""});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Unable to open  for writing\n");
}

}  // namespace
}  // namespace tv
