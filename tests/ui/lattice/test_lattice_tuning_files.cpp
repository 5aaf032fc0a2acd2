// A lattice window's keyboard mapping files and tuning exports, through prepared dialog answers.

#include "LatticeFilesFixture.h"

#include "core/tuning/TuningExport.h"
#include "support/ScratchDirectory.h"

namespace tv::test {
namespace {

using LatticeTuningFilesTest = LatticeWindowFixture;

TEST_F(LatticeTuningFilesTest, AMalformedMappingKeepsTheOneInUseAndExportsFollowIt)
{
    LatticeWindow* window = openWindow();
    auto owned = std::make_unique<PreparedTuningDialogs>();
    PreparedTuningDialogs& dialogs = *owned;
    window->tuningFiles().setDialogs(std::move(owned));
    int changes = 0;
    window->tuningFiles().setMappingChanged([&changes] { ++changes; });

    // Keys 60 and 61 swap degrees 0 and 1, repeating every two keys and two degrees.
    const QString good = dir.filePath("swap.kbm"), bad = dir.filePath("bad.kbm");
    writeBytes(good.toStdString(), "! two keys\n2\n0\n127\n60\n60\n261.6255653\n2\n1\n0\n");
    writeBytes(bad.toStdString(), "2\n0\n127\n60\n60\n261.6255653\nlots\n1\n0\n");
    dialogs.paths = {good, bad};
    window->runCommand(LatticeCommand::OpenKeyboardMapping);
    window->runCommand(LatticeCommand::OpenKeyboardMapping);
    const KeyboardMapping swapped = window->tuningFiles().mapping();
    EXPECT_EQ(swapped.entries, (std::vector<int>{1, 0}));
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0],
              QStringLiteral("Invalid keyboard mapping, line 7: the formal octave's degree must be "
                             "a scale degree from 0 to 65535, not 'lots'"));

    // Saved and read back whole; a cancelled dialog writes nothing.
    const QString saved = dir.filePath("saved.kbm");
    dialogs.paths = {saved};
    window->runCommand(LatticeCommand::SaveKeyboardMapping);
    window->runCommand(LatticeCommand::SaveKeyboardMapping);
    const KeyboardMappingRead back = readKeyboardMappingFile(saved.toStdString());
    EXPECT_TRUE(back.ok) << back.message;
    EXPECT_EQ(back.mapping, swapped);

    // Both exports: the lattice's pitches through the mapping just read.
    const KeyTunings tunings = keyTunings(KeyScale(window->lattice()), swapped);
    const std::string title = window->lattice().title();
    const struct {
        TuningFileFormat format;
        const char* name;
        std::string expected;
    } exports[] = {
        {TuningFileFormat::AnaMark, "out.tun", anaMarkTuningText(tunings, title)},
        {TuningFileFormat::Dump, "out.syx", tuningDump(tunings, title).bytes},
    };
    for (const auto& e : exports) {
        dialogs.format = e.format;
        dialogs.paths = {dir.filePath(e.name)};
        window->runCommand(LatticeCommand::ExportTuning);
        EXPECT_EQ(readBytes(dir.filePath(e.name).toStdString()), e.expected) << e.name;
    }
    EXPECT_NE(tunings.front(), keyTunings(KeyScale(window->lattice()), {}).front());
    window->close();
}

TEST_F(LatticeTuningFilesTest, KeyLabelsNameTheKeysThatPlayEachLabel)
{
    LatticeWindow* window = openWindow();
    window->lattice().loadDefaultScale();
    auto dialogs = std::make_unique<PreparedTuningDialogs>();
    // Keys 60, 61 and 62 play degrees 0, 7 and 7, the octave 12 degrees above.
    dialogs->paths = {dir.filePath("both.kbm")};
    writeBytes(dialogs->paths[0].toStdString(), "3\n0\n127\n60\n60\n440\n12\n0\n7\n7\n");
    window->tuningFiles().setDialogs(std::move(dialogs));
    paint(window);
    const QImage plain = window->view()->grab().toImage();
    const auto labels = [&] {
        std::vector<std::string> found;
        for (const auto& [n, d] : {std::pair{1u, 1u}, {5u, 4u}, {3u, 2u}})
            found.push_back(window->keyLabels().at(indexOf(window->lattice(), n, d)));
        return found;
    };
    window->runCommand(LatticeCommand::KeyLabels);
    paint(window);
    EXPECT_NE(window->view()->grab().toImage(), plain) << "the keys are drawn";
    EXPECT_EQ(labels(), (std::vector<std::string>{"60", "64", "67"}));
    window->runCommand(LatticeCommand::OpenKeyboardMapping);
    EXPECT_EQ(labels(), (std::vector<std::string>{"60", "", "61 62"}));
    window->runCommand(LatticeCommand::KeyLabels);
    EXPECT_TRUE(window->keyLabels().empty());
    paint(window);
    EXPECT_EQ(window->view()->grab().toImage(), plain);
    window->close();
}

}  // namespace
}  // namespace tv::test
