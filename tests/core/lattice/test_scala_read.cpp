#include "core/lattice/DisplayText.h"
#include "core/lattice/Lattice.h"
#include "core/lattice/ScalaFile.h"

#include <gtest/gtest.h>

#include <vector>

namespace tv {
namespace {

std::string fixture(const std::string& name)
{
    return std::string(TONALVANE_TEST_DATA_DIR) + "/scala/" + name;
}

// A ratio when `d` is not 0, else a size in cents.
struct Pitch {
    std::uint32_t n = 0;
    std::uint32_t d = 0;
    double cents = 0.0;
};

Pitch ratio(std::uint32_t n, std::uint32_t d) { return {n, d, 0.0}; }
Pitch cents(double c) { return {0, 0, c}; }

void expectPitches(const Lattice& lattice, const std::vector<Pitch>& expected)
{
    ASSERT_EQ(lattice.count(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const int index = static_cast<int>(i);
        const Pitch& p = expected[i];
        EXPECT_EQ(lattice.denominator(index), p.d) << "pitch " << i;
        EXPECT_EQ(lattice.name(index), "") << "pitch " << i;
        if (p.d != 0)
            EXPECT_EQ(lattice.numerator(index), p.n) << "pitch " << i;
        else
            EXPECT_NEAR(lattice.cents(index), p.cents, 1e-9) << "pitch " << i;
    }
}

// A lattice with content, to show what a failed read leaves.
Lattice oldLatticeBeforeRead()
{
    Lattice lattice;
    lattice.setTitle("Old title");
    lattice.loadDefaultScale();
    return lattice;
}

void expectUnchanged(const Lattice& lattice)
{
    EXPECT_EQ(lattice.title(), "Old title");
    EXPECT_EQ(lattice.count(), 12);
    EXPECT_EQ(lattice.name(11), "M7");
}

FileResult readText(Lattice& lattice, const std::string& text)
{
    const Scale scale = parseScala(text);
    lattice.loadScale(scale);
    return scale.result();
}

TEST(ScalaRead, CommentsAndBlankLinesStandAnywhere)
{
    Lattice lattice;
    const FileResult r = lattice.readScala(fixture("comments_crlf.scl"));
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_EQ(lattice.title(), "Comments anywhere");
    expectPitches(lattice, {ratio(9, 8), ratio(5, 4), ratio(4, 3), ratio(2, 1)});
    // Reading again replaces the pitches instead of adding to them.
    EXPECT_TRUE(lattice.readScala(fixture("comments_crlf.scl")).ok);
    EXPECT_EQ(lattice.count(), 4);
}

TEST(ScalaRead, OneDigitLinesWithLfLineEnds)
{
    Lattice lattice;
    const FileResult r = lattice.readScala(fixture("short_lines_lf.scl"));
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_EQ(lattice.title(), "One-digit lines");
    expectPitches(lattice, {ratio(5, 4), ratio(3, 2), ratio(2, 1)});
}

TEST(ScalaRead, EveryWayOfWritingAPitch)
{
    Lattice lattice;
    const FileResult r = lattice.readScala(fixture("pitch_forms.scl"));
    EXPECT_TRUE(r.ok) << r.message;
    expectPitches(lattice,
                  {cents(408.0), cents(-5.0), cents(100.0), cents(701.955), cents(2.5), ratio(2, 1),
                   ratio(2, 1), cents(76.049), cents(0.5), cents(701.955), ratio(3, 2), ratio(5, 4),
                   ratio(3, 2), ratio(4294967295u, 4294967294u), cents(12.5), ratio(7, 1)});
    // Read exactly, not through a nearby binary value of a different decimal.
    EXPECT_EQ(lattice.cents(7), 76.049);
}

TEST(ScalaRead, TermsBeyond32BitsKeepTheirExactSize)
{
    Lattice lattice;
    const FileResult r = lattice.readScala(fixture("big_terms.scl"));
    EXPECT_TRUE(r.ok) << r.message;
    expectPitches(lattice, {ratio(531441, 524288), cents(38400.0), cents(99.99359961273370828),
                            cents(1824.0371213405998196)});
}

TEST(ScalaRead, ControlCharactersLeaveTheEndOfTheDescription)
{
    Lattice lattice;
    ASSERT_TRUE(lattice.readScala(fixture("latin1_title.scl")).ok);
    // The bytes stay as the file has them; spaces are not control characters.
    EXPECT_EQ(lattice.title(), "Gamme temp\xe9r\xe9"
                               "e de d'Alembert  ");
    EXPECT_EQ(displayText(lattice.title()), "Gamme temp\xc3\xa9r\xc3\xa9\x65 de d'Alembert  ");

    ASSERT_TRUE(lattice.readScala(fixture("utf8_title.scl")).ok);
    EXPECT_EQ(lattice.title(), "Gamme temp\xc3\xa9r\xc3\xa9\x65");
    EXPECT_EQ(displayText(lattice.title()), lattice.title());
}

TEST(ScalaRead, EmptyDescriptionAndAnyFirstLine)
{
    Lattice lattice = oldLatticeBeforeRead();
    const FileResult r = lattice.readScala(fixture("empty_title_capitals.scl"));
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_EQ(lattice.title(), "");
    expectPitches(lattice, {ratio(6, 5), ratio(2, 1)});

    ASSERT_TRUE(lattice.readScala(fixture("byte_order_mark.scl")).ok);
    EXPECT_EQ(lattice.title(), "Written with a byte order mark");
    expectPitches(lattice, {ratio(11, 8)});
}

TEST(ScalaRead, CountOfZeroGivesAnEmptyTitledLattice)
{
    Lattice lattice = oldLatticeBeforeRead();
    const FileResult r = lattice.readScala(fixture("count_zero.scl"));
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_EQ(lattice.count(), 0);
    EXPECT_EQ(lattice.title(), "No pitches at all");
}

TEST(ScalaRead, FilesWithoutDescriptionAndCountAreRefusedUntouched)
{
    for (const char* name : {"no_count.scl", "comments_only.scl", "empty.scl", "count_word.scl"}) {
        Lattice lattice = oldLatticeBeforeRead();
        const FileResult r = lattice.readScala(fixture(name));
        EXPECT_FALSE(r.ok) << name;
        EXPECT_EQ(r.message, "Invalid scala file!") << name;
        expectUnchanged(lattice);
    }
    for (const char* text :
         {"Title\n12abc\n", "Title\n-3\n3/2\n", "Title\n99999999999\n", "Title\n\n12\n"}) {
        Lattice lattice = oldLatticeBeforeRead();
        EXPECT_EQ(readText(lattice, text).message, "Invalid scala file!") << text;
        expectUnchanged(lattice);
    }
    // A count line may carry white space and a comment.
    Lattice lattice;
    EXPECT_TRUE(readText(lattice, "Title\n\t2 ! two pitches\n3/2\n5/4\n").ok);
    expectPitches(lattice, {ratio(3, 2), ratio(5, 4)});
}

TEST(ScalaRead, FilesThatCannotBeOpenedLeaveTheLatticeAlone)
{
    const std::string missing = fixture("there_is_no_such_file.scl");
    Lattice lattice = oldLatticeBeforeRead();
    FileResult r = lattice.readScala(missing);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Unable to open " + missing);
    expectUnchanged(lattice);

    r = lattice.readScala(std::string(TONALVANE_TEST_DATA_DIR) + "/scala");
    EXPECT_EQ(r.message, "Unable to open " + std::string(TONALVANE_TEST_DATA_DIR) + "/scala");
    expectUnchanged(lattice);
}

TEST(ScalaRead, UnknownFormatKeepsTheEarlierPitchesAndTheNewTitle)
{
    Lattice lattice = oldLatticeBeforeRead();
    FileResult r = lattice.readScala(fixture("error_line.scl"));
    EXPECT_FALSE(r.ok);
    // The line as read, without its CR, and one line feed.
    EXPECT_EQ(r.message, "Unknown format: 3/0 zero\n");
    EXPECT_EQ(lattice.title(), "An error after two pitches");
    expectPitches(lattice, {ratio(9, 8), cents(100.0)});
    EXPECT_TRUE(lattice.autoNormalise());
    // Normalised: the cents element on the origin corner, 9/8 opposite it.
    EXPECT_EQ(lattice.plotX(0), 1000);
    EXPECT_EQ(lattice.plotY(0), 1000);
    EXPECT_EQ(lattice.plotX(1), 0);
    EXPECT_EQ(lattice.plotY(1), 0);

    r = lattice.readScala(fixture("error_last_line.scl"));
    EXPECT_EQ(r.message, "Unknown format: -3/2\n");
    expectPitches(lattice, {ratio(9, 8)});
}

TEST(ScalaRead, FileEndingBeforeItsCountKeepsWhatItRead)
{
    Lattice lattice = oldLatticeBeforeRead();
    const FileResult r = lattice.readScala(fixture("truncated.scl"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "The scale file ends after 3 of its 5 pitches.");
    EXPECT_EQ(lattice.title(), "Five announced, three given");
    expectPitches(lattice, {ratio(9, 8), ratio(5, 4), ratio(3, 2)});
    EXPECT_TRUE(lattice.autoNormalise());
    EXPECT_EQ(lattice.plotX(0), 1000);  // normalised once at the end
}

TEST(ScalaRead, LongLinesAreReadWhole)
{
    // A comment or a trailing remark of any length never spills into a further line.
    const std::string remark(2000, 'x');
    Lattice lattice;
    const FileResult r = readText(lattice, "!" + remark + "\nLong lines\n2\n!" + remark + "\n3/2 " +
                                               remark + "\n" + "701.955 " + remark + "\n");
    EXPECT_TRUE(r.ok) << r.message.substr(0, 80);
    expectPitches(lattice, {ratio(3, 2), cents(701.955)});
}

TEST(ScalaRead, MoreThanTheLatticeHoldsKeepsTheFirst65535)
{
    std::string text = "Too many\n65536\n";
    for (int i = 0; i < 65535; ++i)
        text += "3/2\n";
    text += "5/4\n";
    Lattice lattice;
    const FileResult r = readText(lattice, text);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "The scale has more than 65535 pitches; only the first 65535 were read.");
    EXPECT_EQ(lattice.count(), 65535);
    EXPECT_EQ(lattice.numerator(65534), 3u);
}

TEST(ScalaRead, StyleInForceIsKeptAndUsed)
{
    Lattice lattice;
    lattice.setStyle(1);
    ASSERT_TRUE(readText(lattice, "Circle\n3\n1/1\n3/2\n0.0\n").ok);
    EXPECT_EQ(lattice.style(), 1);
    EXPECT_TRUE(lattice.autoNormalise());
    EXPECT_EQ(lattice.plotX(0), 0);
    EXPECT_EQ(lattice.plotY(0), 499);
    EXPECT_EQ(lattice.plotX(1), 930);
    EXPECT_EQ(lattice.plotY(1), 754);
    EXPECT_EQ(lattice.plotX(2), 0);
    EXPECT_EQ(lattice.limit(1), 1);
}

TEST(ScalaPitchWords, ShapesThatAreNotPitches)
{
    for (const char* line :
         {"0/1",  "3/0", "00/5",  "0",   "-3/2", "+3/2", "-2",    "abc",   "1,5", "3/2.",
          "3//2", "/2",  "3/",    ".",   "-.",   "+",    "1.2.3", "3/2/5", "",    "   \t",
          "!",    "1e5", "1.5e3", "inf", "nan",  "0x10", "3./2",  "x3/2"}) {
        EXPECT_EQ(parseScalaPitch(line).kind, ScalaPitch::Kind::invalid) << '"' << line << '"';
    }
}

TEST(ScalaPitchWords, ShapesThatArePitches)
{
    const auto r = parseScalaPitch("  007/05 seven fifths");
    EXPECT_EQ(r.kind, ScalaPitch::Kind::ratio);
    EXPECT_EQ(r.numerator, 7u);
    EXPECT_EQ(r.denominator, 5u);
    const auto c = parseScalaPitch("-0.50\tcents");
    EXPECT_EQ(c.kind, ScalaPitch::Kind::cents);
    EXPECT_EQ(c.cents, -0.5);
    const auto whole = parseScalaPitch("4294967295");
    EXPECT_EQ(whole.kind, ScalaPitch::Kind::ratio);
    EXPECT_EQ(whole.numerator, 4294967295u);
    EXPECT_EQ(whole.denominator, 1u);
    const auto beyond = parseScalaPitch("1/4294967296");
    EXPECT_EQ(beyond.kind, ScalaPitch::Kind::cents);
    EXPECT_NEAR(beyond.cents, -38400.0, 1e-9);
    // Terms of hundreds of digits still give a size.
    const auto huge = parseScalaPitch("1" + std::string(400, '0') + "/1" + std::string(399, '0'));
    EXPECT_EQ(huge.kind, ScalaPitch::Kind::cents);
    EXPECT_NEAR(huge.cents, 3986.3137138648, 1e-6);
}

TEST(DisplayText, Utf8IsKeptAndEverythingElseIsLatin1)
{
    EXPECT_EQ(displayText("\xe9t\xe9"), "\xc3\xa9t\xc3\xa9");
    EXPECT_TRUE(isValidUtf8("\xf0\x9f\x8e\xb5"));
    // Overlong forms, surrogates, a cut sequence and values beyond U+10FFFF are not UTF-8.
    for (const char* bytes : {"\xc0\xaf", "\xed\xa0\x80", "\xe2\x82", "\xf4\x90\x80\x80"})
        EXPECT_FALSE(isValidUtf8(bytes)) << bytes;
    EXPECT_EQ(displayText("\xe2\x82"), "\xc3\xa2\xc2\x82");
}

}  // namespace
}  // namespace tv
