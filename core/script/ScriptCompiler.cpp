#include "core/script/ScriptCompiler.h"

#include "core/pitch/NoteBend.h"
#include "core/pitch/Ratio.h"
#include "core/script/ScriptNumbers.h"
#include "core/script/ScriptWords.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tv {

CompileResult compileScript(std::string_view text, CompileWarnings warnings)
{
    return ScriptCompiler(warnings).compile(text);
}

CompileResult ScriptCompiler::compile(ScriptSlots& slots, int slot)
{
    CompileResult result = compile(slots.scriptText(slot));
    slots.replaceCode(slot, result.code);
    return result;
}

void ScriptCompiler::reset()
{
    code_.clear();
    code_.reserve(1024);
    messages_.clear();
    stopped_ = false;
    quarterLength_ = 0.5;
    scriptBase_ = 60.0;
    scriptOctave_ = 0;
    scriptVelocity_ = 96;
    scriptLength_ = 1000;
    scriptProgram_ = 0;
    chordCount_ = 0;
    chordPrograms_.clear();
}

CompileResult ScriptCompiler::compile(std::string_view text)
{
    reset();
    ScriptWarnings warnings;
    warnings_ = collectWarnings_ ? &warnings : nullptr;
    ExpandedText expanded(text, warnings_);
    words_ = &expanded;

    // A word that a statement gives back has mostly had its meaning there (the unit of a
    // length, the value of BASE): only the others are warned of as not being statements.
    Word word = nextWord(false);
    bool meaningful = false;
    while (word && !stopped_) {
        const ScriptWord w = *word;
        lookAgain_ = false;
        if (equalsIgnoringCase(w.text, "PLAY")) {
            word = playStatement();
        } else if (equalsIgnoringCase(w.text, "SLEEP") || equalsIgnoringCase(w.text, "REST")) {
            word = restStatement();
        } else if (equalsIgnoringCase(w.text, "BASE")) {
            word = baseStatement(w);
        } else if (equalsIgnoringCase(w.text, "TEMPO")) {
            word = tempoStatement(w);
        } else if (isCommentWord(w.text)) {
            break;
        } else {
            if (!meaningful)
                warn(w, WarningKind::NotAStatement);
            word = nextWord(false);
            meaningful = false;
            continue;
        }
        meaningful = !lookAgain_;
    }
    words_ = nullptr;
    warnings_ = nullptr;

    // Every statement was checked against one byte kept free for this.
    code_.push_back(scriptop::end);
    CompileResult result;
    result.code = std::make_shared<const CompiledScript>(std::move(code_));
    result.messages = std::move(messages_);
    result.warnings = warnings.take(text);
    code_ = {};
    messages_ = {};
    return result;
}

ScriptCompiler::Word ScriptCompiler::nextWord(bool commaSeparates)
{
    return words_->nextWord(commaSeparates);
}

void ScriptCompiler::warn(const ScriptWord& word, WarningKind kind, std::string_view detail)
{
    if (warnings_)
        warnings_->add(word.offset, kind, word.text, detail);
}

bool ScriptCompiler::fits(std::size_t bytes)
{
    if (code_.size() + bytes + 1 <= scriptWorkAreaSize)
        return true;
    if (!stopped_)
        messages_.emplace_back(memoryOverflowMessage);
    stopped_ = true;
    return false;
}

std::size_t ScriptCompiler::pendingChordSize(std::size_t notes, std::size_t programs) const
{
    return 3 * programs + 2 + noteRecordSize * notes + 5 + noteOffRecordSize * notes;
}

void ScriptCompiler::writeLength(std::uint8_t operation, std::uint32_t length)
{
    code_.push_back(operation);
    code_.push_back(static_cast<std::uint8_t>(length >> 24));
    code_.push_back(static_cast<std::uint8_t>(length >> 16));
    code_.push_back(static_cast<std::uint8_t>(length >> 8));
    code_.push_back(static_cast<std::uint8_t>(length));
}

