#pragma once

#include "core/script/CompiledScript.h"
#include "core/script/ExpandedText.h"
#include "core/script/ScriptWarning.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

inline constexpr std::string_view memoryOverflowMessage = "Memory overflow!";
// The largest code a script compiles to, end byte included.
inline constexpr std::size_t scriptWorkAreaSize = 32768;

struct CompileResult {
    std::shared_ptr<const CompiledScript> code;  // never null
    std::vector<std::string> messages;           // for the user, in order
    std::vector<ScriptWarning> warnings;         // in text order; empty unless collected
};

// Whether a compile collects warnings. They never change the code.
enum class CompileWarnings { Off, Collect };

// Where a compile reads a script's text and puts its code: the keyboard window's slots.
class ScriptSlots {
public:
    virtual ~ScriptSlots() = default;
    virtual std::string scriptText(int slot) const = 0;
    virtual void replaceCode(int slot, std::shared_ptr<const CompiledScript> code) = 0;
};

// Compiles script text to byte code. A compile never fails as a whole: words it cannot
// understand are passed over, and only warned of when warnings are collected. When the code
// would outgrow the work area, the statement that does not fit is left out, "Memory
// overflow!" is reported once and the code ends after the last complete statement.
class ScriptCompiler {
public:
    explicit ScriptCompiler(CompileWarnings warnings = CompileWarnings::Off)
        : collectWarnings_(warnings == CompileWarnings::Collect)
    {
    }

    CompileResult compile(std::string_view text);
    // Compiles the slot's text and replaces the slot's code with the result's code.
    CompileResult compile(ScriptSlots& slots, int slot);

private:
    using Word = std::optional<ScriptWord>;
    enum class Letter { None, Length, BadTuplet };

    void reset();
    Word nextWord(bool commaSeparates);
    void warn(const ScriptWord& word, WarningKind kind, std::string_view detail = {});

    Word playStatement();
    void playWord(const ScriptWord& word);
    // False when the word means nothing inside PLAY.
    bool readPlayWord(const ScriptWord& word);
    void ratioWord(const ScriptWord& word);
    void addNote(const ScriptWord& word, double cents);
    void setting(const ScriptWord& word);
    Word restStatement();
    Word baseStatement(const ScriptWord& keyword);
    Word tempoStatement(const ScriptWord& keyword);

    // Reads the unit after a length number and sets the length; gives the unit word.
    Word lengthNumber(const ScriptWord& word, bool inPlay);
    // Whether the word is a length letter; the length may change even when it is not.
    Letter lengthLetter(std::string_view word);

    std::size_t pendingChordSize(std::size_t notes, std::size_t programs) const;
    bool fits(std::size_t bytes);
    void writeLength(std::uint8_t operation, std::uint32_t length);

    bool collectWarnings_ = false;
    bool lookAgain_ = false;  // the word a statement gave back is to be looked at afresh
    ExpandedText* words_ = nullptr;
    ScriptWarnings* warnings_ = nullptr;
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
    bool inParentheses_ = false;
};

CompileResult compileScript(std::string_view text, CompileWarnings warnings = CompileWarnings::Off);

}  // namespace tv
