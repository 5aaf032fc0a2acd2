#include "core/script/ScriptStepReader.h"

namespace tv {
namespace {

std::uint32_t readLength(const std::uint8_t* bytes)
{
    return (static_cast<std::uint32_t>(bytes[0]) << 24) |
           (static_cast<std::uint32_t>(bytes[1]) << 16) |
           (static_cast<std::uint32_t>(bytes[2]) << 8) | static_cast<std::uint32_t>(bytes[3]);
}

}  // namespace

ScriptStep ScriptStepReader::next()
{
    ScriptStep step;
    step.offset = position_;
    const std::size_t left = code_.size() - position_;
    if (left == 0)
        return step;

    const std::uint8_t* at = code_.data() + position_;
    step.operation = at[0];
    switch (at[0]) {
    case scriptop::end: step.size = 1; break;
    case scriptop::chordOn:
        step.kind = ScriptStep::Kind::ChordOn;
        if (left >= 2) {
            step.count = at[1];
            step.records = at + 2;
            step.size = 2 + noteRecordSize * step.count;
        }
        break;
    case scriptop::chordLength:
        step.kind = ScriptStep::Kind::ChordLength;
        step.count = chordCount_;
        step.records = at + 5;
        step.size = 5 + noteOffRecordSize * step.count;
        if (left >= 5)
            step.length = readLength(at + 1);
        break;
    case scriptop::rest:
        step.kind = ScriptStep::Kind::Rest;
        step.size = 5;
        if (left >= 5)
            step.length = readLength(at + 1);
        break;
    case scriptop::program:
        step.kind = ScriptStep::Kind::Program;
        step.size = 3;
        if (left >= 3) {
            step.channel = at[1];
            step.program = at[2];
        }
        break;
    default:
        step.kind = ScriptStep::Kind::Unknown;
        step.size = 1;
        break;
    }

    // A chord-on step whose count byte is missing has size 0 here.
    if (step.size == 0 || step.size > left) {
        step.kind = ScriptStep::Kind::Truncated;
        step.size = left;
        step.records = nullptr;
        step.count = 0;
        position_ = code_.size();
        return step;
    }
    if (step.kind == ScriptStep::Kind::ChordOn)
        chordCount_ = step.count;
    position_ = step.kind == ScriptStep::Kind::End ? code_.size() : position_ + step.size;
    return step;
}

}  // namespace tv
