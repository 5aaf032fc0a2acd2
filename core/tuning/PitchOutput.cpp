#include "core/tuning/PitchOutput.h"

#include "core/midi/MidiOutput.h"
#include "core/tuning/BendTuning.h"
#include "core/tuning/MpeTuning.h"
#include "core/tuning/MtsTuning.h"

namespace tv {
namespace {

std::unique_ptr<TuningMethod> makeMethod(TuningKind kind, const MidiOutput& output)
{
    switch (kind) {
    case TuningKind::Mts: return std::make_unique<MtsTuning>(output);
    case TuningKind::Mpe: return std::make_unique<MpeTuning>(output);
    case TuningKind::Bend: break;
    }
    return std::make_unique<BendTuning>(output);
}

}  // namespace

std::string_view tuningWord(TuningKind kind)
{
    switch (kind) {
    case TuningKind::Mts: return "mts";
    case TuningKind::Mpe: return "mpe";
    case TuningKind::Bend: break;
    }
    return "bend";
}

std::optional<TuningKind> tuningKindForWord(std::string_view word)
{
    for (const TuningKind kind : {TuningKind::Bend, TuningKind::Mts, TuningKind::Mpe}) {
        if (word == tuningWord(kind))
            return kind;
    }
    return std::nullopt;
}

PitchOutput::PitchOutput(MidiOutput& output)
    : output_(output), method_(makeMethod(TuningKind::Bend, output))
{
}

PitchOutput::~PitchOutput() = default;

void PitchOutput::setKind(TuningKind kind)
{
    if (kind != kind_) {
        kind_ = kind;
        method_ = makeMethod(kind, output_);
    }
    method_->announce();
}

void PitchOutput::panic()
{
    output_.panic();
    method_->forget();
}

}  // namespace tv
