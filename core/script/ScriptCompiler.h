#pragma once

#include "core/script/CompiledScript.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

class ExpandedText;

inline constexpr std::string_view memoryOverflowMessage = "Memory overflow!";
// The largest code a script compiles to, end byte included.
inline constexpr std::size_t scriptWorkAreaSize = 32768;

struct CompileResult {
    std::shared_ptr<const CompiledScript> code;  // never null
    std::vector<std::string> messages;           // for the user, in order
};

// Where a compile reads a script's text and puts its code: the keyboard window's slots.
class ScriptSlots {
public:
    virtual ~ScriptSlots() = default;
    virtual std::string scriptText(int slot) const = 0;
    virtual void replaceCode(int slot, std::shared_ptr<const CompiledScript> code) = 0;
};

// Compiles script text to byte code. A compile never fails as a whole: words it cannot
// understand are passed over in silence. When the code would outgrow the work area, the
// statement that does not fit is left out, "Memory overflow!" is reported once and the code
// ends after the last complete statement.
class ScriptCompiler {
public:
    CompileResult compile(std::string_view text);
    // Compiles the slot's text and replaces the slot's code; gives the messages to show.
    std::vector<std::string> compile(ScriptSlots& slots, int slot);

private:
    using Word = std::optional<std::string_view>;

    void reset();
    Word nextWord(bool commaSeparates);

    Word playStatement();
    void playWord(std::string_view word);
    void addNote(std::uint32_t numerator, std::uint32_t denominator);
    void setting(std::string_view word);
    Word restStatement();
    Word baseStatement();
    Word tempoStatement();

    // Reads the unit after a length number and sets the length; gives the unit word.
    Word lengthNumber(std::string_view word);
    // True when the word is a length letter; the length may change even when it is not.
    bool lengthLetter(std::string_view word);

    std::size_t pendingChordSize(std::size_t notes, std::size_t programs) const;
    bool fits(std::size_t bytes);
    void writeLength(std::uint8_t operation, std::uint32_t length);

    ExpandedText* words_ = nullptr;
    std::vector<std::uint8_t> code_;
    std::vector<std::string> messages_;
    bool stopped_ = false;

    double quarterLength_ = 0.5;  // seconds
    double scriptBase_ = 60.0;
    std::int32_t scriptOctave_ = 0;
    int scriptVelocity_ = 96;
    std::uint32_t scriptLength_ = 1000;  // ms
    std::uint8_t scriptProgram_ = 0;

    // The PLAY being compiled: its program steps go out before its chord-on step.
    std::array<std::uint8_t, maxChordNotes * noteRecordSize> chordRecords_{};
    std::array<std::uint8_t, maxChordNotes> chordNotes_{};
    std::size_t chordCount_ = 0;
    std::vector<std::array<std::uint8_t, 3>> chordPrograms_;
};

CompileResult compileScript(std::string_view text);

}  // namespace tv
