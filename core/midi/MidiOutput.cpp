#include "core/midi/MidiOutput.h"

namespace tv {

MidiOutput::MidiOutput(std::shared_ptr<MidiService> service) : service_(std::move(service)) {}

MidiOutput::~MidiOutput() { closeDevice(); }

void MidiOutput::closeDevice()
{
    if (service_)
        service_->close();
}

void MidiOutput::send(std::uint32_t packed) const
{
    if (service_)
        service_->send(packed);
}

NoteBend MidiOutput::noteForRatio(int octave, std::uint32_t numerator,
                                  std::uint32_t denominator) const
{
    return tv::noteForRatio(baseNote_, octave, numerator, denominator);
}

NoteBend MidiOutput::noteForCents(int octave, double cents) const
{
    return tv::noteForCents(baseNote_, octave, cents);
}

}  // namespace tv
