#include "core/script/ScriptWarning.h"

#include <algorithm>
#include <cstdint>

namespace tv {
namespace {

// "{w}" stands for the word, "{d}" for the detail.
std::string_view pattern(WarningKind kind)
{
    switch (kind) {
    case WarningKind::NotAStatement: return "\"{w}\" is not a statement and is passed over";
    case WarningKind::UnknownInPlay:
        return "\"{w}\" is not a pitch, length, dynamic or setting and is ignored";
    case WarningKind::CommentInPlay:
        return "\"{w}\" does not end the PLAY: the words after it are still read";
    case WarningKind::ReadInParentheses: return "\"{w}\" is inside parentheses but is still read";
    case WarningKind::NoPitch:
        return "\"{w}\" has a term of 0 or above 4294967295 and plays nothing";
    case WarningKind::TextAfterRatio:
        return "\"{w}\" is read as the ratio {d}; the rest of the word is ignored";
    case WarningKind::NoteOutOfRange: return "\"{w}\" is note {d}, outside 0..127, and is left out";
    case WarningKind::ChordFull:
        return "\"{w}\" is a 17th note; a chord holds 16 and it is left out";
    case WarningKind::NoUnitInPlay:
        return "\"{w}\" has no unit (s or ms): it is dropped and \"{d}\" is passed over";
    case WarningKind::NoUnit: return "\"{w}\" has no unit (s or ms) and is dropped";
    case WarningKind::NoUnitAtEnd: return "\"{w}\" has no unit and counts as seconds";
    case WarningKind::KeywordAsUnit:
        return "\"{w}\" is read as the unit (seconds) of \"{d}\", not as a statement";
    case WarningKind::KeywordAsLength:
        return "\"{w}\" is read as a length letter and then as a statement";
    case WarningKind::BadTuplet:
        return "\"{w}\" is no length: its tuplet does not read (a:b or a/b)";
    case WarningKind::NotALength: return "\"{w}\" is not a length; no rest is written";
    case WarningKind::OutOfRange: return "\"{w}\" is out of range and changes nothing";
    case WarningKind::ProgramOutOfRange:
        return "\"{w}\" is not a program from 0 to 127 and is left out";
    case WarningKind::NoProgramChannel:
        return "\"{w}\" is left out: the chord has no channel left after 16 notes";
    case WarningKind::NotANumber: return "\"{w}\" holds no number and reads as 0";
    case WarningKind::NoValue: return "\"{w}\" has no value and changes nothing";
    case WarningKind::BaseInHertz:
        return "\"{w}\": a base in hertz is not supported; the base is unchanged";
    case WarningKind::UnknownNoteName: return "\"{w}\" is not a note name; the base is unchanged";
    case WarningKind::NoBeatLetter:
        return "\"{w}\" does not begin with a beat letter; the tempo is unchanged";
    case WarningKind::NoBeatsPerMinute:
        return "\"{w}\" has no beats per minute; the tempo is unchanged";
    case WarningKind::UnusableTempo: return "\"{w}\" is not a usable tempo; the tempo is unchanged";
    case WarningKind::SetWithoutName: return "\"{w}\" has no name and defines nothing";
    case WarningKind::SetWithoutValue: return "\"{w}\" has no value and is not defined";
    case WarningKind::Undefined: return "\"{w}\" is not defined and gives no text";
    case WarningKind::NoSuchWord: return "\"{w}\" has no such word and gives no text";
    }
    return "\"{w}\"";
}

// Appends `text` with every byte that a terminal or a list would take as a control written
// as \xNN: bytes below 0x20, DEL, the C1 controls (U+0080 to U+009F) and bytes that are not
// part of well-formed UTF-8. Other characters, accented letters included, stay as they are.
void appendPrintable(std::string& out, std::string_view text)
{
    static constexpr char digits[] = "0123456789abcdef";
    const auto escape = [&out](unsigned char byte) {
        out += "\\x";
        out += digits[byte >> 4];
        out += digits[byte & 15];
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            if (lead < 0x20 || lead == 0x7F)
                escape(lead);
            else
                out += static_cast<char>(lead);
            ++i;
            continue;
        }
        // The length of the sequence the lead byte announces and the least code point it may
        // carry (shorter forms are overlong).
        const std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4
                                   : lead >= 0xE0               ? 3
                                   : lead >= 0xC2               ? 2
                                                                : 0;
        std::uint32_t code = length == 4 ? lead & 0x07u : length == 3 ? lead & 0x0Fu : lead & 0x1Fu;
        bool ok = length != 0 && lead < 0xF5 && i + length <= text.size();
        for (std::size_t k = 1; ok && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            ok = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3Fu);
        }
        const std::uint32_t least = length == 4 ? 0x10000 : length == 3 ? 0x800 : 0x80;
        ok = ok && code >= least && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
        if (!ok) {
            escape(lead);
            ++i;
            continue;
        }
        for (std::size_t k = 0; k < length; ++k) {
            if (code <= 0x9F)
                escape(static_cast<unsigned char>(text[i + k]));
            else
                out += text[i + k];
        }
        i += length;
    }
}

}  // namespace

std::string warningText(WarningKind kind, std::string_view word, std::string_view detail)
{
    const std::string_view text = pattern(kind);
    std::string out;
    out.reserve(text.size() + word.size() + detail.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 3) == "{w}") {
            appendPrintable(out, word);
            i += 2;
        } else if (text.substr(i, 3) == "{d}") {
            appendPrintable(out, detail);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

void ScriptWarnings::add(std::size_t offset, WarningKind kind, std::string_view word,
                         std::string_view detail)
{
    warnings_.push_back({0, offset, kind, warningText(kind, word, detail)});
}

std::vector<ScriptWarning> ScriptWarnings::take(std::string_view original)
{
    std::vector<ScriptWarning> out = std::move(warnings_);
    warnings_ = {};
    std::stable_sort(out.begin(), out.end(), [](const ScriptWarning& a, const ScriptWarning& b) {
        return a.offset < b.offset;
    });
    // Sorted, so one walk through the text finds every line.
    std::size_t counted = 0;
    int line = 1;
    for (auto& warning : out) {
        const std::size_t offset = std::min(warning.offset, original.size());
        line += static_cast<int>(std::count(original.begin() + static_cast<std::ptrdiff_t>(counted),
                                            original.begin() + static_cast<std::ptrdiff_t>(offset),
                                            '\n'));
        counted = offset;
        warning.line = line;
    }
    return out;
}

}  // namespace tv