ScriptCompiler::Word ScriptCompiler::playStatement()
{
    chordCount_ = 0;
    chordPrograms_.clear();
    inParentheses_ = false;
    if (!fits(pendingChordSize(0, 0)))
        return std::nullopt;

    Word word;
    for (;;) {
        word = nextWord(false);
        if (!word || isScriptKeyword(word->text))
            break;
        playWord(*word);
        if (stopped_)
            return std::nullopt;
    }

    for (const auto& program : chordPrograms_)
        code_.insert(code_.end(), program.begin(), program.end());
    code_.push_back(scriptop::chordOn);
    code_.push_back(static_cast<std::uint8_t>(chordCount_));
    code_.insert(code_.end(), chordRecords_.begin(),
                 chordRecords_.begin() + static_cast<std::ptrdiff_t>(chordCount_ * noteRecordSize));
    writeLength(scriptop::chordLength, scriptLength_);
    for (std::size_t k = 0; k < chordCount_; ++k) {
        code_.push_back(static_cast<std::uint8_t>(0x80 + k));
        code_.push_back(chordNotes_[k]);
        code_.push_back(0);
    }
    return word;
}

// Words in parentheses, such as "(quarter)" after "q", are notes for the reader: unknown ones
// are passed over without a warning, and known ones are warned of because they still count.
void ScriptCompiler::playWord(const ScriptWord& word)
{
    const std::string_view w = word.text;
    const bool annotated = inParentheses_ || w.front() == '(';
    inParentheses_ = annotated && w.back() != ')';
    if (readPlayWord(word)) {
        if (annotated)
            warn(word, WarningKind::ReadInParentheses);
    } else if (!annotated) {
        warn(word, isCommentWord(w) ? WarningKind::CommentInPlay : WarningKind::UnknownInPlay);
    }
}

bool ScriptCompiler::readPlayWord(const ScriptWord& word)
{
    const std::string_view w = word.text;
    // Before the digit test: "50c" is a pitch, not a length of 50 with a unit after it.
    if (const auto cents = centsWord(w)) {
        addNote(word, *cents);
        return true;
    }
    if (isAsciiDigit(w.front())) {
        ratioWord(word);
        return true;
    }
    switch (lengthLetter(w)) {
    case Letter::Length: return true;
    case Letter::BadTuplet: warn(word, WarningKind::BadTuplet); return true;
    case Letter::None: break;
    }
    if (const auto velocity = dynamicVelocity(w)) {
        scriptVelocity_ = *velocity;
        return true;
    }
    const char first = w.front();
    if (first != '!' && first != '%' && first != '*' && first != '@')
        return false;
    setting(word);
    return true;
}

// A word inside PLAY that begins with a digit: a ratio, or else a length number.
void ScriptCompiler::ratioWord(const ScriptWord& word)
{
    const std::string_view w = word.text;
    const UnsignedTerm numerator = *leadingUnsigned(w);
    const std::string_view rest = w.substr(numerator.used);
    if (!rest.empty() && (rest.front() == ':' || rest.front() == '/')) {
        if (const auto denominator = leadingUnsigned(rest.substr(1))) {
            // A zero or oversized term makes no pitch: the word is passed over.
            if (numerator.tooLarge || denominator->tooLarge || numerator.value == 0 ||
                denominator->value == 0) {
                warn(word, WarningKind::NoPitch);
                return;
            }
            const std::size_t ratioLength = numerator.used + 1 + denominator->used;
            if (ratioLength < w.size())
                warn(word, WarningKind::TextAfterRatio, w.substr(0, ratioLength));
            addNote(word, ratioCents(numerator.value, denominator->value));
            return;
        }
    }
    lengthNumber(word, true);
}

