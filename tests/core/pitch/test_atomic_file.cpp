#include "core/pitch/AtomicFile.h"

#include "support/ScratchDirectory.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::readBytes;
using test::writeBytes;

TEST(AtomicFile, ATemporaryLeftBehindNeitherBlocksTheSaveNorIsTaken)
{
    // What a save that was cut short leaves beside its target, or what another program is
    // writing at the same moment.
    test::ScratchDirectory dir;
    const std::string path = dir.file("take.txt");
    const std::string leftBehind = dir.file(".take.txt.0.tmp");
    writeBytes(leftBehind, "someone else's");
    ASSERT_EQ(writeFileAtomically(path, "new"), AtomicWriteStatus::ok);
    EXPECT_EQ(readBytes(path), "new");
    EXPECT_EQ(readBytes(leftBehind), "someone else's");
}

}  // namespace
}  // namespace tv
