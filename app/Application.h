#pragma once

#include "core/midi/MidiOutput.h"
#include "core/script/ScriptPlayers.h"
#include "core/tuning/MidiKeyboardPlayer.h"
#include "core/tuning/PitchChord.h"
#include "core/tuning/PitchOutput.h"
#include "core/tuning/TuningMethodVoices.h"
#include "platform/midi/MidiDevices.h"
#include "platform/midi/RtMidiInput.h"
#include "ui/common/AppServices.h"
#include "ui/common/ElementListener.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace tv {

class MidiService;

// How the application finds and opens MIDI outputs: the system's own by default, a fake list
// in tests.
struct MidiDeviceAccess {
    std::function<std::vector<MidiOutputInfo>()> list;
    std::function<std::shared_ptr<MidiService>(const MidiOutputInfo&, std::string& error)> open;

    static MidiDeviceAccess system();
};

// An open MIDI input as the application holds it; closing it is destroying it, after which its
// handler hears nothing more.
class MidiInputPort {
public:
    virtual ~MidiInputPort() = default;
    // Whether the port is still there; the handler hears inputLost once when it is not.
    virtual bool checkPresent() = 0;
};

// How the application finds and opens MIDI inputs: the system's ports by default, fakes in
// tests.
struct MidiInputAccess {
    std::function<std::vector<std::string>()> list;
    std::function<std::unique_ptr<MidiInputPort>(const std::string& name, MidiInputHandler& handler,
                                                 std::string& error)>
        open;

    static MidiInputAccess system();
};

// Names of the settings-store values that keep the sound choices between sessions.
inline const QString midiOutputSetting = QStringLiteral("MidiOutput");
inline const QString bendRangeSetting = QStringLiteral("BendRange");
inline const QString sendBendRangeSetting = QStringLiteral("SendBendRange");
inline const QString tuningMethodSetting = QStringLiteral("TuningMethod");
inline const QString midiInputSetting = QStringLiteral("MidiInput");

// The services every window shares: the one MIDI output with the lattice windows' chord and
// the script players, the listeners that hear clicked pitches, the message service and the
// settings store.
class Application : public AppServices {
public:
    Application(MessageService& messages, SettingsStore& settings,
                MidiDeviceAccess devices = MidiDeviceAccess::system(),
                MidiInputAccess inputs = MidiInputAccess::system());
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Opens the output of the last session (TONALVANE_MIDI_OUT wins over it), with the bend
    // range kept in the settings store, and the input of the last session when it is there.
    void startMidi();
    // Makes the MIDI output over `service`, named `name` in the output list; when `error` is
    // not empty (no device could be opened) it is shown once, and everything else runs on
    // silently. The bend range goes to the new device when it is to be sent.
    void openMidi(std::shared_ptr<MidiService> service, const std::string& error,
                  const std::string& name = {});
    // Closes the input and ends its notes and every script player, then closes the device; a silent
    // output stays behind so late callers never find none. Safe to call more than once.
    void closeMidi();
    // Runs on every player thread as it starts, on this output and every later one.
    void setPlayerThreadStartHook(std::function<void()> hook);

    MidiOutput& midiOutput() override { return output_; }
    PitchOutput& pitchOutput() override { return pitches_; }
    PitchChord& chord() override { return chord_; }
    ScriptPlayers& players() override { return players_; }
    std::vector<std::string> midiOutputNames() override;
    std::string midiOutputName() override { return outputName_; }
    bool switchMidiOutput(const std::string& name) override;
    void setBendRange(int semitones, bool sendAlways) override;
    void setTuningMethod(TuningKind kind) override;
    std::vector<std::string> midiInputNames() override { return inputs_.list(); }
    std::string midiInputName() override { return inputName_; }
    bool switchMidiInput(const std::string& name) override;
    void playFromKeyboard(KeyboardTarget& target) override;
    void keyboardTargetGone(KeyboardTarget& target) override;
    MessageService& messages() override { return messages_; }
    SettingsStore& settings() override { return settings_; }
    ElementListeners& listeners() override { return listeners_; }

    // Looks for the open input among the system's ports (the timer does it now and then): a
    // port gone ends its notes and says so once.
    void checkInput();
    // How often an open input is looked for among the system's ports.
    static constexpr int inputCheckMilliseconds = 1000;

private:
    // Hears the input on its own thread and queues what it hears to this thread.
    class InputHandler : public MidiInputHandler {
    public:
        explicit InputHandler(Application& application) : application_(application) {}
        void midiReceived(const std::uint32_t* messages, std::size_t count) override;
        void inputLost(const std::string& message) override;

    private:
        Application& application_;
    };

    void keyboardReceived(unsigned generation, const std::vector<std::uint32_t>& messages);
    void inputLost(unsigned generation, const std::string& message);
    // Closes the input in use and ends every note it started.
    void closeMidiInput();
    void endKeyboardNotes();
    void tellTarget();

    // Ends the players and the notes of the device in use, closes it and goes on over
    // `service`; the output, chord and players stay the same objects.
    void replaceSound(std::shared_ptr<MidiService> service);
    void readBendRange();
    // The greatest bend range of the method in use.
    int rangeLimit() const;

    MessageService& messages_;
    SettingsStore& settings_;
    MidiDeviceAccess devices_;
    ElementListeners listeners_;
    // One output for the whole run, and what sends through it; a new device goes in under them.
    MidiOutput output_{nullptr};
    PitchOutput pitches_{output_};
    PitchChord chord_{pitches_};
    ScriptPlayers players_{pitches_};
    std::string outputName_;
    int bendRange_ = defaultBendRange;
    bool sendBendRange_ = false;

    // The keyboard: what it plays through the tuning method in use, the open input, and the
    // window whose pitches it plays.
    MidiInputAccess inputs_;
    TuningMethodVoices voices_{pitches_};
    MidiKeyboardPlayer keyboard_{voices_, KeyScale()};
    KeyboardTarget* target_ = nullptr;
    InputHandler handler_{*this};
    std::unique_ptr<MidiInputPort> input_;
    std::string inputName_;
    // Counts the inputs opened, so that what an earlier one queued is passed over.
    std::atomic<unsigned> inputGeneration_{0};
    QObject queue_;  // what the input hears is run here, on this object's thread
    QTimer presenceTimer_;
};

}  // namespace tv
