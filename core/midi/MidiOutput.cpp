#include "core/midi/MidiOutput.h"

#include "core/midi/BendRange.h"
#include "core/midi/MidiMessage.h"

#include <algorithm>

namespace tv {

MidiOutput::MidiOutput(std::shared_ptr<MidiService> service) : service_(std::move(service)) {}

MidiOutput::~MidiOutput() { closeDevice(); }

void MidiOutput::closeDevice()
{
    if (closed_.load())
        return;
    silenceSounding();
    closed_.store(true);
    if (service_)
        service_->close();
}

void MidiOutput::reopen(std::shared_ptr<MidiService> service)
{
    closeDevice();
    for (auto& word : sounding_)
        word.store(0, std::memory_order_relaxed);
    service_ = std::move(service);
    closed_.store(false);
}

void MidiOutput::track(std::uint32_t packed) const
{
    const std::uint8_t status = messageStatus(packed);
    const std::uint8_t kind = status & 0xF0;
    if (kind != 0x90 && kind != 0x80)
        return;
    const unsigned bit = (status & 15u) * 128u + (messageData1(packed) & 127u);
    const std::uint64_t mask = std::uint64_t{1} << (bit % 64);
    if (kind == 0x90 && messageData2(packed) != 0)
        sounding_[bit / 64].fetch_or(mask, std::memory_order_relaxed);
    else
        sounding_[bit / 64].fetch_and(~mask, std::memory_order_relaxed);
}

void MidiOutput::send(std::uint32_t packed) const
{
    if (closed_.load(std::memory_order_relaxed))
        return;
    track(packed);
    if (service_)
        service_->send(packed);
}

void MidiOutput::sendBytes(std::span<const std::uint8_t> message) const
{
    if (closed_.load(std::memory_order_relaxed) || message.empty())
        return;
    if (service_)
        service_->sendBytes(message);
}

bool MidiOutput::sounding(int channel, int note) const
{
    if (channel < 0 || channel > 15 || note < 0 || note > 127)
        return false;
    const unsigned bit = static_cast<unsigned>(channel * 128 + note);
    return (sounding_[bit / 64].load(std::memory_order_relaxed) >> (bit % 64)) & 1u;
}

void MidiOutput::silenceSounding() const
{
    for (int channel = 0; channel < 16; ++channel) {
        for (int note = 0; note < 128; ++note) {
            if (sounding(channel, note))
                send(noteOff(channel, static_cast<std::uint8_t>(note)));
        }
    }
}

void MidiOutput::panic() const
{
    for (int channel = 0; channel < 16; ++channel)
        send(controlChange(channel, allNotesOffController, 0));
    silenceSounding();
}

void MidiOutput::setBendRange(int semitones, bool sendAlways)
{
    bendRange_.store(std::clamp(semitones, minBendRange, maxMpeBendRange),
                     std::memory_order_relaxed);
    sendRange_.store(sendAlways, std::memory_order_relaxed);
    announceBendRange();
}

bool MidiOutput::sendingBendRange() const
{
    return bendRange() != defaultBendRange || sendsBendRange();
}

void MidiOutput::announceBendRange() const
{
    if (!sendingBendRange())
        return;
    const int range = bendRange();
    for (int channel = 0; channel < 16; ++channel) {
        for (const std::uint32_t message : bendRangeMessages(channel, range))
            send(message);
    }
}

}  // namespace tv
