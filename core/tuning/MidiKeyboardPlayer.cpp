#include "core/tuning/MidiKeyboardPlayer.h"

#include "core/midi/MidiMessage.h"

#include <algorithm>

namespace tv {
namespace {

constexpr int bendCentre = 8192;
constexpr int bendMax = 16383;

// Controllers after which a synthesizer has no note left sounding.
bool silencesChannel(std::uint8_t controller)
{
    return controller == allNotesOffController || controller == 120;  // 120: all sound off
}

}  // namespace

MidiKeyboardPlayer::MidiKeyboardPlayer(KeyboardVoices& voices, KeyScale scale,
                                       KeyboardMapping mapping)
    : voices_(voices), scale_(std::move(scale)), mapping_(std::move(mapping))
{
}

MidiKeyboardPlayer::~MidiKeyboardPlayer() { endAll(); }

void MidiKeyboardPlayer::receive(std::uint32_t packed)
{
    const std::uint8_t status = messageStatus(packed);
    const std::uint8_t data1 = messageData1(packed) & 0x7F;
    const std::uint8_t data2 = messageData2(packed) & 0x7F;
    std::lock_guard lock(mutex_);
    switch (status & 0xF0) {
    case 0x90:
        if (data2 > 0)
            noteOn(data1, data2);
        else
            noteOff(data1);
        break;
    case 0x80: noteOff(data1); break;
    case 0xA0:
        for (const Note& note : notes_) {
            if (note.inputKey == data1)
                voices_.send(keyPressure(note.voice.channel, note.voice.key, data2));
        }
        break;
    case 0xB0:
        if (data1 == sustainController)
            pedal(data2 >= 64);
        else if (silencesChannel(data1))
            while (!notes_.empty())
                endNote(0);
        else
            toChannelsInUse(0xB0, data1, data2);
        break;
    case 0xD0: toChannelsInUse(0xD0, data1, 0); break;
    case 0xE0: bend(data1 | (data2 << 7)); break;
    default: break;  // program changes and anything else that plays no note
    }
}

void MidiKeyboardPlayer::setScale(KeyScale scale, KeyboardMapping mapping)
{
    std::lock_guard lock(mutex_);
    scale_ = std::move(scale);
    mapping_ = std::move(mapping);
}

void MidiKeyboardPlayer::endAll()
{
    std::lock_guard lock(mutex_);
    while (!notes_.empty())
        endNote(0);
    pedalDown_ = false;
}

std::vector<int> MidiKeyboardPlayer::soundingKeys() const
{
    std::lock_guard lock(mutex_);
    std::vector<int> keys;
    for (const Note& note : notes_)
        keys.push_back(note.inputKey);
    return keys;
}

void MidiKeyboardPlayer::noteOn(int key, std::uint8_t velocity)
{
    const auto pitch = mapping_.keyPitch(scale_, key);
    if (!pitch)
        return;  // an unmapped key plays nothing
    // The key struck again while it sounds (held by the pedal, or a second note-on) restarts.
    for (std::size_t i = 0; i < notes_.size(); ++i) {
        if (notes_[i].inputKey == key) {
            endNote(i);
            break;
        }
    }
    const int polyphony = voices_.polyphony();
    if (polyphony <= 0)
        return;
    if (static_cast<int>(notes_.size()) >= polyphony)
        endNote(0);
    const int slot = freeSlot();
    const auto voice = voices_.start(*pitch, velocity, slot);
    if (!voice)
        return;
    notes_.push_back({key, slot, *voice, false});
    if (keyboardBend_ != bendCentre)
        sendBend(*voice);
}

void MidiKeyboardPlayer::noteOff(int key)
{
    for (std::size_t i = 0; i < notes_.size(); ++i) {
        if (notes_[i].inputKey != key || notes_[i].held)
            continue;
        if (pedalDown_)
            notes_[i].held = true;
        else
            endNote(i);
        return;
    }
}

void MidiKeyboardPlayer::pedal(bool down)
{
    pedalDown_ = down;
    if (down)
        return;
    for (std::size_t i = 0; i < notes_.size();) {
        if (notes_[i].held)
            endNote(i);
        else
            ++i;
    }
}

void MidiKeyboardPlayer::bend(int value)
{
    keyboardBend_ = value;
    std::vector<std::uint8_t> plainChannels;  // channels whose tuning does not bend
    for (const Note& note : notes_) {
        if (note.voice.tuningBend) {
            sendBend(note.voice);
        } else if (std::find(plainChannels.begin(), plainChannels.end(), note.voice.channel) ==
                   plainChannels.end()) {
            plainChannels.push_back(note.voice.channel);
            sendBend(note.voice);
        }
    }
}

void MidiKeyboardPlayer::sendBend(const KeyboardVoice& voice)
{
    int value = keyboardBend_;
    if (voice.tuningBend)
        value = std::clamp(*voice.tuningBend + keyboardBend_ - bendCentre, 0, bendMax);
    voices_.send(pitchBend(voice.channel, static_cast<std::uint8_t>(value & 0x7F),
                           static_cast<std::uint8_t>(value >> 7)));
}

void MidiKeyboardPlayer::toChannelsInUse(std::uint8_t status, std::uint8_t data1,
                                         std::uint8_t data2)
{
    std::vector<std::uint8_t> channels;
    for (const Note& note : notes_) {
        if (std::find(channels.begin(), channels.end(), note.voice.channel) == channels.end())
            channels.push_back(note.voice.channel);
    }
    for (const std::uint8_t channel : channels)
        voices_.send(status == 0xD0 ? channelPressure(channel, data1)
                                    : controlChange(channel, data1, data2));
}

void MidiKeyboardPlayer::endNote(std::size_t index)
{
    const KeyboardVoice voice = notes_[index].voice;
    notes_.erase(notes_.begin() + static_cast<std::ptrdiff_t>(index));
    voices_.end(voice);
}

int MidiKeyboardPlayer::freeSlot() const
{
    for (int slot = 0;; ++slot) {
        const bool taken = std::any_of(notes_.begin(), notes_.end(),
                                       [slot](const Note& note) { return note.slot == slot; });
        if (!taken)
            return slot;
    }
}

}  // namespace tv
