#include "KeyboardFileTestSupport.h"
#include "support/ScratchDirectory.h"

#include "core/keyboard/KeyboardFile.h"
#include "core/pitch/FileText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace tv {
namespace {

namespace fs = std::filesystem;
using test::code;
using test::describe;
using test::readBytes;
using test::ScratchDirectory;
using test::writeBytes;

int entriesIn(const fs::path& dir)
{
    int n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir))
        ++n;
    return n;
}

KeySlots exampleSlots()
{
    KeySlots slots;
    *slots.slotAt(11) = {"x\r\ny", code({0x52, 0, 0, 1, 0xf4, 0})};
    return slots;
}

TEST(KeyboardFileIo, SavesAndOpensThroughTheDisk)
{
    ScratchDirectory dir;
    const std::string path = dir.file("keys.tvk");
    writeBytes(path, "an older, longer file that the save replaces whole");
    const FileResult saved = writeKeyboardFile(exampleSlots(), path);
    ASSERT_TRUE(saved.ok) << saved.message;
    EXPECT_EQ(readBytes(path), "#11\r\nx\r\r\ny\r\n~52000001f40000\r\n");
    EXPECT_EQ(entriesIn(dir.path()), 1);

    KeySlots back;
    const FileResult opened = readKeyboardFile(back, path);
    ASSERT_TRUE(opened.ok) << opened.message;
    EXPECT_EQ(describe(back), "#11 'x\\r\\ny' 52 00 00 01 f4 00 00\n");

    // No scripts: a file of zero bytes.
    ASSERT_TRUE(writeKeyboardFile(KeySlots{}, path).ok);
    EXPECT_EQ(fs::file_size(path), 0u);
}

// Files that are no keyboard files: the reader's message and untouched slots, or a read that
// finds what the bytes hold. How each kind of bad file is read is tested with the file reader.
TEST(KeyboardFileIo, BadInputGivesAMessageOrWhatTheBytesHold)
{
    ScratchDirectory dir;
    const std::string huge = dir.file("huge.tvk");
    writeBytes(huge, "");
    fs::resize_file(huge, std::uintmax_t{1} << 30);
    writeBytes(dir.file("binary.tvk"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    struct Case {
        const char* what;
        std::string path;
        std::string message;  // empty: read
    };
    const Case cases[] = {
        {"missing", dir.file("missing.tvk"),
         "Unable to open " + dir.file("missing.tvk") + " for reading"},
        {"a gigabyte", huge, "Unable to open " + huge + " for reading: it is larger than 64 MiB"},
        {"binary", dir.file("binary.tvk"), ""},
    };
    const std::string before = describe(exampleSlots());
    for (const auto& c : cases) {
        KeySlots slots = exampleSlots();
        const FileResult r = readKeyboardFile(slots, c.path);
        EXPECT_EQ(r.ok, c.message.empty()) << c.what;
        EXPECT_EQ(r.message, c.message) << c.what;
        EXPECT_EQ(describe(slots), before) << c.what;
    }
}

// As the earlier rules wrote them: CR CR LF after text lines, lines longer than 511 bytes
// written whole (readers once cut them into pieces), upper-case hex from other tools.
TEST(KeyboardFileIo, FilesOfTheEarlierRulesReadAsMeant)
{
    ScratchDirectory dir;
    const std::string path = dir.file("old.tvk");
    const std::string longLine(1500, 'n');
    std::string digits;
    for (int i = 0; i < 300; ++i)
        digits += "5200000064";
    writeBytes(path, "#1\r\nPLAY 1/1\r\r\n" + longLine + "\r\r\nREST 1 SEC\r\n~" + digits +
                         "0000\r\n#37\r\nA\r\r\n~2A0105" + "5000" + "0000\r\n");
    KeySlots slots;
    ASSERT_TRUE(readKeyboardFile(slots, path).ok);
    EXPECT_EQ(slots.slotAt(1)->scriptText, "PLAY 1/1\r\n" + longLine + "\r\nREST 1 SEC");
    ASSERT_TRUE(slots.slotAt(1)->code);
    EXPECT_EQ(slots.slotAt(1)->code->size(), 300u * 5 + 2);
    EXPECT_EQ(slots.slotAt(37)->scriptText, "A");
    EXPECT_EQ(slots.slotAt(37)->code->hex(), "2a 01 05 50 00 00 00");
}

// Whatever the bytes, reading ends and touches nothing outside the slots.
TEST(KeyboardFileIo, HostileFilesAreReadSafely)
{
    ScratchDirectory dir;
    std::mt19937 random(12);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string binary;
    for (int i = 0; i < 1 << 20; ++i) {
        // Marks and line ends often enough that records start and codes decode.
        const int b = byte(random);
        binary += static_cast<char>(b < 8 ? '#' : b < 16 ? '~' : b < 40 ? '\n' : b);
    }
    const std::string binaryPath = dir.file("binary.tvk");
    writeBytes(binaryPath, binary);
    KeySlots slots;
    ASSERT_TRUE(readKeyboardFile(slots, binaryPath).ok);
    EXPECT_FALSE(describe(slots).empty());

    const std::string hugePath = dir.file("huge.tvk");
    writeBytes(hugePath, "#58\r\n" + std::string(4 << 20, 'h') + "\r\n~" +
                             std::string(1 << 20, 'f') + "f\r\n");
    KeySlots huge;
    ASSERT_TRUE(readKeyboardFile(huge, hugePath).ok);
    EXPECT_EQ(huge.slotAt(58)->scriptText->size(), std::size_t{4} << 20);
    EXPECT_EQ(huge.slotAt(58)->code->size(), std::size_t{1} << 19);
}

}  // namespace
}  // namespace tv
