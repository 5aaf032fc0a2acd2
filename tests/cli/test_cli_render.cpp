// tonalvane-cli render: key presses saved as a Standard MIDI File from a keyboard file.

#include "CliRun.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct RenderCliTest : ::testing::Test {
    ScratchDirectory dir;
    std::string keys = dir.file("keys.tvk");
    std::string presses = dir.file("presses.txt");
    std::string out = dir.file("out.mid");

    void SetUp() override
    {
        // The A key (slot 11) plays middle C for half a second.
        std::ofstream(keys, std::ios::binary)
            << "#11\r\nPLAY 1/1 500 MSEC\r\n~5001e00040903c6044000001f4803c000000\r\n";
    }
    CliRun render(const std::string& pressText)
    {
        std::ofstream(presses, std::ios::binary) << pressText;
        return runCli(dir, {"render", keys, presses, "-o", out});
    }
};

Bytes trackFile(const Bytes& events)
{
    Bytes file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 0x78, 'M', 'T', 'r', 'k', 0, 0, 0};
    file.push_back(static_cast<std::uint8_t>(34 + events.size()));
    const Bytes meta{0,    0xFF, 0x54, 5,    0x40, 0, 0, 0,    0, 0, 0xFF, 0x51, 3, 0x0F, 0x42,
                     0x40, 0,    0xFF, 0x58, 4,    4, 2, 0x18, 8, 0, 0xFF, 0x59, 2, 0,    0};
    file.insert(file.end(), meta.begin(), meta.end());
    file.insert(file.end(), events.begin(), events.end());
    file.insert(file.end(), {0, 0xFF, 0x2F, 0});
    return file;
}

Bytes readFile(const std::string& path)
{
    const std::string bytes = readBytes(path);
    return Bytes(bytes.begin(), bytes.end());
}

TEST_F(RenderCliTest, PressesBecomeTheFileASavedRecordingWouldBe)
{
    // Two presses a second apart, CR LF line ends and a blank line; the B key has no script.
    const CliRun run = render("65 0\r\n\r\n66 200\r\n  65\t1000  \r\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(readFile(out),
              trackFile({0,    0xE0, 0, 0x40, 0, 0x90, 0x3C, 0x60, 0x3C, 0x80, 0x3C, 0,
                         0x3C, 0xE0, 0, 0x40, 0, 0x90, 0x3C, 0x60, 0x3C, 0x80, 0x3C, 0}));

    ASSERT_EQ(render("").status, 0);
    EXPECT_EQ(readFile(out), trackFile({}));
}

TEST_F(RenderCliTest, BadPressesAreRefusedWithTheirLine)
{
    const struct {
        const char* text;
        const char* says;
    } cases[] = {
        {"65\n", "presses.txt line 1: "},
        {"65 0\n300 5\n", "line 2: the key code 300 is above 255"},
        {"65 16777216\n", "line 1: the elapsed time 16777216 ms is above 16777215 ms"},
        {"65 -1\n", "line 1: expected"},
        {"65 5 7\n", "line 1: expected"},
        {"\n\nA 5\n", "line 3: expected"},
        {"65 5ms\n", "line 1: expected"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const CliRun run = render(c.text);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    EXPECT_EQ(render("65 16777215\n").status, 0);
}

TEST_F(RenderCliTest, AFileThatCannotBeWritten)
{
    std::ofstream(presses) << "65 0\n";
    const std::string nowhere = dir.file("no/such/folder/out.mid");
    const CliRun run = runCli(dir, {"render", keys, presses, "-o", nowhere});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Unable to open " + nowhere + " for writing\n");
}

}  // namespace
}  // namespace tv::test
