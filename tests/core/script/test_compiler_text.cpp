#include "ScriptTestSupport.h"
#include "core/script/ExpandedText.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::hexOf;
using test::Steps;
using test::stepsOf;

TEST(CompilerText, AUserScriptFromStartToComment)
{
    const char* text = "SET $triad = 1/1 5/4 3/2\r\n"
                       "TEMPO Q90\r\n"
                       "PLAY mf $triad q\r\n"
                       "REST e\r\n"
                       "PLAY @-1 ff 1/1 7/4 h.\r\n"
                       "REST q\r\n"
                       "/ from here on the text is ignored\r\n"
                       "PLAY 1/1\r\n";
    EXPECT_EQ(stepsOf(text), (Steps{"P 60 63 67", "D 667", "R 333", "P 48 57", "D 2000", "R 667"}));
    EXPECT_EQ(
        test::noteRecords(*compileScript(text).code),
        (std::vector<std::string>{"e0 00 40 90 3c 4f", "e1 4f 5b 91 3f 4f", "e2 50 40 92 43 4f",
                                  "e0 00 40 90 30 5f", "e1 03 56 91 39 5f"}));
}

TEST(CompilerText, SeparatorsAndLineEnds)
{
    EXPECT_EQ(hexOf("PLAY\t1/1\r\n3/2\n500\rMSEC"), hexOf("PLAY 1/1 3/2 500 MSEC"));
    EXPECT_EQ(hexOf("PLAY 1/1 q\r\nREST e\r\n"), hexOf("PLAY 1/1 q\r\nREST e"));
    EXPECT_EQ(hexOf("PLAY 1/1 q\nREST e\n"), hexOf("PLAY 1/1 q\r\nREST e\r\n"));
    // Keywords are whole words: PLAYING is none, so nothing is played.
    EXPECT_EQ(stepsOf("PLAYING 1/1"), (Steps{}));
}

TEST(CompilerText, CommentWordsEndTheScriptOnlyWhereAStatementIsExpected)
{
    EXPECT_EQ(stepsOf("REST q\r\n' comment\r\nPLAY 3/2 q"), (Steps{"R 500"}));
    EXPECT_EQ(stepsOf("PLAY 1/1 q\r\n' comment\r\nPLAY 3/2 q"),
              (Steps{"P 60", "D 500", "P 67", "D 500"}));
    EXPECT_EQ(stepsOf("PLAY 1/1 q // note\r\nPLAY 3/2 q"),
              (Steps{"P 60", "D 500", "P 67", "D 500"}));
    EXPECT_EQ(stepsOf("unknown words /comment REST q"), (Steps{}));
    // The word after REST is the current word: a comment there ends the script.
    EXPECT_EQ(stepsOf("REST /x PLAY 1/1"), (Steps{}));
}

TEST(Variables, WholeValuesAndIndexedWords)
{
    const std::string set = "SET $c = 1/1 5/4 3/2\r\n";
    EXPECT_EQ(stepsOf(set + "PLAY $c"), (Steps{"P 60 63 67", "D 1000"}));
    EXPECT_EQ(stepsOf(set + "PLAY $c[1]"), (Steps{"P 63", "D 1000"}));
    EXPECT_EQ(stepsOf(set + "PLAY $c[0] $c[2]"), (Steps{"P 60 67", "D 1000"}));
    EXPECT_EQ(stepsOf(set + "PLAY $c[3]"), (Steps{"P", "D 1000"}));
    EXPECT_EQ(stepsOf(set + "PLAY $c[-1]"), (Steps{"P", "D 1000"}));
    // The index runs to the end of the word when "]" is missing; text after "]" is dropped.
    EXPECT_EQ(stepsOf(set + "PLAY $c[1 $c[2]xyz"), (Steps{"P 63 67", "D 1000"}));
    // An index may itself be a variable, also an indexed one.
    EXPECT_EQ(stepsOf(set + "SET $i 2\r\nPLAY $c[$i]"), (Steps{"P 67", "D 1000"}));
    EXPECT_EQ(stepsOf(set + "SET $d = 9 1\r\nPLAY $c[$d[1]]"), (Steps{"P 63", "D 1000"}));
}

