#include "LatticeWindowFixture.h"
#include "core/tuning/PitchChord.h"
#include "core/tuning/PitchOutput.h"

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QWindow>

#include <cstdio>
#include <functional>

namespace tv::test {
namespace {

struct LatticePlaying : LatticeWindowFixture {
    LatticeWindow* window = nullptr;
    void SetUp() override
    {
        LatticeWindowFixture::SetUp();
        window = openWindow();
        window->lattice().loadDefaultScale();
        window->view()->invalidatePicture();
        paint(window);
    }
    void TearDown() override { delete window; }
    QPoint at(std::uint32_t n, std::uint32_t d)
    {
        return inside(window, indexOf(window->lattice(), n, d));
    }
};

TEST_F(LatticePlaying, PlainClickSoundsWhileTheButtonIsHeld)
{
    press(window, at(3, 2));
    EXPECT_EQ(capture->hex(), (Hex{"c0 00", "e0 50 40", "90 43 5a"}));
    EXPECT_TRUE(window->lattice().selected(indexOf(window->lattice(), 3, 2)));
    capture->clear();
    release(window);
    EXPECT_EQ(capture->hex(), (Hex{"80 43 00"}));
    EXPECT_FALSE(window->lattice().selected(indexOf(window->lattice(), 3, 2)));
}

TEST_F(LatticePlaying, ShiftBuildsAChordOneChannelPerNoteWithThePatch)
{
    window->setPatch(40);
    press(window, at(1, 1), Qt::ShiftModifier);
    release(window, Qt::ShiftModifier);
    capture->clear();
    press(window, at(3, 2), Qt::ShiftModifier);
    // The kept note is silenced again, then both sound, each after its program change.
    EXPECT_EQ(capture->hex(),
              (Hex{"80 3c 00", "c0 28", "e0 00 40", "90 3c 5a", "c1 28", "e1 50 40", "91 43 5a"}));
    capture->clear();
    release(window, Qt::ShiftModifier);
    EXPECT_EQ(capture->hex(), (Hex{"80 3c 00", "81 43 00"}));
    // A press on a selected element removes it and sounds the rest.
    capture->clear();
    press(window, at(1, 1), Qt::ShiftModifier);
    EXPECT_EQ(capture->hex(), (Hex{"80 3c 00", "81 43 00", "c0 28", "e0 50 40", "90 43 5a"}));
    EXPECT_FALSE(window->lattice().selected(indexOf(window->lattice(), 1, 1)));
}

TEST_F(LatticePlaying, PressOnEmptySpaceSilencesAndDeselectsEverything)
{
    press(window, at(5, 4), Qt::ShiftModifier);
    release(window, Qt::ShiftModifier);
    capture->clear();
    // Bottom right of the drawing area: no label reaches there.
    press(window, QPoint(window->view()->width() - 2, window->view()->height() - 2));
    EXPECT_EQ(capture->hex(), (Hex{"80 3f 00"}));
    for (int i = 0; i < window->lattice().count(); ++i)
        EXPECT_FALSE(window->lattice().selected(i));
}

TEST_F(LatticePlaying, TheSelectionPlaysThroughTheCoreChordInIndexOrder)
{
    Lattice& lattice = window->lattice();
    lattice.clear();
    for (std::uint32_t n = 1; n <= 17; ++n)
        lattice.addRatio("", n + 16, 16);  // 17/16 .. 33/16
    lattice.addCents("", -50.0);
    lattice.setOctave(3, 1);
    window->view()->invalidatePicture();
    paint(window);
    for (int i = 1; i < lattice.count(); ++i)
        lattice.setSelected(i, true);
    window->setPatch(9);
    capture->clear();
    window->clickElement(0);  // pressed last; every element selected, in index order

    auto expected = std::make_shared<CaptureMidiService>();
    MidiOutput output(expected);
    PitchOutput pitches(output);
    PitchChord chord(pitches);
    for (int i = 0; i < lattice.count(); ++i) {
        const LatticeElement& e = *lattice.element(i);
        chord.add(e.isRatio() ? ExactPitch::ratio(e.numerator, e.denominator, e.octave)
                              : ExactPitch::centsAbove(e.cents, e.octave));
    }
    chord.play(9);
    EXPECT_EQ(capture->hex(), expected->hex());
    EXPECT_EQ(window->playList().size(), 18u);
}

TEST_F(LatticePlaying, CentsOnlyElementsSoundLikeRatios)
{
    Lattice& lattice = window->lattice();
    lattice.clear();
    lattice.addCents("", -50.0);
    lattice.addCents("", 701.955);
    // On the circle the two sit apart (in the lattice both sit on the origin).
    window->runCommand(LatticeCommand::StylePlanetary);
    paint(window);
    press(window, inside(window, 0), Qt::ShiftModifier);
    release(window, Qt::ShiftModifier);
    capture->clear();
    press(window, inside(window, 1), Qt::ShiftModifier);
    EXPECT_EQ(capture->hex(),
              (Hex{"80 3c 00", "c0 00", "e0 01 30", "90 3c 5a", "c1 00", "e1 50 40", "91 43 5a"}));
}

TEST_F(LatticePlaying, ElementOctaveMovesTheNote)
{
    const int fifth = indexOf(window->lattice(), 3, 2);
    window->lattice().setOctave(fifth, -1);
    press(window, at(3, 2));
    EXPECT_EQ(capture->hex(), (Hex{"c0 00", "e0 50 40", "90 37 5a"}));
}

TEST_F(LatticePlaying, ClicksReachTheListenersAndLatticeWindowsRegisterNone)
{
    struct Recorder : ElementListener {
        std::vector<std::string> heard;
        void onRatioChosen(std::uint32_t n, std::uint32_t d) override
        {
            heard.push_back(std::to_string(n) + "/" + std::to_string(d));
        }
        void onCentsChosen(double cents) override { heard.push_back(std::to_string(cents)); }
    } recorder;
    services.listeners().registerListener(&recorder);
    LatticeWindow* second = openWindow();
    ASSERT_EQ(services.listeners().all(), std::vector<ElementListener*>{&recorder});
    press(window, at(7, 5));
    release(window);
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"7/5"}));
    delete second;
    press(window, at(16, 15));
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"7/5", "16/15"}));
}

