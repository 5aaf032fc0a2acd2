// Edit > Options: choosing the MIDI output and the bend range, against a fake device list.

#include "app/Application.h"
#include "platform/qt/SettingsStore.h"
#include "support/CaptureMidiService.h"
#include "support/RecordingMessageService.h"
#include "ui/common/OptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
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
    ASSERT_TRUE(application.chordQueue().queueRatio(0, 0, 3, 2));
    application.chordQueue().sendQueued(0);
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

    // What plays now goes to the new device only.
    application.chordQueue().queueRatio(0, 0, 1, 1);
    application.chordQueue().sendQueued(0);
    EXPECT_EQ(opened["Synth B"]->hex(), (Hex{"c0 00", "e0 00 40", "90 3c 5a"}));
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

}  // namespace
}  // namespace tv
