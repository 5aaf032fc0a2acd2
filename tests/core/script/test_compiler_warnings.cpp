#include "ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <utility>

namespace tv {
namespace {

using Kind = WarningKind;
using Placed = std::vector<std::pair<int, Kind>>;  // line and kind of each warning

Placed warningsOf(std::string_view text)
{
    Placed out;
    for (const auto& warning : compileScript(text, CompileWarnings::Collect).warnings)
        out.emplace_back(warning.line, warning.kind);
    return out;
}

struct Case {
    const char* text;
    Placed warnings;
};

// Scripts with and without faults; also the set whose code must not depend on warnings.
const Case cases[] = {
    // Clean scripts, also with the list's "(quarter)" notes and lengths at the very end.
    {"SET $triad = 1/1 5/4 3/2\r\nTEMPO Q90\r\nPLAY mf $triad q\r\nREST e\r\n"
     "PLAY @-1 ff 1/1 7/4 h.\r\nREST q\r\n/ from here on the text is ignored\r\nPLAY xyz\r\n",
     {}},
    {"PLAY 1/1 q (quarter)\nREST 2 sec\nBASE D PLAY *5 1/1 !50% %0.5 50c\nSLEEP xyz\nREST", {}},
    // Statement level: only the words the loop reads itself.
    {"REST q\r\nhello\r\nREST 2 sec world", {{2, Kind::NotAStatement}, {3, Kind::NotAStatement}}},
    {"REST 2 foo", {{1, Kind::NoUnit}, {1, Kind::NotAStatement}}},
    {"SLEEP abc\nSLEEP e2x\nREST SLEEP q",
     {{1, Kind::NotALength}, {2, Kind::BadTuplet}, {3, Kind::KeywordAsLength}}},
    // Inside PLAY.
    {"PLAY 1/1\nzyx -5 q // note",
     {{2, Kind::UnknownInPlay},
      {2, Kind::UnknownInPlay},
      {2, Kind::CommentInPlay},
      {2, Kind::UnknownInPlay}}},
    {"PLAY o (one hundred twenty-eigth)",
     {{1, Kind::ReadInParentheses}, {1, Kind::ReadInParentheses}}},
    {"PLAY 0/1 1/0\n1/1,3/2 e2x",
     {{1, Kind::NoPitch}, {1, Kind::NoPitch}, {2, Kind::TextAfterRatio}, {2, Kind::BadTuplet}}},
    {"PLAY 1/1 2 3/2\nPLAY 1/1 2 SLEEP 1",
     {{1, Kind::NoUnitInPlay}, {2, Kind::KeywordAsUnit}, {2, Kind::NoUnitAtEnd}}},
    {"PLAY 51/1 48/1\nBASE 0 PLAY -100c 0c",
     {{1, Kind::NoteOutOfRange}, {2, Kind::NoteOutOfRange}}},
    {"PLAY 1/1 1/1 1/1 1/1 1/1 1/1 1/1 1/1 1/1 1/1 1/1 1/1 1/1 1/1 1/1 1/1\n*9 5c",
     {{2, Kind::NoProgramChannel}, {2, Kind::ChordFull}}},
    // Settings.
    {"PLAY !200 !128 !127\n!101% !100% % 1.5 !1.0 %-1",
     {{1, Kind::OutOfRange},
      {1, Kind::OutOfRange},
      {2, Kind::OutOfRange},
      {2, Kind::OutOfRange},
      {2, Kind::OutOfRange}}},
    {"PLAY *128 *127\n* 300 *-1 *0",
     {{1, Kind::ProgramOutOfRange}, {2, Kind::ProgramOutOfRange}, {2, Kind::ProgramOutOfRange}}},
    {"PLAY !abc @x 1/1\n*", {{1, Kind::NotANumber}, {1, Kind::NotANumber}, {2, Kind::NoValue}}},
    // BASE and TEMPO.
    {"BASE X\nBASE Hz\nBASE PLAY\nBASE",
     {{1, Kind::UnknownNoteName}, {2, Kind::BaseInHertz}, {3, Kind::NoValue}, {4, Kind::NoValue}}},
    {"TEMPO 90\nTEMPO Q\nTEMPO Q0\nTEMPO REST\nTEMPO Qfast",
     {{1, Kind::NoBeatLetter},
      {2, Kind::NoBeatsPerMinute},
      {3, Kind::UnusableTempo},
      {4, Kind::NoValue},
      {5, Kind::KeywordAsLength},
      {5, Kind::UnusableTempo}}},
    // SET and "$": a word from a value has the line of its "$" word.
    {"SET $c = 1/1 zz\r\n\r\nPLAY $c q\r\nPLAY $d $c[5]\r\nSET $e",
     {{3, Kind::UnknownInPlay},
      {4, Kind::Undefined},
      {4, Kind::NoSuchWord},
      {5, Kind::SetWithoutValue}}},
    // An undefined index reads as 0.
    {"SET $c =\r\nzz 1/1\r\nPLAY\r\n$c[0] $c[$i]\r\nSET",
     {{4, Kind::UnknownInPlay},
      {4, Kind::Undefined},
      {4, Kind::UnknownInPlay},
      {5, Kind::SetWithoutName}}},
};

TEST(CompilerWarnings, EachWithItsLine)
{
    int tested = 0;
    for (const auto& c : cases) {
        EXPECT_EQ(warningsOf(c.text), c.warnings) << c.text;
        ++tested;
    }
    EXPECT_GE(tested, 15);
}

TEST(CompilerWarnings, WarningsNeverChangeTheCode)
{
    int tested = 0;
    for (const auto& c : cases) {
        const CompileResult silent = compileScript(c.text);
        const CompileResult warned = compileScript(c.text, CompileWarnings::Collect);
        EXPECT_EQ(*silent.code, *warned.code) << c.text;
        EXPECT_EQ(silent.messages, warned.messages) << c.text;
        EXPECT_TRUE(silent.warnings.empty());
        ++tested;
    }
    EXPECT_GE(tested, 15);
}

TEST(CompilerWarnings, OffsetAndTextPointAtTheWord)
{
    const std::string text = "SET $v = 2/1 zzz\r\nREST q\r\n  PLAY 3/2 $v 2 xx";
    const auto warnings = compileScript(text, CompileWarnings::Collect).warnings;
    ASSERT_EQ(warnings.size(), 2u);
    // "zzz" comes from $v: it is placed at the "$".
    EXPECT_EQ(warnings[0].offset, text.find("$v 2"));
    EXPECT_EQ(warnings[0].line, 3);
    EXPECT_EQ(warnings[0].text,
              "\"zzz\" is not a pitch, length, dynamic or setting and is ignored");
    EXPECT_EQ(warnings[1].offset, text.find("2 xx"));
    EXPECT_EQ(warnings[1].text,
              "\"2\" has no unit (s or ms): it is dropped and \"xx\" is passed over");
    // Words split at a comma keep their own places.
    const std::string comma = "BASE 62,Zz";
    const auto base = compileScript(comma, CompileWarnings::Collect).warnings;
    ASSERT_EQ(base.size(), 1u);
    EXPECT_EQ(base[0].offset, 8u);
    EXPECT_EQ(base[0].text, "\"Zz\" is not a statement and is passed over");
}

TEST(CompilerWarnings, SlotCompilesCollectWhenAsked)
{
    struct OneSlot : ScriptSlots {
        std::string scriptText(int) const override { return "PLAY zz"; }
        void replaceCode(int, std::shared_ptr<const CompiledScript> replaced) override
        {
            code = std::move(replaced);
        }
        std::shared_ptr<const CompiledScript> code;
    } slot;
    const CompileResult result = ScriptCompiler(CompileWarnings::Collect).compile(slot, 0);
    EXPECT_EQ(result.code, slot.code);
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0].kind, Kind::UnknownInPlay);
}

}  // namespace
}  // namespace tv
