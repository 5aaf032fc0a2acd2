#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

// Something in a script that the compiler passes over or reads otherwise than it looks. A
// warning never changes the code: it only says where the script does not mean what it says.
enum class WarningKind {
    NotAStatement,      // a word where a statement is expected
    UnknownInPlay,      // a word inside PLAY that is no pitch, length, dynamic or setting
    CommentInPlay,      // "/" or "'" inside PLAY, which does not end it
    ReadInParentheses,  // a word of a note in parentheses inside PLAY that still counts
    NoPitch,            // a ratio with a zero term or a term beyond 32 bits
    TextAfterRatio,     // "1/1,3/2": only the first ratio is read
    NoteOutOfRange,     // a note outside 0..127, left out of its chord
    ChordFull,          // a 17th note
    NoUnitInPlay,       // a length number inside PLAY whose next word is no unit
    NoUnit,             // the same after REST or SLEEP
    NoUnitAtEnd,        // a length number that ends the text, read as seconds
    KeywordAsUnit,      // "SLEEP" taken as the unit "s" of the number before it
    KeywordAsLength,    // "SLEEP" or "TEMPO" after REST, taken as a length letter
    BadTuplet,          // a length letter whose tuplet does not read
    NotALength,         // the word after REST or SLEEP, no rest written
    OutOfRange,         // a "!" or "%" value outside its range
    ProgramOutOfRange,  // a "*" value outside 0..127, no program step written
    NoProgramChannel,   // a "*" in a chord that already holds 16 notes
    NotANumber,         // a setting value that reads as 0
    NoValue,            // a setting sign, BASE or TEMPO with nothing to read after it
    BaseInHertz,        // BASE H...
    UnknownNoteName,    // after BASE
    NoBeatLetter,       // after TEMPO
    NoBeatsPerMinute,   // "TEMPO Q"
    UnusableTempo,      // "TEMPO Q0"
    SetWithoutName,     // SET at the end of the text
    SetWithoutValue,    // SET $x at the end of the text
    Undefined,          // "$x" before or without its SET
    NoSuchWord,         // "$x[5]" when the value has fewer words
};

struct ScriptWarning {
    int line = 0;            // 1-based, counting line feeds of the original text
    std::size_t offset = 0;  // byte offset of the word in the original text
    WarningKind kind = WarningKind::NotAStatement;
    std::string text;
};

// The text of a warning about `word`; `detail` fills in what some kinds name besides the word
// (the unit taken, the note number, the ratio read). Both are quoted with their control bytes
// escaped (an escape character as \x1b), so a warning never carries a control byte from a
// file to a terminal.
std::string warningText(WarningKind kind, std::string_view word, std::string_view detail = {});

// Collects warnings during one compile. Words are placed by their offset in the original text;
// a word that came from a variable's value has the offset of its "$" word.
class ScriptWarnings {
public:
    void add(std::size_t offset, WarningKind kind, std::string_view word,
             std::string_view detail = {});
    // The warnings in text order (in the order made at one place), each with its line.
    std::vector<ScriptWarning> take(std::string_view original);

private:
    std::vector<ScriptWarning> warnings_;
};

}  // namespace tv