void ScriptCompiler::addNote(const ScriptWord& word, double cents)
{
    // Notes beyond the 16th have no channel left.
    if (chordCount_ >= maxChordNotes) {
        warn(word, WarningKind::ChordFull);
        return;
    }
    // Far outside the MIDI range the note arithmetic itself would overflow; such a note is
    // left out like any other note outside 0..127.
    const double noteBase = scriptBase_ + 12.0 * scriptOctave_;
    if (!(noteBase > -1000.0 && noteBase < 1000.0)) {
        if (warnings_) {
            std::array<char, 32> text{};
            const auto end = std::to_chars(text.data(), text.data() + text.size(), noteBase).ptr;
            warn(word, WarningKind::NoteOutOfRange,
                 std::string_view(text.data(), end - text.data()));
        }
        return;
    }
    const NoteBend pitch = scriptNoteForCents(scriptBase_, scriptOctave_, cents);
    if (pitch.note < 0 || pitch.note > 127) {
        if (warnings_)
            warn(word, WarningKind::NoteOutOfRange, std::to_string(pitch.note));
        return;
    }
    if (!fits(pendingChordSize(chordCount_ + 1, chordPrograms_.size())))
        return;
    const auto channel = static_cast<std::uint8_t>(chordCount_);
    std::uint8_t* record = chordRecords_.data() + chordCount_ * noteRecordSize;
    record[0] = 0xE0 + channel;
    record[1] = pitch.bendLsb;
    record[2] = pitch.bendMsb;
    record[3] = 0x90 + channel;
    record[4] = static_cast<std::uint8_t>(pitch.note);
    record[5] = static_cast<std::uint8_t>(scriptVelocity_);
    chordNotes_[chordCount_] = static_cast<std::uint8_t>(pitch.note);
    ++chordCount_;
}

void ScriptCompiler::setting(const ScriptWord& word)
{
    const char sign = word.text.front();
    // The word that holds the value: this one after its sign, or the next one.
    ScriptWord valueWord = word;
    std::string_view valueText = word.text.substr(1);
    if (valueText.empty()) {
        const Word next = nextWord(true);
        if (!next) {
            warn(word, WarningKind::NoValue);
            return;
        }
        valueWord = *next;
        valueText = next->text;
    }
    const LeadingReal read = leadingReal(valueText);
    const double value = read.value;
    if (read.used == 0)
        warn(valueWord, WarningKind::NotANumber);

    switch (sign) {
    case '!':
    case '%':  // accepted with the same values as "!", and without effect
        if (const auto velocity = velocityValue(valueWord.text, value)) {
            if (sign == '!')
                scriptVelocity_ = *velocity;
        } else {
            warn(valueWord, WarningKind::OutOfRange);
        }
        break;
    case '*': {
        // Only a MIDI program makes a program step; any other value leaves the last program
        // sounding. The step names the channel of the chord's next note; past the 16th there
        // is none.
        const std::int64_t program = saturatingInt64(value);
        if (program < 0 || program > 127) {
            warn(valueWord, WarningKind::ProgramOutOfRange);
            break;
        }
        if (chordCount_ >= maxChordNotes) {
            warn(valueWord, WarningKind::NoProgramChannel);
            break;
        }
        scriptProgram_ = static_cast<std::uint8_t>(program);
        if (fits(pendingChordSize(chordCount_, chordPrograms_.size() + 1)))
            chordPrograms_.push_back(
                {scriptop::program, static_cast<std::uint8_t>(chordCount_), scriptProgram_});
        break;
    }
    case '@': scriptOctave_ = saturatingInt32(value); break;
    default: break;
    }
}

ScriptCompiler::Word ScriptCompiler::lengthNumber(const ScriptWord& word, bool inPlay)
{
    const double value = leadingReal(word.text).value;
    const Word unit = nextWord(false);
    if (!unit) {
        warn(word, WarningKind::NoUnitAtEnd);
        scriptLength_ = saturatingLength(value * 1000 + 0.5);
    } else if (startsWithIgnoringCase(unit->text, "S")) {
        if (isScriptKeyword(unit->text))
            warn(*unit, WarningKind::KeywordAsUnit, word.text);
        scriptLength_ = saturatingLength(value * 1000 + 0.5);
    } else if (startsWithIgnoringCase(unit->text, "MS")) {
        scriptLength_ = saturatingLength(value + 0.5);
    } else if (inPlay) {
        // Any other word is consumed as a unit all the same and the number is dropped.
        warn(word, WarningKind::NoUnitInPlay, unit->text);
    } else {
        warn(word, WarningKind::NoUnit);
        lookAgain_ = true;
    }
    return unit;
}

