// Edit > Options: choosing the MIDI output and the bend range, against a fake device list.

#include "app/Application.h"
#include "platform/qt/SettingsStore.h"
#include "support/CaptureMidiService.h"
#include "support/RecordingMessageService.h"
#include "ui/common/OptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace tv {
namespace {

using Hex = std::vector<std::string>;
using Kind = MidiOutputInfo::Kind;
using Capture = test::CaptureMidiService;

Hex rangeMessages(const char* semitonesHex)
{
    Hex expected;
    const char* digits = "0123456789abcdef";
    for (int channel = 0; channel < 16; ++channel) {
        const std::string b = std::string("b") + digits[channel] + " ";
        for (const std::string& tail :
             {std::string("65 00"), std::string("64 00"), std::string("06 ") + semitonesHex,
              std::string("26 00"), std::string("65 7f"), std::string("64 7f")})
            expected.push_back(b + tail);
    }
    return expected;
}

struct OptionsTest : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings = SettingsStore::fileStore(dir.filePath("s.ini"));
    test::RecordingMessageService messages;
    std::vector<MidiOutputInfo> outputs{
        {Kind::Alsa, "Synth A", 0}, {Kind::Jack, "Synth B", 3}, {Kind::Builtin, "Built-in", 0}};
    std::set<std::string> broken;
    std::map<std::string, std::shared_ptr<Capture>> opened;  // the last device of each name

    MidiDeviceAccess fakeDevices()
    {
        return {[this] { return outputs; },
                [this](const MidiOutputInfo& output, std::string& error) {
                    std::shared_ptr<Capture> device;
                    if (broken.count(output.name))
                        error = output.name + " is busy.";
                    else
                        opened[output.name] = device = std::make_shared<Capture>();
                    return device;
                }};
    }

    Application application{messages, *settings, fakeDevices()};

    std::shared_ptr<Capture> openA()
    {
        auto a = std::make_shared<Capture>();
        application.openMidi(a, "", "Synth A");
        return a;
    }
    static QStringList items(const QComboBox* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
        return texts;
    }
};

TEST_F(OptionsTest, TheOutputListIsReadAfreshWithTheOutputInUseSelected)
{
    openA();
    {
        OptionsDialog dialog(application);
        EXPECT_EQ(dialog.windowTitle(), "Options");
        EXPECT_EQ(items(dialog.controls().outputList),
                  (QStringList{"Synth A", "Synth B", "Built-in"}));
        EXPECT_EQ(dialog.controls().outputList->currentIndex(), 0);
        EXPECT_EQ(dialog.controls().rangeList->count(), 24);
        EXPECT_EQ(dialog.controls().rangeList->currentText(), "2");
        EXPECT_FALSE(dialog.controls().sendRangeBox->isChecked());
    }
    // A synthesizer started later is there the next time.
    outputs.insert(outputs.begin() + 1, {Kind::Jack, "Late synth", 0});
    application.openMidi(std::make_shared<Capture>(), "", "Synth B");
    OptionsDialog dialog(application);
    EXPECT_EQ(items(dialog.controls().outputList),
              (QStringList{"Synth A", "Late synth", "Synth B", "Built-in"}));
    EXPECT_EQ(dialog.controls().outputList->currentIndex(), 2);
}

TEST_F(OptionsTest, SwitchingEndsWhatSoundsOnTheOldDeviceAndKeepsTheChoice)
{
    const auto a = openA();
    // Windows hold these for the whole run: a switch must not leave them dangling.
    PitchChord& chord = application.chord();
    MidiOutput& output = application.midiOutput();
    ScriptPlayers& players = application.players();
    ASSERT_TRUE(chord.add(ExactPitch::ratio(3, 2)));
    chord.play(0);
    const Hex sounding{"c0 00", "e0 50 40", "90 43 5a"};
    ASSERT_EQ(a->hex(), sounding);

    OptionsDialog dialog(application);
    QComboBox* list = dialog.controls().outputList;
    list->setCurrentIndex(1);
    emit list->activated(1);

    Hex ended = sounding;
    ended.push_back("80 43 00");
    EXPECT_EQ(a->hex(), ended);
    EXPECT_TRUE(a->closed());
    ASSERT_TRUE(opened.count("Synth B"));
    EXPECT_TRUE(opened["Synth B"]->hex().empty()) << "at the defaults nothing is sent on opening";
    EXPECT_EQ(application.midiOutputName(), "Synth B");
    EXPECT_EQ(settings->value(midiOutputSetting), QString("Synth B"));

    // What plays now, through the handles taken before, goes to the new device only.
    EXPECT_EQ(&application.chord(), &chord);
    EXPECT_EQ(&application.midiOutput(), &output);
    EXPECT_EQ(&application.players(), &players);
    chord.add(ExactPitch::ratio(1, 1));
    chord.play(0);
    EXPECT_EQ(opened["Synth B"]->hex(), (Hex{"c0 00", "e0 00 40", "90 3c 5a"}));
    EXPECT_TRUE(output.sounding(0, 60));
    EXPECT_EQ(a->hex(), ended);

    // An output that cannot be opened leaves the one in use playing, and says why.
    broken.insert("Built-in");
    list->setCurrentIndex(2);
    emit list->activated(2);
    EXPECT_EQ(messages.texts, QStringList{"Built-in is busy."});
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(application.midiOutputName(), "Synth B");
    EXPECT_FALSE(opened["Synth B"]->closed());
    EXPECT_EQ(settings->value(midiOutputSetting), QString("Synth B"));
}

