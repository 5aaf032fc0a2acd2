#include "support/ScratchDirectory.h"
#include "support/WithoutFilePrivilege.h"

#include "core/lattice/Lattice.h"
#include "core/lattice/ScalaFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <system_error>

namespace tv {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::ScratchDirectory;
using test::writeBytes;

// A file of `size` bytes that takes no room on the disk.
void sparseFile(const std::string& path, std::uintmax_t size)
{
    writeBytes(path, "");
    fs::resize_file(path, size);
}

Lattice oldLattice()
{
    Lattice lattice;
    lattice.setTitle("Old");
    lattice.addRatio("", 3, 2);
    return lattice;
}

TEST(ScalaBadInput, ReadingGivesAClearMessageAndKeepsTheLattice)
{
    enum class Make { bytes, sparse, unreadable };
    struct Case {
        const char* what;
        Make make;
        std::string bytes;  // or a size for a sparse file
        std::uintmax_t size;
        std::string message;  // "%" stands for the path
    };
    const std::uintmax_t limit = scalaMaxFileBytes;
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 37 + 11) % 256);
    const Case cases[] = {
        {"unreadable", Make::unreadable, "T\n1\n3/2\n", 0, "Unable to open %"},
        {"empty", Make::bytes, "", 0, "Invalid scala file!"},
        {"binary", Make::bytes, binary, 0, "Invalid scala file!"},
        {"a byte over the limit", Make::sparse, "", limit + 1, "% is too large to be a scale file"},
        {"at the limit: read", Make::sparse, "", limit, "Invalid scala file!"},
        {"binary pitch line", Make::bytes, "T\n1\n" + std::string(100000, '\x01') + "\n", 0,
         "Unknown format:" + std::string(scalaMaxQuotedBytes, '\x01') + "...\n"},
    };
    ScratchDirectory dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.file(std::string(c.what) + ".scl");
        switch (c.make) {
        case Make::sparse: sparseFile(path, c.size); break;
        default:
            writeBytes(path, c.bytes);
            if (c.make == Make::unreadable)
                fs::permissions(path, fs::perms::none);
        }
        std::string expected = c.message;
        if (const auto at = expected.find('%'); at != std::string::npos)
            expected.replace(at, 1, path);
        Lattice lattice = oldLattice();
        const FileResult result = [&] {
            const test::WithoutFilePrivilege asAnyUser;
            return lattice.readScala(path);
        }();
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, expected);
        // Only a file that got as far as its count replaces the title and the pitches.
        const bool countRead = result.message.starts_with(scalaUnknownFormatText);
        EXPECT_EQ(lattice.title(), countRead ? "T" : "Old");
    }
}

}  // namespace
}  // namespace tv
