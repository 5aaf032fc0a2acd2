#include "core/lattice/ScalaFile.h"

#include "core/pitch/AtomicFile.h"
#include "core/pitch/FileText.h"
#include "core/pitch/LineWords.h"
#include "core/pitch/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <system_error>

namespace tv {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isComment(std::string_view line) { return !line.empty() && line.front() == '!'; }

bool isBlankLine(std::string_view line)
{
    for (const char c : line) {
        if (!isBlank(c))
            return false;
    }
    return true;
}

bool allDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (const char c : text) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

// A whole number of any length, as digits without their leading zeros ("" for zero).
std::string_view significantDigits(std::string_view digits)
{
    while (!digits.empty() && digits.front() == '0')
        digits.remove_prefix(1);
    return digits;
}

bool fitsIn32Bits(std::string_view significant)
{
    if (significant.size() > 10)
        return false;
    std::uint64_t value = 0;
    std::from_chars(significant.data(), significant.data() + significant.size(), value);
    return value <= std::numeric_limits<std::uint32_t>::max();
}

std::uint32_t value32(std::string_view significant)
{
    std::uint32_t value = 0;
    std::from_chars(significant.data(), significant.data() + significant.size(), value);
    return value;
}

// log10 of a positive whole number of any length. Nineteen leading digits fit a long
// double's mantissa exactly; the digits after them change the result by less than 1e-18.
long double log10Of(std::string_view significant)
{
    const std::size_t kept = std::min<std::size_t>(significant.size(), 19);
    std::uint64_t leading = 0;
    std::from_chars(significant.data(), significant.data() + kept, leading);
    return std::log10(static_cast<long double>(leading)) +
           static_cast<long double>(significant.size() - kept);
}

ScalaPitch ratioPitch(std::string_view numeratorDigits, std::string_view denominatorDigits)
{
    ScalaPitch pitch;
    const auto n = significantDigits(numeratorDigits);
    const auto d = significantDigits(denominatorDigits);
    if (n.empty() || d.empty())
        return pitch;
    if (fitsIn32Bits(n) && fitsIn32Bits(d)) {
        pitch.kind = ScalaPitch::Kind::ratio;
        pitch.numerator = value32(n);
        pitch.denominator = value32(d);
        return pitch;
    }
    // Too large for the element's terms: keep the exact size instead of cutting the terms.
    const long double cents = (log10Of(n) - log10Of(d)) * 1200.0L / std::log10(2.0L);
    pitch.kind = ScalaPitch::Kind::cents;
    pitch.cents = static_cast<double>(cents);
    return pitch;
}

// [+-] digits "." digits, with at least one digit on either side of the period.
ScalaPitch centsPitch(std::string_view word)
{
    ScalaPitch pitch;
    std::string_view number = word;
    if (!number.empty() && (number.front() == '+' || number.front() == '-'))
        number.remove_prefix(1);
    const auto point = number.find('.');
    const auto whole = number.substr(0, point);
    const auto fraction = number.substr(point + 1);
    const bool wholeOk = whole.empty() || allDigits(whole);
    const bool fractionOk = fraction.empty() || allDigits(fraction);
    if (!wholeOk || !fractionOk || (whole.empty() && fraction.empty()))
        return pitch;
    if (word.front() == '+')
        word.remove_prefix(1);
    double value = 0.0;
    const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
    if (result.ec != std::errc() || result.ptr != word.data() + word.size())
        return pitch;
    pitch.kind = ScalaPitch::Kind::cents;
    pitch.cents = value;
    return pitch;
}

// Lines of a file's text with their LF or CR LF removed, numbered from 1. A UTF-8 byte order
// mark before the first line is dropped, so an editor's signature does not turn the first
// comment into text.
class LineReader {
public:
    explicit LineReader(std::string_view text) : rest_(text)
    {
        if (rest_.starts_with("\xEF\xBB\xBF"))
            rest_.remove_prefix(3);
    }

    bool next()
    {
        // Text after the last line feed is one more line; nothing after it is none.
        if (rest_.empty())
            return false;
        const auto end = rest_.find('\n');
        line_ = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        if (!line_.empty() && line_.back() == '\r')
            line_.remove_suffix(1);
        ++number_;
        return true;
    }

    // The next line that is not a comment.
    bool nextContent()
    {
        while (next()) {
            if (!isComment(line_))
                return true;
        }
        return false;
    }

    std::string_view line() const { return line_; }
    std::uint32_t number() const { return number_; }

private:
    std::string_view rest_;
    std::string_view line_;
    std::uint32_t number_ = 0;
};

bool parseCount(std::string_view line, std::uint32_t& count)
{
    const auto word = firstWord(line);
    if (!allDigits(word))
        return false;
    const auto significant = significantDigits(word);
    if (!fitsIn32Bits(significant))
        return false;
    count = value32(significant);
    return true;
}

std::string stripTrailingControls(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.back()) < 32)
        text.remove_suffix(1);
    return std::string(text);
}

// The title as the description line. A title read from a file never holds a line feed nor
// starts with "!", and is written byte for byte; one typed in could, and would then not read
// back as the description: a line feed becomes a space and a leading "!" gets a space before it.
std::string descriptionLine(const std::string& title)
{
    std::string line = title;
    for (char& c : line) {
        if (c == '\n')
            c = ' ';
    }
    if (!line.empty() && line.front() == '!')
        line.insert(line.begin(), ' ');
    return line;
}

