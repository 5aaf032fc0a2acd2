// Playing from a MIDI keyboard: the input chosen in Edit > Options, its notes queued to this
// thread and played through the output, and every way an input's notes end.

#include "app/Application.h"
#include "core/tuning/KeyScale.h"
#include "core/tuning/KeyboardMapping.h"
#include "platform/qt/SettingsStore.h"
#include "support/CaptureMidiService.h"
#include "support/RecordingMessageService.h"
#include "ui/common/OptionsDialog.h"
#include "ui/lattice/LatticeWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace tv {
namespace {

using Hex = std::vector<std::string>;
using Capture = test::CaptureMidiService;

// A port that delivers what the test plays, from a thread of its own as a backend would.
struct FakeInput : MidiInputPort {
    MidiInputHandler* handler = nullptr;
    bool* present = nullptr;
    bool lostSent = false;
    bool* open = nullptr;

    ~FakeInput() override { *open = false; }
    bool checkPresent() override
    {
        if (!*present && !lostSent) {
            lostSent = true;
            handler->inputLost("The MIDI input is gone.");
        }
        return *present;
    }
    void play(std::vector<std::uint32_t> messages)
    {
        std::thread backend([&] { handler->midiReceived(messages.data(), messages.size()); });
        backend.join();
    }
};

struct Target : KeyboardTarget {
    KeyScale keyScale() const override { return KeyScale(); }
    KeyboardMapping keyboardMapping() const override { return {}; }
    void keysSounding(const std::vector<int>& keys) override { heard.push_back(keys); }
    std::vector<std::vector<int>> heard;
};

struct KeyboardInputTest : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings = SettingsStore::fileStore(dir.filePath("s.ini"));
    test::RecordingMessageService messages;
    std::vector<std::string> ports{"Keys A", "Keys B"};
    std::set<std::string> busy;
    std::map<std::string, FakeInput*> inputs;  // the last one opened of each name
    std::map<std::string, bool> isOpen;
    bool present = true;

    MidiInputAccess fakeInputs()
    {
        return {[this] { return ports; },
                [this](const std::string& name, MidiInputHandler& handler,
                       std::string& error) -> std::unique_ptr<MidiInputPort> {
                    if (busy.count(name)) {
                        error = name + " is busy.";
                        return nullptr;
                    }
                    auto input = std::make_unique<FakeInput>();
                    input->handler = &handler;
                    input->present = &present;
                    input->open = &isOpen[name];
                    isOpen[name] = true;
                    inputs[name] = input.get();
                    return input;
                }};
    }

    Application application{messages, *settings,
                            MidiDeviceAccess{[] { return std::vector<MidiOutputInfo>{}; },
                                             [](const MidiOutputInfo&, std::string&) {
                                                 return std::shared_ptr<MidiService>();
                                             }},
                            fakeInputs()};
    std::shared_ptr<Capture> out = std::make_shared<Capture>();
    Target target;

    void SetUp() override
    {
        application.openMidi(out, "", "Synth");
        application.playFromKeyboard(target);
    }
    static void runQueued() { QCoreApplication::processEvents(); }
    static void choose(QComboBox* list, int item)
    {
        list->setCurrentIndex(item);
        emit list->activated(item);
    }
};

TEST_F(KeyboardInputTest, TheListOffersNoneAndThePortsAndKeepsTheChoice)
{
    {
        OptionsDialog dialog(application);
        QComboBox* list = dialog.controls().inputList;
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->itemText(0), "None");
        EXPECT_EQ(list->itemText(2), "Keys B");
        EXPECT_EQ(list->currentIndex(), 0);
        choose(list, 2);
        EXPECT_EQ(application.midiInputName(), "Keys B");
        EXPECT_TRUE(isOpen["Keys B"]);
        EXPECT_EQ(settings->value(midiInputSetting), QString("Keys B"));

        // A port that will not open leaves the one in use, and says why.
        busy.insert("Keys A");
        choose(list, 1);
        EXPECT_EQ(messages.texts, QStringList{"Keys A is busy."});
        EXPECT_EQ(list->currentIndex(), 2);
        EXPECT_TRUE(isOpen["Keys B"]);
    }
    // Read afresh: a keyboard plugged in since is offered, the one in use selected.
    ports.insert(ports.begin(), "Late keys");
    OptionsDialog dialog(application);
    QComboBox* list = dialog.controls().inputList;
    EXPECT_EQ(list->count(), 4);
    EXPECT_EQ(list->currentIndex(), 3);
    choose(list, 0);
    EXPECT_FALSE(isOpen["Keys B"]);
    EXPECT_EQ(application.midiInputName(), "");
    EXPECT_EQ(settings->value(midiInputSetting), QString(""));

    // The next start opens the kept port when it is there, and only then.
    application.switchMidiInput("Keys A");
    busy.clear();
    application.switchMidiInput("Keys A");
    isOpen.clear();
    Application next(messages, *settings, MidiDeviceAccess{}, fakeInputs());
    ports = {"Other"};
    next.startMidi();
    EXPECT_FALSE(isOpen["Keys A"]);
    ports = {"Keys A"};
    next.startMidi();
    EXPECT_TRUE(isOpen["Keys A"]);
    EXPECT_EQ(next.midiInputName(), "Keys A");
}

