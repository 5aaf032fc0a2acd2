// Whole-file reads with a bound on the size, as scripts and keyboard files are read.

#include "support/ScratchDirectory.h"

#include "core/pitch/FileText.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tv {
namespace {

namespace fs = std::filesystem;
using test::ScratchDirectory;
using test::writeBytes;

struct ReadCase {
    const char* what;
    std::string path;
    std::uintmax_t limit;
    FileTextStatus status;
    std::string text;  // on success
};

TEST(FileText, ReadsWholeFilesUpToTheBound)
{
    ScratchDirectory dir;
    writeBytes(dir.file("ten"), "0123456789");
    writeBytes(dir.file("empty"), "");
    writeBytes(dir.file("binary"), std::string("\0\xff\r\n\x1a", 5));
    // Sparse: a gigabyte that takes no room and must never be read.
    writeBytes(dir.file("huge"), "");
    fs::resize_file(dir.file("huge"), std::uintmax_t{1} << 30);
    const ReadCase cases[] = {
        {"exactly the bound", dir.file("ten"), 10, FileTextStatus::ok, "0123456789"},
        {"one byte over the bound", dir.file("ten"), 9, FileTextStatus::tooLarge, ""},
        {"empty", dir.file("empty"), 10, FileTextStatus::ok, ""},
        {"any bytes", dir.file("binary"), 10, FileTextStatus::ok, std::string("\0\xff\r\n\x1a", 5)},
        {"a gigabyte, refused by its size", dir.file("huge"), maxTextFileBytes,
         FileTextStatus::tooLarge, ""},
        {"missing", dir.file("missing"), 10, FileTextStatus::unableToOpen, ""},
        {"a directory", dir.path().string(), 10, FileTextStatus::unableToOpen, ""},
        // A device without a size: read up to the bound, then refused.
        {"endless", "/dev/zero", 100000, FileTextStatus::tooLarge, ""},
        // A file that opens but cannot be read, even by root: its own memory at address 0.
        {"unreadable", "/proc/self/mem", 10, FileTextStatus::unableToRead, ""},
    };
    for (const auto& c : cases) {
        std::string text = "before";
        EXPECT_EQ(readFileText(c.path, c.limit, text), c.status) << c.what;
        EXPECT_EQ(text, c.status == FileTextStatus::ok ? c.text : "before") << c.what;
    }
}

TEST(FileText, TheBoundAsMessagesNameIt)
{
    EXPECT_EQ(sizeLimitText(maxTextFileBytes), "64 MiB");
    EXPECT_EQ(sizeLimitText((std::uintmax_t{3} << 20) - 1), "2 MiB");
    EXPECT_EQ(sizeLimitText(1000), "1000 bytes");
}

}  // namespace
}  // namespace tv
