#pragma once

#include <QString>

class QWidget;

namespace tv {

class ChordQueue;
class ElementListeners;
class MessageService;
class MidiOutput;
class ScriptPlayers;
class SettingsStore;

// What every window is given: the program's shared services. The application implements it;
// tests hand windows one whose MIDI service captures every message.
class AppServices {
public:
    virtual ~AppServices() = default;

    // The one MIDI output, the lattice windows' chord on it and the script players that send
    // through it. All three stay valid until the output is closed at the end of the program.
    virtual MidiOutput& midiOutput() = 0;
    virtual ChordQueue& chordQueue() = 0;
    virtual ScriptPlayers& players() = 0;

    virtual MessageService& messages() = 0;
    virtual SettingsStore& settings() = 0;
    virtual ElementListeners& listeners() = 0;

    // A window of one kind reopens where the last one of that kind was closed.
    void restorePlacement(QWidget& window, const QString& valueName);
    void savePlacement(const QWidget& window, const QString& valueName);
};

}  // namespace tv