TEST(Variables, DefinitionsAndTheirScope)
{
    // Unknown names expand to nothing; names are compared exactly.
    EXPECT_EQ(stepsOf("PLAY $nothing 1/1"), (Steps{"P 60", "D 1000"}));
    EXPECT_EQ(stepsOf("SET $C 3/2\r\nPLAY $c 1/1"), (Steps{"P 60", "D 1000"}));
    // Known from its SET onward; a later SET replaces the value.
    EXPECT_EQ(stepsOf("PLAY $x 1/1\r\nSET $x 3/2\r\nPLAY $x\r\nset $x 5/4\r\nPLAY $x"),
              (Steps{"P 60", "D 1000", "P 67", "D 1000", "P 63", "D 1000"}));
    // Values are used as written: a "$" word inside one is not expanded again.
    EXPECT_EQ(stepsOf("SET $a 1/1\r\nSET $b $a\r\nPLAY $b 3/2"), (Steps{"P 67", "D 1000"}));
    // A value may hold whole statements; the comma separates SET's own words.
    EXPECT_EQ(stepsOf("SET $p,=,PLAY 1/1 q\r\n$p $p"), (Steps{"P 60", "D 500", "P 60", "D 500"}));
    // SET without a name or value defines nothing and produces nothing.
    EXPECT_EQ(stepsOf("PLAY 1/1 SET $x"), (Steps{"P 60", "D 1000"}));
}

TEST(Variables, EqualsTakesTheRestOfTheLine)
{
    EXPECT_EQ(expandVariables("SET $c = 1/1 3/2\r\n$c!"), " ");
    EXPECT_EQ(expandVariables("SET $c = 1/1  3/2\r\nx $c y"), "x 1/1  3/2 y ");
    // A "=" at the end of its line takes the whole next line, which is not read again.
    EXPECT_EQ(expandVariables("SET $c =\r\n1/1 3/2\r\nPLAY $c"), "PLAY 1/1 3/2 ");
    EXPECT_EQ(expandVariables("SET $c =\n1/1 3/2\nPLAY $c"), "PLAY 1/1 3/2 ");
    // Blanks after the "=" do not change that.
    EXPECT_EQ(expandVariables("SET $c = \t\r\n1/1 3/2\r\nPLAY $c"), "PLAY 1/1 3/2 ");
    // A "=" at the very end of the text defines an empty value.
    EXPECT_EQ(expandVariables("SET $c ="), "");
    EXPECT_EQ(expandVariables("SET $c = 1/1\r\n$c $c"), "1/1 1/1 ");
}

TEST(Variables, PickingWords)
{
    EXPECT_EQ(pickValueWord("1/1 5/4 3/2", 0), "1/1");
    EXPECT_EQ(pickValueWord("1/1   5/4 3/2", 1), "5/4");
    EXPECT_EQ(pickValueWord("1/1 5/4 3/2 ", 2), "3/2");
    EXPECT_EQ(pickValueWord("1/1 5/4 3/2 ", 3), "");
    EXPECT_EQ(pickValueWord("", 0), "");
    // Leading blanks of a value do not hide its words.
    EXPECT_EQ(pickValueWord("  1/1 5/4", 0), "1/1");
    // Only spaces separate the words of a value.
    EXPECT_EQ(pickValueWord("1/1\t5/4 3/2", 1), "3/2");
    // Around them, white space is trimmed as number reading skips it.
    EXPECT_EQ(pickValueWord("\v1/1 \v5/4\f \f3/2\v", 1), "5/4");
    EXPECT_EQ(pickValueWord("\v1/1 \v5/4\f \f3/2\v", 2), "3/2");
    EXPECT_EQ(stepsOf("SET $c = 1/1 \v5/4\r\nPLAY $c[1]"), (Steps{"P 63", "D 1000"}));
}

TEST(Variables, ManyUsesOfALongValueAreAllCompiled)
{
    // 2,000 uses of a 3,000-character value: all read, and the last statement still counts.
    std::string text = "SET $v =";
    for (int i = 0; i < 1000; ++i)
        text += " zz";
    text += "\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "$v ";
    text += "REST q";
    EXPECT_EQ(stepsOf(text), (Steps{"R 500"}));
}

}  // namespace
}  // namespace tv
