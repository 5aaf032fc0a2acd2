#include "core/script/CompiledScript.h"
#include "core/script/ScriptStepReader.h"

#include <gtest/gtest.h>

#include <vector>

namespace tv {
namespace {

using StepKind = ScriptStep::Kind;
using Bytes = std::vector<std::uint8_t>;

// 'PLAY 1/1 3/2 500 MSEC' as the compiler writes it.
const Bytes twoNoteChord{0x50, 0x02, 0xE0, 0x00, 0x40, 0x90, 0x3C, 0x60, 0xE1,
                         0x50, 0x40, 0x91, 0x43, 0x60, 0x44, 0x00, 0x00, 0x01,
                         0xF4, 0x80, 0x3C, 0x00, 0x81, 0x43, 0x00, 0x00};

TEST(ScriptStepReader, WalksChordStepsWithTheirOperandsAndLengths)
{
    ScriptStepReader reader{std::span<const std::uint8_t>(twoNoteChord)};
    const ScriptStep on = reader.next();
    EXPECT_EQ(on.kind, StepKind::ChordOn);
    EXPECT_EQ(on.offset, 0u);
    EXPECT_EQ(on.size, 14u);
    EXPECT_EQ(on.count, 2u);
    EXPECT_EQ(on.records, twoNoteChord.data() + 2);

    const ScriptStep length = reader.next();
    EXPECT_EQ(length.kind, StepKind::ChordLength);
    EXPECT_EQ(length.offset, 14u);
    EXPECT_EQ(length.size, 11u);
    EXPECT_EQ(length.length, 500u);
    EXPECT_EQ(length.count, 2u);
    EXPECT_EQ(length.records, twoNoteChord.data() + 19);

    const ScriptStep end = reader.next();
    EXPECT_EQ(end.kind, StepKind::End);
    EXPECT_EQ(end.offset, 25u);
    EXPECT_EQ(end.size, 1u);
    EXPECT_EQ(reader.next().kind, StepKind::End);
}

TEST(ScriptStepReader, RestAndProgramStepsAndBigEndianLengths)
{
    const Bytes code{0x52, 0x00, 0x01, 0x11, 0x70, 0x2A, 0x03,
                     0x07, 0x52, 0xFF, 0xFF, 0xFF, 0xFE, 0x00};
    ScriptStepReader reader{std::span<const std::uint8_t>(code)};
    ScriptStep step = reader.next();
    EXPECT_EQ(step.kind, StepKind::Rest);
    EXPECT_EQ(step.size, 5u);
    EXPECT_EQ(step.length, 70000u);
    step = reader.next();
    EXPECT_EQ(step.kind, StepKind::Program);
    EXPECT_EQ(step.size, 3u);
    EXPECT_EQ(step.channel, 3);
    EXPECT_EQ(step.program, 7);
    step = reader.next();
    EXPECT_EQ(step.kind, StepKind::Rest);
    EXPECT_EQ(step.length, 0xFFFFFFFEu);  // all 32 bits, unsigned
    EXPECT_EQ(reader.next().kind, StepKind::End);
}

TEST(ScriptStepReader, NoteOffCountFollowsTheMostRecentChord)
{
    // A chord-length step before any chord has no records; one after a program step still
    // takes its count from the chord-on step, and a later chord of one note changes it.
    const Bytes code{0x44, 0,    0,    0,  10,  // no chord yet
                     0x50, 2,    0xE0, 0,  0x40, 0x90, 60, 96, 0xE1, 0,  0x40, 0x91, 64, 96,
                     0x2A, 0,    5,  // program between
                     0x44, 0,    0,    0,  20,   0x80, 60, 0,  0x81, 64, 0,    0x50, 1,  0xE0,
                     0,    0x40, 0x90, 67, 96,   0x44, 0,  0,  0,    30, 0x80, 67,   0,  0x00};
    ScriptStepReader reader{std::span<const std::uint8_t>(code)};
    std::vector<std::pair<StepKind, std::uint32_t>> walk;
    std::size_t total = 0;
    for (ScriptStep step = reader.next(); step.kind != StepKind::End; step = reader.next()) {
        walk.emplace_back(step.kind, step.count);
        total += step.size;
    }
    EXPECT_EQ(walk, (std::vector<std::pair<StepKind, std::uint32_t>>{{StepKind::ChordLength, 0},
                                                                     {StepKind::ChordOn, 2},
                                                                     {StepKind::Program, 0},
                                                                     {StepKind::ChordLength, 2},
                                                                     {StepKind::ChordOn, 1},
                                                                     {StepKind::ChordLength, 1}}));
    EXPECT_EQ(total + 1, code.size());
}

TEST(ScriptStepReader, UnknownBytesAreSingleStepsTheCallerMaySkip)
{
    const Bytes code{0x41, 0x52, 0, 0, 0, 5, 0x00};
    ScriptStepReader reader{std::span<const std::uint8_t>(code)};
    const ScriptStep unknown = reader.next();
    EXPECT_EQ(unknown.kind, StepKind::Unknown);
    EXPECT_EQ(unknown.operation, 0x41);
    EXPECT_EQ(unknown.size, 1u);
    const ScriptStep rest = reader.next();
    EXPECT_EQ(rest.kind, StepKind::Rest);
    EXPECT_EQ(rest.length, 5u);
    EXPECT_EQ(reader.next().kind, StepKind::End);
}

TEST(ScriptStepReader, MalformedCodeNeverReadsPastItsEnd)
{
    // Each of these ends inside a step; the reader says so and then stays at the end.
    const std::vector<Bytes> cases{
        {0x50},                                    // no count byte
        {0x50, 0x02, 0xE0, 0x00, 0x40, 0x90, 60},  // count 2, one partial record
        {0x52, 0x00, 0x00},                        // short length
        {0x2A, 0x01},                              // program without its program byte
        {0x50, 0x01, 0xE0, 0, 0x40, 0x90, 60, 96, 0x44, 0, 0, 1, 0xF4, 0x80, 60},  // short off
    };
    for (const auto& code : cases) {
        ScriptStepReader reader{std::span<const std::uint8_t>(code)};
        ScriptStep step = reader.next();
        while (step.kind != StepKind::Truncated && step.kind != StepKind::End)
            step = reader.next();
        EXPECT_EQ(step.kind, StepKind::Truncated) << CompiledScript(code).hex();
        EXPECT_EQ(step.offset + step.size, code.size());
        EXPECT_EQ(step.records, nullptr);
        const ScriptStep after = reader.next();
        EXPECT_EQ(after.kind, StepKind::End);
        EXPECT_EQ(after.size, 0u);
    }
}

TEST(ScriptStepReader, EndByteAndMissingEnd)
{
    // Bytes after the end byte are not steps; code without an end byte simply ends.
    const Bytes trailing{0x00, 0x52, 0, 0, 0, 1};
    ScriptStepReader reader{std::span<const std::uint8_t>(trailing)};
    EXPECT_EQ(reader.next().size, 1u);
    EXPECT_EQ(reader.next().size, 0u);

    const Bytes noEnd{0x52, 0, 0, 0, 1};
    ScriptStepReader open{std::span<const std::uint8_t>(noEnd)};
    EXPECT_EQ(open.next().kind, StepKind::Rest);
    const ScriptStep end = open.next();
    EXPECT_EQ(end.kind, StepKind::End);
    EXPECT_EQ(end.size, 0u);

    ScriptStepReader empty{std::span<const std::uint8_t>()};
    EXPECT_EQ(empty.next().kind, StepKind::End);
}

}  // namespace
}  // namespace tv
