// Playing from a MIDI keyboard: the input chosen in Options, its notes queued to this thread
// and played through the output, the window they light, and every way its notes end.

#include "app/Application.h"
#include "platform/qt/SettingsStore.h"
#include "support/CaptureMidiService.h"
#include "support/RecordingMessageService.h"
#include "ui/common/OptionsDialog.h"
#include "ui/lattice/LatticeWindow.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

namespace tv {
namespace {

using Hex = std::vector<std::string>;

// A port that delivers from a thread of its own, as a backend does.
struct FakeInput : MidiInputPort {
    MidiInputHandler& handler;
    bool& present;
    bool& open;
    bool lostSent = false;
    FakeInput(MidiInputHandler& h, bool& p, bool& o) : handler(h), present(p), open(o)
    {
        open = true;
    }
    ~FakeInput() override { open = false; }
    bool checkPresent() override
    {
        if (!present && !lostSent)
            handler.inputLost("The MIDI input is gone.");
        lostSent = !present;
        return present;
    }
    void play(std::vector<std::uint32_t> m)
    {
        std::thread([&] { handler.midiReceived(m.data(), m.size()); }).join();
    }
};

struct Target : KeyboardTarget {
    KeyScale keyScale() const override { return KeyScale(); }
    KeyboardMapping keyboardMapping() const override { return {}; }
    void keysSounding(const std::vector<int>& keys) override { heard = keys; }
    std::vector<int> heard{-1};
};

struct KeyboardInputTest : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings = SettingsStore::fileStore(dir.filePath("s.ini"));
    test::RecordingMessageService messages;
    std::vector<std::string> ports{"Keys A", "Keys B"};
    std::string busy;
    std::map<std::string, FakeInput*> inputs;
    std::map<std::string, bool> isOpen;
    bool present = true;
    MidiInputAccess fakeInputs()
    {
        return {[this] { return ports; },
                [this](const std::string& name, MidiInputHandler& handler,
                       std::string& error) -> std::unique_ptr<MidiInputPort> {
                    if (name == busy)
                        return error = name + " is busy.", nullptr;
                    auto in = std::make_unique<FakeInput>(handler, present, isOpen[name]);
                    return inputs[name] = in.get(), std::move(in);
                }};
    }
    MidiDeviceAccess noOutputs{[] { return std::vector<MidiOutputInfo>{}; }, nullptr};
    Application app{messages, *settings, noOutputs, fakeInputs()};
    std::shared_ptr<test::CaptureMidiService> out = std::make_shared<test::CaptureMidiService>();
    Target target;
    void SetUp() override { app.openMidi(out, "", "Synth"), app.playFromKeyboard(target); }
    void play(std::vector<std::uint32_t> m)
    {
        inputs["Keys A"]->play(std::move(m));
        QCoreApplication::processEvents();
    }
};

TEST_F(KeyboardInputTest, TheListOffersNoneAndThePortsReadAfreshAndKeepsTheChoice)
{
    OptionsDialog first(app);
    QComboBox* list = first.controls().inputList;
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), "None");
    emit list->activated(2);
    EXPECT_TRUE(isOpen["Keys B"]);
    EXPECT_EQ(settings->value(midiInputSetting), QString("Keys B"));
    busy = "Keys A";  // a port that will not open leaves the one in use, and says why
    emit list->activated(1);
    EXPECT_EQ(messages.texts, QStringList{"Keys A is busy."});
    EXPECT_EQ(list->currentIndex(), 2);
    EXPECT_TRUE(isOpen["Keys B"]);
    ports.insert(ports.begin(), "Late keys");
    OptionsDialog second(app);
    EXPECT_EQ(second.controls().inputList->count(), 4);
    EXPECT_EQ(second.controls().inputList->currentIndex(), 3);
    emit second.controls().inputList->activated(0);
    EXPECT_FALSE(isOpen["Keys B"]);
    EXPECT_EQ(settings->value(midiInputSetting), QString(""));
    // The next start opens the kept port when it is there, and only then.
    busy.clear();
    app.switchMidiInput("Keys A");
    Application next(messages, *settings, noOutputs, fakeInputs());
    for (const bool there : {false, true}) {
        ports = {there ? "Keys A" : "Other"};
        next.startMidi();
        EXPECT_EQ(next.midiInputName(), there ? "Keys A" : "");
    }
}

