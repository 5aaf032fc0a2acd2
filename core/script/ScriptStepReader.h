#pragma once

#include "core/script/CompiledScript.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace tv {

// One step of byte code as the step reader found it.
struct ScriptStep {
    enum class Kind {
        ChordOn,      // `count` note records of 6 bytes at `records`
        ChordLength,  // `length` ms, then `count` note-off records of 3 bytes at `records`
        Rest,         // `length` ms
        Program,      // program change `program` on `channel`
        End,          // the end byte, or the code ran out (`size` 0)
        Unknown,      // an operation byte no reader knows; `size` 1
        Truncated,    // the code ends inside this step; `size` is what is left
    };

    Kind kind = Kind::End;
    std::uint8_t operation = scriptop::end;
    std::size_t offset = 0;  // where the step begins
    std::size_t size = 0;    // bytes of the whole step, operation byte included
    std::uint32_t length = 0;
    std::uint32_t count = 0;
    const std::uint8_t* records = nullptr;
    std::uint8_t channel = 0;
    std::uint8_t program = 0;
};

// Walks byte code one step at a time: the one place that knows how long each step is. The
// player, the keyboard-file writer and the recording expansion all read code through it.
// A chord-length step has as many note-off records as the most recent chord-on step had note
// records (none before the first chord-on). After an Unknown step the reader stands on the
// next byte, so a caller may stop there or go on; after End or Truncated it gives End.
// Reading never allocates.
class ScriptStepReader {
public:
    explicit ScriptStepReader(std::span<const std::uint8_t> code) : code_(code) {}
    explicit ScriptStepReader(const CompiledScript& script) : code_(script.bytes()) {}

    ScriptStep next();
    std::size_t position() const { return position_; }

private:
    std::span<const std::uint8_t> code_;
    std::size_t position_ = 0;
    std::uint32_t chordCount_ = 0;
};

}  // namespace tv
