#pragma once

#include <QString>

#include <string>
#include <vector>

class QWidget;

namespace tv {

class ElementListeners;
class KeyScale;
class KeyboardMapping;
class MessageService;
class MidiOutput;
class PitchChord;
class PitchOutput;
class ScriptPlayers;
class SettingsStore;
enum class TuningKind;

// A window a MIDI keyboard can play: the pitches its keys sound, and the keys sounding now.
class KeyboardTarget {
public:
    virtual ~KeyboardTarget() = default;
    virtual KeyScale keyScale() const = 0;
    virtual KeyboardMapping keyboardMapping() const = 0;
    // After every change: the keyboard keys whose notes sound, oldest first.
    virtual void keysSounding(const std::vector<int>& keys) = 0;
};

// What every window is given: the program's shared services. The application implements it;
// tests hand windows one whose MIDI service captures every message.
class AppServices {
public:
    virtual ~AppServices() = default;

    // The one MIDI output, the path by which every pitch reaches it (the tuning method in
    // use), the lattice windows' chord and the script players. Each is the same object for the
    // whole run, whichever device is chosen in between.
    virtual MidiOutput& midiOutput() = 0;
    virtual PitchOutput& pitchOutput() = 0;
    virtual PitchChord& chord() = 0;
    virtual ScriptPlayers& players() = 0;

    // The MIDI outputs the system offers now, read afresh each time (device 0 first, the
    // built-in synthesizer last), and the name of the one in use (empty when there is none).
    virtual std::vector<std::string> midiOutputNames() = 0;
    virtual std::string midiOutputName() = 0;
    // Switches to the named output at once: what sounds on the old one ends there first. The
    // choice is kept for the next start. False, after telling the user why, when it cannot be
    // opened; the output in use then stays.
    virtual bool switchMidiOutput(const std::string& name) = 0;
    // The bend range notes are computed for (1..24 semitones, up to 48 under MPE) and whether
    // it is sent to the synthesizer at the default as well; kept for the next start.
    virtual void setBendRange(int semitones, bool sendAlways) = 0;
    // Puts a tuning method in use at once (what sounds ends first) and keeps it for the next
    // start. Leaving MPE holds a bend range above 24 to 24.
    virtual void setTuningMethod(TuningKind kind) = 0;

    // The MIDI input ports the system offers now, read afresh each time, and the name of the
    // one in use (empty for none). Switching ends every note the old input started; an empty
    // name closes the input. The choice is kept for the next start. False, after telling the
    // user why, when the port cannot be opened; there is then no input in use.
    virtual std::vector<std::string> midiInputNames() = 0;
    virtual std::string midiInputName() = 0;
    virtual bool switchMidiInput(const std::string& name) = 0;
    // The window the keyboard plays from now on (called as it is activated, and again when its
    // pitches or mapping change). Notes another window played end first.
    virtual void playFromKeyboard(KeyboardTarget& target) = 0;
    // The window is going: the notes it played end and the keyboard plays nothing.
    virtual void keyboardTargetGone(KeyboardTarget& target) = 0;

    virtual MessageService& messages() = 0;
    virtual SettingsStore& settings() = 0;
    virtual ElementListeners& listeners() = 0;

    // A window of one kind reopens where the last one of that kind was closed.
    void restorePlacement(QWidget& window, const QString& valueName);
    void savePlacement(const QWidget& window, const QString& valueName);
};

}  // namespace tv