TEST_F(KeyboardInputTest, NotesPlayOnThisThreadAndEveryWayTheInputGoesEndsThem)
{
    const std::vector<std::pair<const char*, std::function<void()>>> ways{
        {"switch", [&] { app.switchMidiInput("Keys B"); }},
        {"none", [&] { app.switchMidiInput(""); }},
        {"close", [&] { app.closeMidi(); }},
        {"window", [&] { app.keyboardTargetGone(target); }},
        {"vanished", [&] { present = false, app.checkInput(), app.checkInput(); }},
        {"method", [&] { app.setTuningMethod(TuningKind::Mts); }},  // the input stays
    };
    for (const auto& [way, end] : ways) {
        SCOPED_TRACE(way);
        app.setTuningMethod(TuningKind::Bend);
        app.playFromKeyboard(target);
        present = true;
        messages.texts.clear();
        ASSERT_TRUE(app.switchMidiInput("Keys A"));
        out->clear();
        inputs["Keys A"]->play({0x00643C90u});
        EXPECT_TRUE(out->hex().empty()) << "nothing is played on the backend's thread";
        QCoreApplication::processEvents();
        EXPECT_EQ(out->hex(), (Hex{"e0 00 40", "90 3c 64"}));
        EXPECT_EQ(target.heard, std::vector<int>{60});
        // What a port closed on purpose queued is passed over.
        if (way != std::string("method") && way != std::string("vanished"))
            inputs["Keys A"]->play({0x00643E90u});
        end();
        QCoreApplication::processEvents();
        app.checkInput();
        QCoreApplication::processEvents();
        const Hex hex = out->hex();
        ASSERT_GE(hex.size(), 3u);
        EXPECT_EQ(Hex(hex.begin(), hex.begin() + 3), (Hex{"e0 00 40", "90 3c 64", "80 3c 00"}));
        EXPECT_EQ(std::count_if(hex.begin(), hex.end(), [](auto& m) { return m[0] == '9'; }), 1);
        EXPECT_TRUE(target.heard.empty());
        EXPECT_EQ(messages.texts.size(), std::string(way) == "vanished" ? 1 : 0);
        app.openMidi(out, "", "Synth");
    }
}

TEST_F(KeyboardInputTest, TheWindowActivatedLastIsPlayedAndLitUntilItCloses)
{
    app.keyboardTargetGone(target);
    ASSERT_TRUE(app.switchMidiInput("Keys A"));
    QPointer<LatticeWindow> window = new LatticeWindow(app);
    window->lattice().loadDefaultScale();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    window->view()->invalidatePicture();
    const QImage unlit = window->view()->grab().toImage();
    out->clear();
    play({0x00643C90u, 0x00504390u});  // key 67 is the eighth size, 3/2
    EXPECT_EQ(out->hex(), (Hex{"e0 00 40", "90 3c 64", "e1 50 40", "91 43 50"}));
    const std::vector<bool> lit = window->keyboardLit();
    window->view()->invalidatePicture();
    const QImage litPicture = window->view()->grab().toImage();
    // Lit labels look as selected ones do.
    Lattice& lattice = window->lattice();
    for (int i = 0; i < lattice.count(); ++i) {
        EXPECT_EQ(lit.at(i), lattice.numerator(i) * 2 == lattice.denominator(i) * 3 ||
                                 lattice.numerator(i) == lattice.denominator(i));
        lattice.setSelected(i, lit.at(i));
    }
    play({0x00004390u, 0x00003C80u});
    window->view()->invalidatePicture();
    EXPECT_EQ(window->view()->grab().toImage(), litPicture);
    for (int i = 0; i < lattice.count(); ++i)
        lattice.setSelected(i, false);
    window->view()->invalidatePicture();
    EXPECT_EQ(window->view()->grab().toImage(), unlit);
    // Closing the window ends what it played; the keyboard then plays nothing.
    play({0x00643C90u});
    out->clear();
    window->close();
    EXPECT_EQ(out->hex(), Hex{"80 3c 00"});
    out->clear();
    play({0x00643C90u});
    EXPECT_EQ(out->hex(), Hex{});
    delete window;
}

}  // namespace
}  // namespace tv
