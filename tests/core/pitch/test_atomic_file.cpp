// Saving whole files through a temporary file, and the messages of the savers that use it.

#include "core/pitch/AtomicFile.h"

#include "support/ScratchDirectory.h"
#include "support/WithoutFilePrivilege.h"

#include "core/keyboard/KeyboardFile.h"
#include "core/lattice/Lattice.h"
#include "core/lattice/ScalaFile.h"
#include "core/midi/MidiMessage.h"
#include "core/midi/StandardMidiFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <system_error>
#include <vector>

namespace tv {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::writeBytes;

int entriesIn(const fs::path& dir)
{
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir))
        ++entries;
    return entries;
}

// A full disk fails a write part way; a writer that does so stands in for one.
bool diskFull(std::FILE* file, std::string_view bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size() / 2, file);
    errno = ENOSPC;
    return false;
}

enum class Place { readOnlyFolder, readOnlyTarget, fullDisk, underAFile, missingFolder, folder };

struct Prepared {
    std::string path;
    FileChunkWriter writer;
};

// In `dir`, which holds keep.txt, the target of a save that must fail as `place` says.
Prepared prepare(const test::ScratchDirectory& dir, Place place)
{
    switch (place) {
    case Place::readOnlyFolder:
        fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
        return {dir.file("keep.txt"), {}};
    case Place::readOnlyTarget:
        fs::permissions(dir.file("keep.txt"), fs::perms::owner_read);
        return {dir.file("keep.txt"), {}};
    case Place::fullDisk: return {dir.file("keep.txt"), diskFull};
    case Place::underAFile: return {dir.file("keep.txt") + "/new.txt", {}};
    case Place::missingFolder: return {dir.file("gone") + "/new.txt", {}};
    case Place::folder: fs::create_directory(dir.file("folder")); return {dir.file("folder"), {}};
    }
    return {};
}

TEST(AtomicFile, AFailedSaveKeepsTheOldFileLeavesNothingAndSaysWhy)
{
    const struct {
        const char* what;
        Place place;
        AtomicWriteStatus status;
        int error;
    } cases[] = {
        {"read-only folder", Place::readOnlyFolder, AtomicWriteStatus::openFailed, EACCES},
        {"read-only target", Place::readOnlyTarget, AtomicWriteStatus::openFailed, EACCES},
        {"full disk", Place::fullDisk, AtomicWriteStatus::writeFailed, ENOSPC},
        {"a path under a regular file", Place::underAFile, AtomicWriteStatus::openFailed, ENOTDIR},
        {"missing folder", Place::missingFolder, AtomicWriteStatus::openFailed, ENOENT},
        {"a folder in the way", Place::folder, AtomicWriteStatus::openFailed, EISDIR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScratchDirectory dir;
        writeBytes(dir.file("keep.txt"), "old content\n");
        const int before = entriesIn(dir.path()) + (c.place == Place::folder);
        const Prepared target = prepare(dir, c.place);
        int error = 0;
        AtomicWriteStatus status;
        {
            const test::WithoutFilePrivilege asAnyUser;
            status = writeFileAtomically(target.path, "new content\n", target.writer, &error);
        }
        fs::permissions(dir.path(), fs::perms::owner_all);
        fs::permissions(dir.file("keep.txt"), fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(error, c.error) << std::generic_category().message(error);
        EXPECT_EQ(readBytes(dir.file("keep.txt")), "old content\n");
        EXPECT_EQ(entriesIn(dir.path()), before) << "a temporary file was left behind";
    }
}

TEST(AtomicFile, EachSaverNamesThePathAndItsOwnReason)
{
    const auto scala = [](const Prepared& target) {
        Lattice lattice;
        lattice.addRatio("", 3, 2);
        return writeScalaFile(lattice.toScale(), target.path, target.writer);
    };
    const auto keyboard = [](const Prepared& target) {
        return writeKeyboardFile(KeySlots{}, target.path, target.writer);
    };
    const auto midi = [](const Prepared& target) {
        const std::vector<TimedMidiMessage> events = {{0, noteOn(0, 60, 90)}};
        return writeStandardMidiFile(target.path, events);
    };
    const struct {
        const char* what;
        std::function<FileResult(const Prepared&)> save;
        Place place;
        std::string message;  // after the path
    } cases[] = {
        {"scale, unable to open", scala, Place::underAFile, ": Not a directory"},
        {"scale, unable to write", scala, Place::fullDisk, ": No space left on device"},
        {"keyboard", keyboard, Place::readOnlyFolder, " for writing"},
        {"MIDI file", midi, Place::folder, " for writing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScratchDirectory dir;
        writeBytes(dir.file("keep.txt"), "old content\n");
        const Prepared target = prepare(dir, c.place);
        FileResult result;
        {
            const test::WithoutFilePrivilege asAnyUser;
            result = c.save(target);
        }
        fs::permissions(dir.path(), fs::perms::owner_all);
        const std::string failed =
            c.place == Place::fullDisk ? "Unable to write " : "Unable to open ";
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, failed + target.path + c.message);
        EXPECT_EQ(readBytes(dir.file("keep.txt")), "old content\n");
    }
}

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
