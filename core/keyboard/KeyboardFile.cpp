#include "core/keyboard/KeyboardFile.h"

#include "core/pitch/FileText.h"
#include "core/script/ScriptStepReader.h"

#include <filesystem>
#include <iterator>
#include <vector>

namespace tv {
namespace {

constexpr char slotMark = '#';
constexpr char codeMark = '~';
// Stands for the end byte and one more zero byte; readers keep both.
constexpr std::string_view codeClosing = "0000";
constexpr std::string_view lineEnd = "\r\n";

std::string openFailed(const std::string& path, const char* purpose)
{
    return "Unable to open " + path + " for " + purpose;
}

// A text line that a reader would take for a slot or code line once its guard space is
// gone: spaces, then "#" or "~".
bool looksLikeMark(std::string_view line)
{
    const auto first = line.find_first_not_of(' ');
    return first != std::string_view::npos && (line[first] == slotMark || line[first] == codeMark);
}

void appendText(std::string& out, std::string_view text)
{
    for (;;) {
        const auto lf = text.find('\n');
        const auto line = text.substr(0, lf);
        if (looksLikeMark(line))
            out += ' ';
        out += line;
        // Readers take up to two CRs before the LF for the line end. A line followed by LF
        // keeps its own CR of a CR LF break in those two; the last line has none, so one that
        // ends in CR gets one more, or the reader would take the text's CR away.
        if (lf == std::string_view::npos && !line.empty() && line.back() == '\r')
            out += '\r';
        // The LF of the text, with its added CR; and after the last line, the line end.
        out += lineEnd;
        if (lf == std::string_view::npos)
            return;
        text.remove_prefix(lf + 1);
    }
}

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The number after "#": white space, a sign and digits up to the first other character, 0
// without digits; -1 for a number that names no slot, however long.
int slotNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value >= keySlotCount)
            return -1;
    }
    return negative && value != 0 ? -1 : value;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Pairs of hex digits up to the first pair that is not two of them; null when there is none.
std::shared_ptr<const CompiledScript> decodeCode(std::string_view digits)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(digits.size() / 2);
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        const int high = hexValue(digits[i]);
        const int low = hexValue(digits[i + 1]);
        if (high < 0 || low < 0)
            break;
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    if (bytes.empty())
        return nullptr;
    return std::make_shared<const CompiledScript>(std::move(bytes));
}

// Reads records line by line into the slots.
class KeyboardReader {
public:
    explicit KeyboardReader(KeySlots& slots) : slots_(slots) {}

    void line(std::string_view line)
    {
        if (!line.empty() && line.front() == slotMark) {
            finishText();
            current_ = slotNumber(line.substr(1));
        } else if (!line.empty() && line.front() == codeMark) {
            if (KeySlot* slot = slots_.slotAt(current_))
                slot->code = decodeCode(line.substr(1));
        } else if (current_ >= 0) {
            if (hasText_)
                text_ += lineEnd;
            if (looksLikeMark(line))
                line.remove_prefix(1);
            text_ += line;
            hasText_ = true;
        }
    }

    void finishText()
    {
        if (hasText_) {
            if (KeySlot* slot = slots_.slotAt(current_))
                slot->scriptText = text_;
        }
        text_.clear();
        hasText_ = false;
    }

private:
    KeySlots& slots_;
    int current_ = -1;
    std::string text_;
    bool hasText_ = false;
};

}  // namespace

std::string keyboardCodeDigits(const CompiledScript& code)
{
    static constexpr char hexDigits[] = "0123456789abcdef";
    const auto bytes = code.bytes();
    // Two digits a byte at most; the bytes after the end byte are not written.
    std::string digits(bytes.size() * 2, '\0');
    std::size_t used = 0;
    ScriptStepReader reader(code);
    for (;;) {
        const ScriptStep step = reader.next();
        // No reader plays a step that the code cuts short, and the closing zeros after it
        // would complete it into one that plays: it is left out.
        if (step.kind == ScriptStep::Kind::End || step.kind == ScriptStep::Kind::Truncated)
            break;
        // Steps no reader knows go out byte by byte, and the walk goes on after them.
        for (const std::uint8_t byte : bytes.subspan(step.offset, step.size)) {
            digits[used++] = hexDigits[byte >> 4];
            digits[used++] = hexDigits[byte & 15];
        }
    }
    digits.resize(used);
    return digits;
}

std::string keyboardFileText(const KeySlots& slots)
{
    std::string out;
    for (int index = 0; index < keySlotCount; ++index) {
        const KeySlot& slot = *slots.slotAt(index);
        if (!slot.scriptText)
            continue;
        out += slotMark;
        out += std::to_string(index);
        out += lineEnd;
        appendText(out, *slot.scriptText);
        out += codeMark;
        if (slot.code)
            out += keyboardCodeDigits(*slot.code);
        out += codeClosing;
        out += lineEnd;
    }
    return out;
}

FileResult writeKeyboardFile(const KeySlots& slots, const std::string& path,
                             const FileChunkWriter& writer)
{
    if (writeFileAtomically(path, keyboardFileText(slots), writer) != AtomicWriteStatus::ok)
        return {false, openFailed(path, "writing")};
    return {};
}

namespace {

FileResult readKeyboard(KeySlots& slots, const std::string& path, bool needsRecord)
{
    std::string text;
    switch (readFileText(path, maxTextFileBytes, text)) {
    case FileTextStatus::ok: break;
    case FileTextStatus::tooLarge:
        return {false, openFailed(path, "reading") + ": it is larger than " +
                           sizeLimitText(maxTextFileBytes)};
    case FileTextStatus::unableToOpen:
    case FileTextStatus::unableToRead: return {false, openFailed(path, "reading")};
    }
    if (needsRecord && !holdsKeyboardRecord(text))
        return {false, std::filesystem::path(path).filename().string() + " is not a keyboard file"};
    readKeyboardText(slots, text);
    return {};
}

}  // namespace

FileResult readKeyboardFile(KeySlots& slots, const std::string& path)
{
    return readKeyboard(slots, path, false);
}

FileResult openKeyboardFile(KeySlots& slots, const std::string& path)
{
    return readKeyboard(slots, path, true);
}

bool holdsKeyboardRecord(std::string_view text)
{
    if (text.empty())
        return true;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == slotMark && (at == 0 || text[at - 1] == '\n'))
            return true;
    }
    return false;
}

void readKeyboardStream(KeySlots& slots, std::istream& in)
{
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    readKeyboardText(slots, text);
}

void readKeyboardText(KeySlots& slots, std::string_view text)
{
    KeyboardReader reader(slots);
    while (!text.empty()) {
        const auto lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
        // The line end is LF, CR LF or CR CR LF: two CRs at most belong to it.
        for (int i = 0; i < 2 && !line.empty() && line.back() == '\r'; ++i)
            line.remove_suffix(1);
        reader.line(line);
    }
    reader.finishText();
}

}  // namespace tv