TEST_F(LatticePlaying, APressThatNeverGetsItsReleaseStillEndsItsNotes)
{
    struct Way {
        const char* what;
        std::function<void(LatticeWindow*)> loseTheMouse;
    };
    const Way ways[] = {
        {"another window takes the focus",
         [](LatticeWindow*) {
             QWidget other;
             other.show();
             other.activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
         }},
        {"the context menu takes the mouse",
         [](LatticeWindow* w) {
             w->pressRight(QPoint(1, 1));
             w->contextMenu()->hide();
         }},
        {"the window closes", [](LatticeWindow* w) { w->close(); }},
        {"the window is destroyed", [](LatticeWindow* w) { delete w; }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        QPointer<LatticeWindow> pressed = openWindow();
        pressed->lattice().loadDefaultScale();
        paint(pressed);
        pressed->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(pressed));
        press(pressed, inside(pressed, indexOf(pressed->lattice(), 3, 2)));
        capture->clear();
        way.loseTheMouse(pressed);
        EXPECT_EQ(capture->hex(), Hex{"80 43 00"});
        delete pressed;
        capture->clear();
    }
}

TEST_F(LatticePlaying, AReleaseOutsideTheWindowStillReachesIt)
{
    // Through the window system, as a real mouse: the press holds the mouse for the view.
    QWindow* handle = window->windowHandle();
    QTest::mousePress(handle, Qt::LeftButton, {}, window->view()->mapTo(window, at(3, 2)));
    EXPECT_EQ(capture->hex(), (Hex{"c0 00", "e0 50 40", "90 43 5a"}));
    capture->clear();
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(-40, window->height() + 40));
    EXPECT_EQ(capture->hex(), Hex{"80 43 00"});
    EXPECT_FALSE(window->lattice().selected(indexOf(window->lattice(), 3, 2)));
}

TEST_F(LatticePlaying, AllNotesOffSilencesEveryChannelAndForgetsTheChord)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    press(window, at(1, 1), Qt::ShiftModifier);
    release(window, Qt::ShiftModifier);
    press(window, at(3, 2), Qt::ShiftModifier);
    capture->clear();
    QTest::keyClick(window->view(), Qt::Key_Period, Qt::ControlModifier);
    Hex expected;
    for (int channel = 0; channel < 16; ++channel) {
        char text[12];
        std::snprintf(text, sizeof text, "b%x 7b 00", channel);
        expected.push_back(text);
    }
    // Then each note the output knows to be sounding, whoever started it.
    expected.insert(expected.end(), {"80 3c 00", "81 43 00"});
    EXPECT_EQ(capture->hex(), expected);
    capture->clear();
    release(window, Qt::ShiftModifier);
    EXPECT_EQ(capture->hex(), Hex{});
}

TEST_F(LatticePlaying, NotesBeyondTheMidiRangeAreLeftOutOfTheChord)
{
    // Above a base note of 60 at octave 0: 50/1 is note 127, 51/1 note 128, 1/32 note 0 and
    // 15/512 note -1.
    struct Pitch {
        std::uint32_t n, d;
        const char* noteOn;  // nullptr: none
    };
    const Pitch pitches[] = {
        {50, 1, "90 7f 5a"}, {51, 1, nullptr}, {1, 32, "90 00 5a"}, {15, 512, nullptr}};
    const auto noteOns = [this] {
        Hex ons;
        for (const std::string& message : capture->hex()) {
            if (message[0] == '9')
                ons.push_back(message);
        }
        return ons;
    };
    Lattice& lattice = window->lattice();
    for (const Pitch& p : pitches) {
        SCOPED_TRACE(p.n);
        lattice.clear();
        lattice.addRatio("", p.n, p.d);
        paint(window);
        capture->clear();
        press(window, inside(window, 0));
        EXPECT_EQ(noteOns(), p.noteOn ? Hex{p.noteOn} : Hex{});
        release(window);
    }
    // Together, each keeps its channel and the two out of range are left out.
    lattice.clear();
    for (const Pitch& p : pitches)
        lattice.addRatio("", p.n, p.d);
    for (int i = 1; i < 4; ++i)
        lattice.setSelected(i, true);
    capture->clear();
    window->clickElement(0);
    EXPECT_EQ(noteOns(), (Hex{"90 7f 5a", "92 00 5a"}));
    for (const std::string& message : capture->hex()) {
        for (std::size_t byte = 3; byte < message.size(); byte += 3)
            EXPECT_LT(std::stoi(message.substr(byte, 2), nullptr, 16), 0x80) << message;
    }
}

}  // namespace
}  // namespace tv::test