void appendUnsigned(std::string& out, std::uint64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

std::string unsignedText(std::uint64_t value)
{
    std::string text;
    appendUnsigned(text, value);
    return text;
}

}  // namespace

ScalaPitch parseScalaPitch(std::string_view line)
{
    const auto word = firstWord(line);
    if (word.empty())
        return {};
    if (word.find('.') != std::string_view::npos)
        return centsPitch(word);
    const auto slash = word.find('/');
    if (slash != std::string_view::npos) {
        const auto n = word.substr(0, slash);
        const auto d = word.substr(slash + 1);
        if (!allDigits(n) || !allDigits(d))
            return {};
        return ratioPitch(n, d);
    }
    if (!allDigits(word))
        return {};
    return ratioPitch(word, "1");
}

Scale parseScala(std::string_view text)
{
    Scale scale;
    const auto fail = [&scale](Scale::Outcome outcome, std::string message,
                               std::uint32_t line) -> Scale {
        scale.outcome = outcome;
        scale.message = std::move(message);
        scale.line = line;
        return std::move(scale);
    };
    LineReader reader(text);
    // Description and count come first; without both the scale holds nothing.
    if (!reader.nextContent())
        return fail(Scale::Outcome::invalid, std::string(scalaInvalidText), 0);
    std::string title = stripTrailingControls(reader.line());
    if (!reader.nextContent())
        return fail(Scale::Outcome::invalid, std::string(scalaInvalidText), 0);
    std::uint32_t count = 0;
    if (!parseCount(reader.line(), count))
        return fail(Scale::Outcome::invalid, std::string(scalaInvalidText), reader.number());

    scale.title = std::move(title);
    scale.pitches.reserve(std::min<std::uint32_t>(count, Scale::maxPitches));
    while (scale.pitches.size() < count) {
        if (!reader.nextContent()) {
            return fail(Scale::Outcome::endsEarly,
                        "The scale file ends after " + unsignedText(scale.pitches.size()) +
                            " of its " + unsignedText(count) + " pitches.",
                        0);
        }
        const auto line = reader.line();
        if (isBlankLine(line))
            continue;
        const ScalaPitch pitch = parseScalaPitch(line);
        if (pitch.kind == ScalaPitch::Kind::invalid) {
            std::string message(scalaUnknownFormatText);
            message.append(line.substr(0, scalaMaxQuotedBytes));
            if (line.size() > scalaMaxQuotedBytes)
                message += "...";
            message += '\n';
            return fail(Scale::Outcome::unknownFormat, std::move(message), reader.number());
        }
        if (scale.pitches.size() == Scale::maxPitches) {
            return fail(Scale::Outcome::tooManyPitches,
                        "The scale has more than " + unsignedText(Scale::maxPitches) +
                            " pitches; only the first " + unsignedText(Scale::maxPitches) +
                            " were read.",
                        reader.number());
        }
        scale.pitches.push_back(pitch);
    }
    return scale;
}

Scale parseScala(std::istream& in)
{
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return parseScala(text);
}

Scale parseScalaFile(const std::string& path)
{
    Scale refused;
    refused.outcome = Scale::Outcome::unableToOpen;
    std::string text;
    switch (readFileText(path, scalaMaxFileBytes, text)) {
    case FileTextStatus::ok: return parseScala(text);
    case FileTextStatus::tooLarge:
        refused.message = path + std::string(scalaTooLargeText);
        return refused;
    case FileTextStatus::unableToOpen:
    case FileTextStatus::unableToRead: break;
    }
    refused.message = std::string(scalaOpenFailedText) + path;
    return refused;
}

std::string scalaFileText(const Scale& scale, const std::string& path)
{
    const auto separator = path.find_last_of("/\\");
    const std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
    std::string text = "!" + name + "\r\n!\r\n" + descriptionLine(scale.title) + "\r\n";
    const std::string count = unsignedText(scale.pitches.size());
    if (count.size() < 3)
        text.append(3 - count.size(), ' ');
    text += count + "\r\n!\r\n";
    for (const ScalaPitch& e : scale.pitches) {
        if (e.kind == ScalaPitch::Kind::ratio) {
            text += ' ';
            appendUnsigned(text, e.numerator);
            text += '/';
            appendUnsigned(text, e.denominator);
            text += "\r\n";
        } else {
            text += formatFixed(e.cents, 6) + " cents\r\n";
        }
    }
    return text;
}

FileResult writeScalaFile(const Scale& scale, const std::string& path,
                          const ScalaChunkWriter& writer)
{
    int error = 0;
    const auto status = writeFileAtomically(path, scalaFileText(scale, path), writer, &error);
    if (status == AtomicWriteStatus::ok)
        return {};
    std::string message = status == AtomicWriteStatus::openFailed
                              ? std::string(scalaOpenFailedText) + path
                              : "Unable to write " + path;
    if (error != 0)
        message += ": " + std::generic_category().message(error);
    return {false, std::move(message)};
}

}  // namespace tv
