#include "core/lattice/Lattice.h"
#include "core/lattice/ScalaFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tv {
namespace {

using Outcome = Scale::Outcome;

// A pitch as "N/D" or cents with three decimals, to compare whole lists at once.
std::string pitchText(const ScalaPitch& p)
{
    switch (p.kind) {
    case ScalaPitch::Kind::ratio:
        return std::to_string(p.numerator) + "/" + std::to_string(p.denominator);
    case ScalaPitch::Kind::cents: return std::to_string(static_cast<int>(p.cents * 1000)) + "c";
    case ScalaPitch::Kind::invalid: break;
    }
    return "invalid";
}

std::vector<std::string> pitchTexts(const Scale& scale)
{
    std::vector<std::string> texts;
    for (const auto& p : scale.pitches)
        texts.push_back(pitchText(p));
    return texts;
}

struct ParseCase {
    const char* what;
    std::string text;
    Outcome outcome;
    std::string message;
    std::uint32_t line;
    std::string title;
    std::vector<std::string> pitches;
};

TEST(ScalaParse, TitlePitchesAndTheLineOfAFailure)
{
    const std::vector<ParseCase> cases{
        {"comments, blank lines and every pitch form",
         "! x.scl\n!\nTitle \r\n 4\n!\n9/8\n\n"
         " 100.0 cents\n2\n701.955\n",
         Outcome::ok,
         "",
         0,
         "Title ",
         {"9/8", "100000c", "2/1", "701955c"}},
        {"byte order mark, CR LF, no final line end, lines after the count",
         "\xEF\xBB\xBF!x\r\nT\r\n1\r\n 3/2 \r\nnot read",
         Outcome::ok,
         "",
         0,
         "T",
         {"3/2"}},
        {"unknown format counts comments and blank lines",
         "!a\nT\n3\n3/2\n!c\n\nxyz\n5/4\n",
         Outcome::unknownFormat,
         "Unknown format:xyz\n",
         7,
         "T",
         {"3/2"}},
        {"unknown format drops the CR",
         "T\r\n2\r\n3/2\r\n3/0 zero\r\n",
         Outcome::unknownFormat,
         "Unknown format:3/0 zero\n",
         4,
         "T",
         {"3/2"}},
        {"unknown format on the first pitch",
         "T\n1\n-1\n",
         Outcome::unknownFormat,
         "Unknown format:-1\n",
         3,
         "T",
         {}},
        {"ends early",
         "T\n3\n3/2\n\n! c\n",
         Outcome::endsEarly,
         "The scale file ends after 1 of its 3 pitches.",
         0,
         "T",
         {"3/2"}},
        {"count of zero", "T\n0\n3/2\n", Outcome::ok, "", 0, "T", {}},
        {"count that is a word",
         "T\n!c\nabc\n",
         Outcome::invalid,
         "Invalid scala file!",
         3,
         "",
         {}},
        {"no count", "! only\nT\n", Outcome::invalid, "Invalid scala file!", 0, "", {}},
        {"nothing", "", Outcome::invalid, "Invalid scala file!", 0, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Scale scale = parseScala(c.text);
        EXPECT_EQ(scale.outcome, c.outcome);
        EXPECT_EQ(scale.ok(), c.outcome == Outcome::ok);
        EXPECT_EQ(scale.hasHeader(), c.outcome != Outcome::invalid);
        EXPECT_EQ(scale.message, c.message);
        EXPECT_EQ(scale.result().message, c.message);
        EXPECT_EQ(scale.line, c.line);
        EXPECT_EQ(scale.title, c.title);
        EXPECT_EQ(pitchTexts(scale), c.pitches);
    }
}

TEST(ScalaParse, FilesThatCannotBeOpened)
{
    const std::string missing = std::string(TONALVANE_TEST_DATA_DIR) + "/scala/no_such_file.scl";
    const Scale scale = parseScalaFile(missing);
    EXPECT_EQ(scale.outcome, Outcome::unableToOpen);
    EXPECT_FALSE(scale.hasHeader());
    EXPECT_EQ(scale.message, "Unable to open " + missing);
    EXPECT_EQ(scale.line, 0u);

    const Scale read =
        parseScalaFile(std::string(TONALVANE_TEST_DATA_DIR) + "/scala/truncated.scl");
    EXPECT_EQ(read.outcome, Outcome::endsEarly);
    EXPECT_EQ(read.title, "Five announced, three given");
    EXPECT_EQ(pitchTexts(read), (std::vector<std::string>{"9/8", "5/4", "3/2"}));
}

TEST(ScalaParse, AtMostAsManyPitchesAsALatticeHolds)
{
    std::string pitches;
    for (int i = 0; i < Scale::maxPitches; ++i)
        pitches += "3/2\n";
    const Scale full = parseScala("T\n65535\n" + pitches + "bad\n");
    EXPECT_EQ(full.outcome, Outcome::ok);
    EXPECT_EQ(full.pitches.size(), 65535u);

    // The pitch that does not fit is on line 2 + 65535 + 1; a bad line there would win.
    const Scale cut = parseScala("T\n65536\n" + pitches + "5/4\n");
    EXPECT_EQ(cut.outcome, Outcome::tooManyPitches);
    EXPECT_EQ(cut.message,
              "The scale has more than 65535 pitches; only the first 65535 were read.");
    EXPECT_EQ(cut.line, 65538u);
    EXPECT_EQ(cut.pitches.size(), 65535u);
    EXPECT_EQ(parseScala("T\n65536\n" + pitches + "bad\n").outcome, Outcome::unknownFormat);

    // A scale made by hand beyond that fills a lattice to its limit and no further.
    Scale made = cut;
    made.pitches.push_back(made.pitches.front());
    Lattice lattice;
    lattice.loadScale(made);
    EXPECT_EQ(lattice.count(), Lattice::maxElements);
    EXPECT_TRUE(lattice.autoNormalise());
}

}  // namespace
}  // namespace tv