ScriptCompiler::Letter ScriptCompiler::lengthLetter(std::string_view word)
{
    const auto quarters = letterQuarters(word.front(), false);
    if (!quarters)
        return Letter::None;
    scriptLength_ = saturatingLength(1000 * quarterLength_ * *quarters + 0.5);
    std::size_t i = 1;
    for (; i < word.size() && word[i] == '.'; ++i)
        scriptLength_ = saturatingLength(1.5 * scriptLength_ + 0.5);
    if (i < word.size() && isAsciiDigit(word[i])) {
        const auto factor = tupletFactor(word.substr(i));
        if (!factor)
            return Letter::BadTuplet;
        scriptLength_ = saturatingLength(*factor * scriptLength_);
    }
    return Letter::Length;
}

ScriptCompiler::Word ScriptCompiler::restStatement()
{
    const Word word = nextWord(true);
    if (!word) {
        if (fits(5))
            writeLength(scriptop::rest, scriptLength_);
        return word;
    }
    if (isAsciiDigit(word->text.front())) {
        const Word unit = lengthNumber(*word, false);
        if (fits(5))
            writeLength(scriptop::rest, scriptLength_);
        return unit;
    }
    switch (lengthLetter(word->text)) {
    case Letter::Length:
        if (isScriptKeyword(word->text))
            warn(*word, WarningKind::KeywordAsLength);
        if (fits(5))
            writeLength(scriptop::rest, scriptLength_);
        break;
    case Letter::BadTuplet: warn(*word, WarningKind::BadTuplet); break;
    case Letter::None: warn(*word, WarningKind::NotALength); break;
    }
    return word;
}

ScriptCompiler::Word ScriptCompiler::baseStatement(const ScriptWord& keyword)
{
    const Word word = nextWord(true);
    if (!word || isScriptKeyword(word->text))
        warn(keyword, WarningKind::NoValue);
    if (!word)
        return word;
    const std::string_view w = word->text;
    if (w.front() == 'H' || w.front() == 'h') {
        warn(*word, WarningKind::BaseInHertz);
        return word;
    }
    if (isAsciiDigit(w.front())) {
        scriptBase_ = leadingReal(w).value;
        return word;
    }
    // A note name, then at once an optional octave number ("C4", "Bb-1"); octave 3 without.
    const std::size_t split = w.find_first_of("0123456789+-");
    const std::string_view name = w.substr(0, split);
    const std::int64_t octave =
        split == std::string_view::npos ? 3 : leadingInteger(w.substr(split)).value;
    if (const auto pitch = noteNamePitch(name))
        scriptBase_ = *pitch + 12.0 * (static_cast<double>(octave) + 2.0);
    else if (!isScriptKeyword(w))
        warn(*word, WarningKind::UnknownNoteName);
    return word;
}

ScriptCompiler::Word ScriptCompiler::tempoStatement(const ScriptWord& keyword)
{
    const Word word = nextWord(true);
    const bool keywordFollows = word && isScriptKeyword(word->text);
    if (!word || keywordFollows)
        warn(keyword, WarningKind::NoValue);
    if (!word)
        return word;
    // A keyword after TEMPO has been warned of as a missing value.
    const std::string_view w = word->text;
    const auto warnTempo = [&](WarningKind kind) {
        if (!keywordFollows)
            warn(*word, kind);
    };
    auto quarters = letterQuarters(w.front(), true);
    if (!quarters) {
        warnTempo(WarningKind::NoBeatLetter);
        return word;
    }
    // Each dot after the beat letter makes the beat half as long again ("Q." = 1.5 quarters).
    std::size_t i = 1;
    for (; i < w.size() && w[i] == '.'; ++i)
        *quarters *= 1.5;
    if (i == w.size()) {
        warnTempo(WarningKind::NoBeatsPerMinute);
        return word;
    }
    const double beatsPerMinute = leadingReal(w.substr(i)).value;
    const double quarterLength = 60.0 / (beatsPerMinute * *quarters);
    // A tempo of 0 (or below, or unreadable) is passed over.
    if (beatsPerMinute > 0.0 && std::isfinite(quarterLength))
        quarterLength_ = quarterLength;
    else
        warnTempo(WarningKind::UnusableTempo);
    return word;
}

}  // namespace tv