TEST_F(OptionsTest, TheRangeGoesToTheDeviceWhenChosenAndWhenAnotherOpens)
{
    const auto a = openA();
    OptionsDialog dialog(application);
    QComboBox* ranges = dialog.controls().rangeList;
    ranges->setCurrentIndex(11);
    emit ranges->activated(11);
    EXPECT_EQ(application.midiOutput().bendRange(), 12);
    EXPECT_EQ(a->hex(), rangeMessages("0c"));
    EXPECT_EQ(settings->value(bendRangeSetting), QString("12"));

    emit dialog.controls().outputList->activated(1);
    EXPECT_EQ(opened["Synth B"]->hex(), rangeMessages("0c"));

    // Back at 2 nothing more is sent, unless the box asks for it.
    opened["Synth B"]->clear();
    ranges->setCurrentIndex(1);
    emit ranges->activated(1);
    EXPECT_TRUE(opened["Synth B"]->hex().empty());
    dialog.controls().sendRangeBox->click();
    EXPECT_EQ(opened["Synth B"]->hex(), rangeMessages("02"));
    EXPECT_EQ(settings->value(sendBendRangeSetting), QString("1"));

    // The next start takes the range and the box from the store.
    ranges->setCurrentIndex(23);
    emit ranges->activated(23);
    Application next(messages, *settings, fakeDevices());
    auto c = std::make_shared<Capture>();
    next.openMidi(c, "", "Synth A");
    EXPECT_EQ(next.midiOutput().bendRange(), 24);
    EXPECT_TRUE(next.midiOutput().sendsBendRange());
    EXPECT_EQ(c->hex(), rangeMessages("18"));
}

TEST_F(OptionsTest, TheTuningMethodTakesEffectAtOnceAndIsKept)
{
    const auto a = openA();
    OptionsDialog dialog(application);
    const auto& c = dialog.controls();
    EXPECT_EQ(items(c.tuningList),
              (QStringList{"Pitch bend, one channel per note", "MIDI Tuning Standard", "MPE"}));
    EXPECT_EQ(c.tuningList->currentIndex(), 0);
    EXPECT_EQ(c.stepLabel->text(), "Step: 0.024 cent");
    const auto choose = [&](QComboBox* list, int item) {
        list->setCurrentIndex(item);
        emit list->activated(item);
    };

    // The Tuning Standard: the channel selects tuning program 0; bends mean nothing to it.
    a->clear();
    choose(c.tuningList, 1);
    EXPECT_EQ(a->hex(), (Hex{"b0 65 00", "b0 64 04", "b0 06 00", "b0 65 00", "b0 64 03", "b0 06 00",
                             "b0 65 7f", "b0 64 7f"}));
    EXPECT_FALSE(c.rangeList->isEnabled());
    EXPECT_EQ(settings->value(tuningMethodSetting), QString("mts"));

    // MPE: the zone, and ranges up to 48 with their steps.
    choose(c.tuningList, 2);
    EXPECT_TRUE(c.rangeList->isEnabled());
    ASSERT_EQ(c.rangeList->count(), 48);
    a->clear();
    choose(c.rangeList, 47);
    EXPECT_EQ(application.midiOutput().bendRange(), 48);
    EXPECT_EQ(c.stepLabel->text(), "Step: 0.586 cent");
    const Hex zone{"b0 65 00", "b0 64 06", "b0 06 0f", "b1 65 00", "b1 64 00",
                   "b1 06 30", "b1 26 00", "b1 65 7f", "b1 64 7f"};
    Hex expected = rangeMessages("30");
    expected.insert(expected.end(), zone.begin(), zone.end());
    EXPECT_EQ(a->hex(), expected);

    // Kept for the next start, range and all.
    {
        Application next(messages, *settings, fakeDevices());
        EXPECT_EQ(next.pitchOutput().kind(), TuningKind::Mpe);
        auto b = std::make_shared<Capture>();
        next.openMidi(b, "", "Synth B");
        EXPECT_EQ(next.midiOutput().bendRange(), 48);
        Hex opened = rangeMessages("30");
        opened.insert(opened.end(), zone.begin(), zone.end());
        EXPECT_EQ(b->hex(), opened);
    }

    // Back to bends: a range above 24 is held to 24.
    choose(c.tuningList, 0);
    EXPECT_EQ(application.midiOutput().bendRange(), 24);
    EXPECT_EQ(c.rangeList->count(), 24);
    EXPECT_EQ(c.rangeList->currentText(), "24");
}

}  // namespace
}  // namespace tv
