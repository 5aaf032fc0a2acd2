// The script compiler: any text, SET definitions and "$" words included, compiles to code that
// fits the work area and that every reader walks step by step to its end byte, with MIDI
// messages of MIDI's ranges only. Collecting warnings never changes the code or the messages.
#include "FuzzCheck.h"

#include "core/script/ScriptCompiler.h"
#include "core/script/ScriptStepReader.h"

#include <algorithm>
#include <string_view>

namespace {

using namespace tv;

void checkCode(const CompiledScript& code)
{
    const auto bytes = code.bytes();
    FUZZ_CHECK(!bytes.empty() && bytes.size() <= scriptWorkAreaSize);
    FUZZ_CHECK(bytes.back() == scriptop::end);
    ScriptStepReader reader(code);
    std::uint32_t notes = 0;
    for (;;) {
        const ScriptStep step = reader.next();
        // The compiler writes only steps that every reader knows, each whole.
        FUZZ_CHECK(step.kind != ScriptStep::Kind::Unknown);
        FUZZ_CHECK(step.kind != ScriptStep::Kind::Truncated);
        switch (step.kind) {
        case ScriptStep::Kind::End:
            // The end byte is the last byte: nothing is left after it.
            FUZZ_CHECK(step.size == 1 && step.offset + 1 == bytes.size());
            return;
        case ScriptStep::Kind::Unknown:
        case ScriptStep::Kind::Truncated: return;
        case ScriptStep::Kind::Program: FUZZ_CHECK(step.channel < 16 && step.program < 128); break;
        case ScriptStep::Kind::Rest: break;
        case ScriptStep::Kind::ChordOn:
            FUZZ_CHECK(step.count <= static_cast<std::uint32_t>(maxChordNotes));
            notes = step.count;
            for (std::uint32_t k = 0; k < step.count; ++k) {
                const std::uint8_t* r = step.records + k * noteRecordSize;
                FUZZ_CHECK(r[0] == 0xE0 + k && r[3] == 0x90 + k);
                FUZZ_CHECK(fuzz::isSaneChannelMessage(packMessage(r[0], r[1], r[2])));
                FUZZ_CHECK(fuzz::isSaneChannelMessage(packMessage(r[3], r[4], r[5])));
            }
            break;
        case ScriptStep::Kind::ChordLength:
            FUZZ_CHECK(step.count == notes);
            for (std::uint32_t k = 0; k < step.count; ++k) {
                const std::uint8_t* r = step.records + k * noteOffRecordSize;
                FUZZ_CHECK(r[0] == 0x80 + k && r[1] < 0x80 && r[2] == 0);
            }
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const CompileResult plain = compileScript(text);
    const CompileResult warned = compileScript(text, CompileWarnings::Collect);
    FUZZ_CHECK(plain.code && warned.code);
    FUZZ_CHECK(*plain.code == *warned.code);
    FUZZ_CHECK(plain.messages == warned.messages);
    FUZZ_CHECK(plain.warnings.empty());
    checkCode(*plain.code);

    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    std::size_t previous = 0;
    for (const ScriptWarning& warning : warned.warnings) {
        FUZZ_CHECK(warning.offset <= text.size());
        FUZZ_CHECK(warning.offset >= previous);
        FUZZ_CHECK(warning.line >= 1 && warning.line <= lines);
        FUZZ_CHECK(!warning.text.empty());
        previous = warning.offset;
    }
    return 0;
}
