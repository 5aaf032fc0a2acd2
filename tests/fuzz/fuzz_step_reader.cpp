// The step reader over any bytes: every step lies inside the code, steps follow one another
// without gaps, the walk ends, and after its end it stays there.
#include "FuzzCheck.h"

#include "core/script/ScriptStepReader.h"

#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tv;
    using Kind = ScriptStep::Kind;
    const std::span<const std::uint8_t> code(data, size);
    ScriptStepReader reader(code);
    std::size_t expected = 0;
    std::uint32_t chordNotes = 0;
    // Each step but the last takes at least one byte.
    for (std::size_t steps = 0;; ++steps) {
        FUZZ_CHECK(steps <= size + 1);
        const ScriptStep step = reader.next();
        FUZZ_CHECK(step.offset == expected);
        FUZZ_CHECK(step.offset + step.size <= size);
        FUZZ_CHECK(step.size > 0 || (step.kind == Kind::End && step.offset == size));
        if (step.size > 0)
            FUZZ_CHECK(step.operation == data[step.offset]);
        if (step.kind == Kind::ChordOn || step.kind == Kind::ChordLength) {
            const std::size_t recordSize =
                step.kind == Kind::ChordOn ? noteRecordSize : noteOffRecordSize;
            const std::size_t header = step.kind == Kind::ChordOn ? 2 : 5;
            FUZZ_CHECK(step.records == data + step.offset + header);
            FUZZ_CHECK(step.size == header + recordSize * step.count);
            if (step.kind == Kind::ChordOn)
                chordNotes = step.count;
            else
                FUZZ_CHECK(step.count == chordNotes);
        }
        if (step.kind == Kind::End || step.kind == Kind::Truncated) {
            const std::size_t stop = reader.position();
            const ScriptStep after = reader.next();
            FUZZ_CHECK(after.kind == Kind::End && after.size == 0);
            FUZZ_CHECK(reader.position() == stop);
            break;
        }
        expected = step.offset + step.size;
        FUZZ_CHECK(reader.position() == expected);
    }
    return 0;
}
