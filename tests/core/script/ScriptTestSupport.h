#pragma once

#include "core/script/CompiledScript.h"
#include "core/script/ScriptCompiler.h"
#include "core/script/ScriptStepReader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace tv::test {

// The steps of compiled code in a short readable form:
//   "P 60 67"    a chord-on step with its notes (channels checked to be 0, 1, ...)
//   "D 500"      a chord-length step of 500 ms (its note-offs checked against the chord)
//   "R 250"      a rest
//   "* 1 5"      a program step: channel 1, program 5
//   "?41"        an unknown operation byte
// The end byte is checked to be the last byte and is not listed.
inline std::vector<std::string> steps(const CompiledScript& code)
{
    std::vector<std::string> out;
    ScriptStepReader reader(code);
    std::vector<std::uint8_t> chordNotes;
    for (;;) {
        const ScriptStep step = reader.next();
        switch (step.kind) {
        case ScriptStep::Kind::End:
            EXPECT_EQ(step.size, 1u) << "code without its end byte";
            EXPECT_EQ(step.offset + 1, code.size()) << "bytes after the end byte";
            return out;
        case ScriptStep::Kind::Truncated:
            ADD_FAILURE() << "truncated step at " << step.offset;
            return out;
        case ScriptStep::Kind::Unknown: {
            char text[8];
            static constexpr char digits[] = "0123456789abcdef";
            text[0] = '?';
            text[1] = digits[step.operation >> 4];
            text[2] = digits[step.operation & 15];
            text[3] = 0;
            out.emplace_back(text);
            break;
        }
        case ScriptStep::Kind::ChordOn: {
            std::string text = "P";
            chordNotes.clear();
            for (std::uint32_t k = 0; k < step.count; ++k) {
                const std::uint8_t* record = step.records + 6 * k;
                EXPECT_EQ(record[0], 0xE0 + k) << "bend status of note " << k;
                EXPECT_EQ(record[3], 0x90 + k) << "note-on status of note " << k;
                chordNotes.push_back(record[4]);
                text += ' ' + std::to_string(record[4]);
            }
            out.push_back(text);
            break;
        }
        case ScriptStep::Kind::ChordLength:
            EXPECT_EQ(step.count, chordNotes.size());
            for (std::uint32_t k = 0; k < step.count && k < chordNotes.size(); ++k) {
                const std::uint8_t* off = step.records + 3 * k;
                EXPECT_EQ(off[0], 0x80 + k);
                EXPECT_EQ(off[1], chordNotes[k]);
                EXPECT_EQ(off[2], 0);
            }
            out.push_back("D " + std::to_string(step.length));
            break;
        case ScriptStep::Kind::Rest: out.push_back("R " + std::to_string(step.length)); break;
        case ScriptStep::Kind::Program:
            out.push_back("* " + std::to_string(step.channel) + " " + std::to_string(step.program));
            break;
        }
    }
}

inline std::vector<std::string> stepsOf(std::string_view text)
{
    const CompileResult result = compileScript(text);
    EXPECT_TRUE(result.messages.empty());
    return steps(*result.code);
}

inline std::string hexOf(std::string_view text) { return compileScript(text).code->hex(); }

// Bend and note-on bytes of every note record, in order: "e0 00 40 90 3c 60".
inline std::vector<std::string> noteRecords(const CompiledScript& code)
{
    std::vector<std::string> out;
    ScriptStepReader reader(code);
    for (ScriptStep step = reader.next();
         step.kind != ScriptStep::Kind::End && step.kind != ScriptStep::Kind::Truncated;
         step = reader.next()) {
        if (step.kind != ScriptStep::Kind::ChordOn)
            continue;
        for (std::uint32_t k = 0; k < step.count; ++k) {
            std::vector<std::uint8_t> bytes(step.records + 6 * k, step.records + 6 * k + 6);
            out.push_back(CompiledScript(bytes).hex());
        }
    }
    return out;
}

inline std::vector<std::string> noteRecordsOf(std::string_view text)
{
    return noteRecords(*compileScript(text).code);
}

using Steps = std::vector<std::string>;

}  // namespace tv::test
