#include "core/script/ScriptCompiler.h"

#include "core/pitch/NoteBend.h"
#include "core/script/ExpandedText.h"
#include "core/script/ScriptNumbers.h"

#include <cmath>

namespace tv {
namespace {

constexpr std::array<std::string_view, 5> keywords{"PLAY", "SLEEP", "REST", "BASE", "TEMPO"};

bool isKeyword(std::string_view word)
{
    for (const auto keyword : keywords) {
        if (equalsIgnoringCase(word, keyword))
            return true;
    }
    return false;
}

bool isComment(std::string_view word) { return word.front() == '/' || word.front() == '\''; }

struct Dynamic {
    std::string_view name;
    int velocity;
};
constexpr std::array<Dynamic, 12> dynamics{{
    {"ppppp", 31},
    {"pppp", 39},
    {"ppp", 47},
    {"pp", 55},
    {"p", 63},
    {"mp", 71},
    {"mf", 79},
    {"f", 87},
    {"ff", 95},
    {"fff", 103},
    {"ffff", 115},
    {"fffff", 127},
}};

// Quarters per note-value letter. For a TEMPO beat, I counts 1/64 of a quarter instead.
std::optional<double> letterQuarters(char letter, bool forTempo)
{
    switch (asciiUpper(letter)) {
    case 'D': return 8.0;
    case 'W': return 4.0;
    case 'H': return 2.0;
    case 'Q': return 1.0;
    case 'E': return 0.5;
    case 'S': return 0.25;
    case 'T': return 0.125;
    case 'X': return 1.0 / 16;
    case 'O': return 1.0 / 32;
    case 'I': return forTempo ? 1.0 / 64 : 1.0 / 32;
    default: return std::nullopt;
    }
}

struct NoteName {
    std::string_view name;
    int pitch;
};
constexpr std::array<NoteName, 21> noteNames{{
    {"A", 9},  {"A#", 10}, {"Bb", 10}, {"B", 11}, {"B#", 12}, {"Cb", -1}, {"C", 0},
    {"C#", 1}, {"Db", 1},  {"D", 2},   {"D#", 3}, {"Eb", 3},  {"E", 4},   {"E#", 5},
    {"Fb", 4}, {"F", 5},   {"F#", 6},  {"Gb", 6}, {"G", 7},   {"G#", 8},  {"Ab", 8},
}};

// Reads "a:b" or, failing that, "a/b" as two reals; nothing when neither form reads or b is 0.
std::optional<double> tupletFactor(std::string_view text)
{
    const LeadingReal a = leadingReal(text);
    if (a.used == 0 || a.used >= text.size() || (text[a.used] != ':' && text[a.used] != '/'))
        return std::nullopt;
    const LeadingReal b = leadingReal(text.substr(a.used + 1));
    if (b.used == 0 || b.value == 0.0)
        return std::nullopt;
    return a.value / b.value;
}

// The velocity a "!" value gives: "50%" a percentage, "0.5" a fraction, "64" the velocity
// itself; nothing when the value is outside its range.
std::optional<int> velocityValue(std::string_view valueWord, double value)
{
    if (valueWord.back() == '%') {
        if (value >= 0.0 && value <= 100.0)
            return static_cast<int>(value * 1.27 + 0.5);
    } else if (valueWord.find('.') != std::string_view::npos) {
        if (value >= 0.0 && value <= 1.0)
            return static_cast<int>(value * 127 + 0.5);
    } else if (value >= 0.0 && value <= 127.0) {
        return static_cast<int>(value);
    }
    return std::nullopt;
}

}  // namespace

CompileResult compileScript(std::string_view text) { return ScriptCompiler().compile(text); }

std::vector<std::string> ScriptCompiler::compile(ScriptSlots& slots, int slot)
{
    CompileResult result = compile(slots.scriptText(slot));
    slots.replaceCode(slot, std::move(result.code));
    return std::move(result.messages);
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
    ExpandedText expanded(text);
    words_ = &expanded;

    Word word = nextWord(false);
    while (word && !stopped_) {
        const std::string_view w = *word;
        if (equalsIgnoringCase(w, "PLAY"))
            word = playStatement();
        else if (equalsIgnoringCase(w, "SLEEP") || equalsIgnoringCase(w, "REST"))
            word = restStatement();
        else if (equalsIgnoringCase(w, "BASE"))
            word = baseStatement();
        else if (equalsIgnoringCase(w, "TEMPO"))
            word = tempoStatement();
        else if (isComment(w))
            break;
        else
            word = nextWord(false);
    }
    words_ = nullptr;

    // Every statement was checked against one byte kept free for this.
    code_.push_back(scriptop::end);
    CompileResult result;
    result.code = std::make_shared<const CompiledScript>(std::move(code_));
    result.messages = std::move(messages_);
    code_ = {};
    messages_ = {};
    return result;
}

ScriptCompiler::Word ScriptCompiler::nextWord(bool commaSeparates)
{
    return words_->nextWord(commaSeparates);
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
    if (!fits(pendingChordSize(0, 0)))
        return std::nullopt;

    Word word;
    for (;;) {
        word = nextWord(false);
        if (!word || isKeyword(*word))
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

void ScriptCompiler::playWord(std::string_view word)
{
    if (isAsciiDigit(word.front())) {
        const UnsignedTerm numerator = *leadingUnsigned(word);
        const std::string_view rest = word.substr(numerator.used);
        if (!rest.empty() && (rest.front() == ':' || rest.front() == '/')) {
            if (const auto denominator = leadingUnsigned(rest.substr(1))) {
                // A zero or oversized term makes no pitch: the word is passed over.
                if (!numerator.tooLarge && !denominator->tooLarge && numerator.value != 0 &&
                    denominator->value != 0)
                    addNote(numerator.value, denominator->value);
                return;
            }
        }
        lengthNumber(word);
        return;
    }
    if (lengthLetter(word))
        return;
    for (const auto& dynamic : dynamics) {
        if (equalsIgnoringCase(word, dynamic.name)) {
            scriptVelocity_ = dynamic.velocity;
            return;
        }
    }
    const char first = word.front();
    if (first == '!' || first == '%' || first == '*' || first == '@')
        setting(word);
}

void ScriptCompiler::addNote(std::uint32_t numerator, std::uint32_t denominator)
{
    // Notes beyond the 16th have no channel left.
    if (chordCount_ >= maxChordNotes)
        return;
    // Far outside the MIDI range the note arithmetic itself would overflow; such a note is
    // left out like any other note outside 0..127.
    const double noteBase = scriptBase_ + 12.0 * scriptOctave_;
    if (!(noteBase > -1000.0 && noteBase < 1000.0))
        return;
    const NoteBend pitch = scriptNoteForRatio(scriptBase_, scriptOctave_, numerator, denominator);
    if (pitch.note < 0 || pitch.note > 127)
        return;
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

void ScriptCompiler::setting(std::string_view word)
{
    const char sign = word.front();
    std::string valueWord;
    double value = 0.0;
    if (word.size() == 1) {
        const Word next = nextWord(true);
        if (!next)
            return;
        valueWord.assign(*next);
        value = leadingReal(valueWord).value;
    } else {
        valueWord.assign(word);
        value = leadingReal(word.substr(1)).value;
    }

    switch (sign) {
    case '!':
        if (const auto velocity = velocityValue(valueWord, value))
            scriptVelocity_ = *velocity;
        break;
    case '%':  // accepted and without effect
        break;
    case '*':
        scriptProgram_ = static_cast<std::uint8_t>(saturatingInt64(value) & 0xFF);
        // The step names the channel of the chord's next note; past the 16th there is none.
        if (chordCount_ < maxChordNotes &&
            fits(pendingChordSize(chordCount_, chordPrograms_.size() + 1)))
            chordPrograms_.push_back(
                {scriptop::program, static_cast<std::uint8_t>(chordCount_), scriptProgram_});
        break;
    case '@': scriptOctave_ = saturatingInt32(value); break;
    default: break;
    }
}

ScriptCompiler::Word ScriptCompiler::lengthNumber(std::string_view word)
{
    const double value = leadingReal(word).value;
    const Word unit = nextWord(false);
    if (!unit || startsWithIgnoringCase(*unit, "S"))
        scriptLength_ = saturatingLength(value * 1000 + 0.5);
    else if (startsWithIgnoringCase(*unit, "MS"))
        scriptLength_ = saturatingLength(value + 0.5);
    // Any other word is consumed as a unit all the same and the number is dropped.
    return unit;
}

bool ScriptCompiler::lengthLetter(std::string_view word)
{
    const auto quarters = letterQuarters(word.front(), false);
    if (!quarters)
        return false;
    scriptLength_ = saturatingLength(1000 * quarterLength_ * *quarters + 0.5);
    std::size_t i = 1;
    for (; i < word.size() && word[i] == '.'; ++i)
        scriptLength_ = saturatingLength(1.5 * scriptLength_ + 0.5);
    if (i < word.size() && isAsciiDigit(word[i])) {
        const auto factor = tupletFactor(word.substr(i));
        if (!factor)
            return false;
        scriptLength_ = saturatingLength(*factor * scriptLength_);
    }
    return true;
}

ScriptCompiler::Word ScriptCompiler::restStatement()
{
    const Word word = nextWord(true);
    if (!word) {
        if (fits(5))
            writeLength(scriptop::rest, scriptLength_);
        return word;
    }
    if (isAsciiDigit(word->front())) {
        const Word unit = lengthNumber(*word);
        if (fits(5))
            writeLength(scriptop::rest, scriptLength_);
        return unit;
    }
    if (lengthLetter(*word) && fits(5))
        writeLength(scriptop::rest, scriptLength_);
    return word;
}

ScriptCompiler::Word ScriptCompiler::baseStatement()
{
    const Word word = nextWord(true);
    if (!word)
        return word;
    const std::string_view w = *word;
    if (w.front() == 'H' || w.front() == 'h')
        return word;
    if (isAsciiDigit(w.front())) {
        scriptBase_ = leadingReal(w).value;
        return word;
    }
    // A note name, then at once an optional octave number ("C4", "Bb-1"); octave 3 without.
    const std::size_t split = w.find_first_of("0123456789+-");
    const std::string_view name = w.substr(0, split);
    const std::int64_t octave =
        split == std::string_view::npos ? 3 : leadingInteger(w.substr(split)).value;
    for (const auto& note : noteNames) {
        if (equalsIgnoringCase(name, note.name)) {
            scriptBase_ = note.pitch + 12.0 * (static_cast<double>(octave) + 2.0);
            break;
        }
    }
    return word;
}

ScriptCompiler::Word ScriptCompiler::tempoStatement()
{
    const Word word = nextWord(true);
    if (!word)
        return word;
    const std::string_view w = *word;
    auto quarters = letterQuarters(w.front(), true);
    if (!quarters)
        return word;
    // Each dot after the beat letter makes the beat half as long again ("Q." = 1.5 quarters).
    std::size_t i = 1;
    for (; i < w.size() && w[i] == '.'; ++i)
        *quarters *= 1.5;
    if (i == w.size())
        return word;
    const double beatsPerMinute = leadingReal(w.substr(i)).value;
    const double quarterLength = 60.0 / (beatsPerMinute * *quarters);
    // A tempo of 0 (or below, or unreadable) is passed over.
    if (beatsPerMinute > 0.0 && std::isfinite(quarterLength))
        quarterLength_ = quarterLength;
    return word;
}

}  // namespace tv