TEST_F(KeyboardInputTest, NotesArePlayedOnThisThreadAndEndWhenTheInputGoes)
{
    const Hex c4{"e0 00 40", "90 3c 64"};
    struct Case {
        const char* name;
        std::function<void(KeyboardInputTest&)> end;
        QStringList said;
        bool inputGoes = true;
    };
    const std::vector<Case> cases{
        {"switch", [](KeyboardInputTest& t) { t.application.switchMidiInput("Keys B"); }, {}},
        {"none", [](KeyboardInputTest& t) { t.application.switchMidiInput(""); }, {}},
        {"close", [](KeyboardInputTest& t) { t.application.closeMidi(); }, {}},
        {"method",
         [](KeyboardInputTest& t) { t.application.setTuningMethod(TuningKind::Mts); },
         {},
         false},
        {"window", [](KeyboardInputTest& t) { t.application.keyboardTargetGone(t.target); }, {}},
        {"vanished",
         [](KeyboardInputTest& t) {
             t.present = false;
             t.application.checkInput();
             t.application.checkInput();
             runQueued();
             t.application.checkInput();
             runQueued();
         },
         {"The MIDI input is gone."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        application.setTuningMethod(TuningKind::Bend);
        application.playFromKeyboard(target);
        present = true;
        messages.texts.clear();
        ASSERT_TRUE(application.switchMidiInput("Keys A"));
        out->clear();
        inputs["Keys A"]->play({0x00643C90u});
        EXPECT_TRUE(out->hex().empty()) << "nothing is played on the backend's thread";
        runQueued();
        EXPECT_EQ(out->hex(), c4);
        ASSERT_FALSE(target.heard.empty());
        EXPECT_EQ(target.heard.back(), std::vector<int>{60});

        // What the old port queued but was not yet played is passed over once it is gone.
        if (c.inputGoes)
            inputs["Keys A"]->play({0x00643E90u});
        c.end(*this);
        runQueued();
        const Hex hex = out->hex();
        ASSERT_GE(hex.size(), 3u);
        EXPECT_EQ(Hex(hex.begin(), hex.begin() + 2), c4);
        EXPECT_EQ(std::count(hex.begin(), hex.end(), "80 3c 00"), 1) << "the note ends, once";
        EXPECT_EQ(std::count(hex.begin(), hex.end(), "90 3e 64"), 0);
        EXPECT_EQ(messages.texts, c.said);
        EXPECT_TRUE(target.heard.back().empty()) << "the window hears that nothing sounds";
        application.openMidi(out, "", "Synth");
    }
}

int indexOf(const Lattice& lattice, std::uint32_t n, std::uint32_t d)
{
    for (int i = 0; i < lattice.count(); ++i) {
        if (lattice.numerator(i) == n && lattice.denominator(i) == d)
            return i;
    }
    return -1;
}

TEST_F(KeyboardInputTest, TheKeyboardPlaysTheWindowActivatedLastAndLightsItsLabels)
{
    application.keyboardTargetGone(target);
    ASSERT_TRUE(application.switchMidiInput("Keys A"));
    QPointer<LatticeWindow> window = new LatticeWindow(application);
    window->lattice().loadDefaultScale();
    window->latticeReplaced();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    const Lattice& lattice = window->lattice();
    const int fifth = indexOf(lattice, 3, 2), third = indexOf(lattice, 5, 4);
    ASSERT_GE(fifth, 0);
    ASSERT_GE(third, 0);

    // Key 67 is the eighth pitch in order of size: 3/2, on a channel of its own.
    out->clear();
    inputs["Keys A"]->play({0x00643C90u, 0x00504390u});
    runQueued();
    EXPECT_EQ(out->hex(), (Hex{"e0 00 40", "90 3c 64", "e1 50 40", "91 43 50"}));
    const std::vector<bool>& lit = window->keyboardLit();
    ASSERT_EQ(lit.size(), static_cast<std::size_t>(lattice.count()));
    EXPECT_TRUE(lit[static_cast<std::size_t>(fifth)]);
    EXPECT_FALSE(lit[static_cast<std::size_t>(third)]);
    // Lit labels look as selected ones do.
    window->view()->invalidatePicture();
    const QImage litPicture = window->view()->grab().toImage();
    const std::vector<bool> litNow = lit;
    inputs["Keys A"]->play({0x00004390u});
    runQueued();
    EXPECT_FALSE(window->keyboardLit()[static_cast<std::size_t>(fifth)]);
    for (std::size_t i = 0; i < litNow.size(); ++i)
        window->lattice().setSelected(static_cast<int>(i), litNow[i]);
    window->view()->invalidatePicture();
    EXPECT_EQ(window->view()->grab().toImage(), litPicture);
    for (std::size_t i = 0; i < litNow.size(); ++i)
        window->lattice().setSelected(static_cast<int>(i), false);

    // Closing the window ends what it played; the keyboard then plays nothing.
    out->clear();
    window->close();
    EXPECT_EQ(out->hex(), Hex{"80 3c 00"});
    out->clear();
    inputs["Keys A"]->play({0x00643C90u});
    runQueued();
    EXPECT_TRUE(out->hex().empty());
    delete window;
}

}  // namespace
}  // namespace tv
