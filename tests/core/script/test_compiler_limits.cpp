#include "ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace tv {
namespace {

using test::Steps;
using test::steps;

std::string repeated(std::string_view piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

const std::vector<std::string> overflowOnce{std::string(memoryOverflowMessage)};

TEST(CompilerOverflow, CodeStopsAfterTheLastStatementThatFits)
{
    // Each chord is 25 bytes: 1310 of them and the end byte fit in 32,768 bytes.
    const CompileResult result = compileScript(repeated("PLAY 1/1 3/2 q\r\n", 2000));
    EXPECT_EQ(result.messages, overflowOnce);
    EXPECT_EQ(result.code->size(), 1310u * 25 + 1);
    const Steps s = steps(*result.code);  // also checks every step and count
    EXPECT_EQ(s.size(), 2u * 1310);
}

TEST(CompilerOverflow, ExactFitIsNoOverflow)
{
    // 6552 rests of 5 bytes, an empty chord of 7 and the end byte: exactly 32,768 bytes.
    const std::string fits = repeated("REST q ", 6552) + "PLAY q ";
    const CompileResult exact = compileScript(fits);
    EXPECT_TRUE(exact.messages.empty());
    EXPECT_EQ(exact.code->size(), scriptWorkAreaSize);

    const CompileResult over = compileScript(fits + "REST q");
    EXPECT_EQ(over.messages, overflowOnce);
    EXPECT_EQ(over.code->size(), scriptWorkAreaSize);
    EXPECT_EQ(over.code->bytes().back(), 0);
}

TEST(CompilerOverflow, AChordThatDoesNotFitIsLeftOutWholeAndCompilingStops)
{
    // After 1310 two-note chords (32,750 bytes) a three-note chord (34 bytes) cannot fit,
    // although its first note would; a rest after it would fit but is not compiled.
    const CompileResult result =
        compileScript(repeated("PLAY 1/1 3/2 q\r\n", 1310) + "PLAY 1/1 3/2 5/4 q\r\nREST q");
    EXPECT_EQ(result.messages, overflowOnce);
    EXPECT_EQ(result.code->size(), 32751u);
    const Steps s = steps(*result.code);
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(s.back(), "D 500");
}

TEST(CompilerOverflow, ProgramStepsCountTowardTheWorkArea)
{
    const CompileResult result = compileScript("PLAY" + repeated(" *1", 11000) + " 1/1");
    EXPECT_EQ(result.messages, overflowOnce);
    EXPECT_EQ(result.code->hex(), "00");
}

TEST(CompilerText, TextsOf64KAndMoreAreCompiledWhole)
{
    const std::string text = repeated("x ", 40000) + "REST q";
    ASSERT_GE(text.size(), 65536u);
    EXPECT_EQ(test::stepsOf(text), (Steps{"R 500"}));
}

class FakeSlots : public ScriptSlots {
public:
    std::string scriptText(int slot) const override
    {
        const auto it = texts.find(slot);
        return it == texts.end() ? std::string() : it->second;
    }
    void replaceCode(int slot, std::shared_ptr<const CompiledScript> code) override
    {
        codes[slot] = std::move(code);
        ++replacements;
    }

    std::map<int, std::string> texts;
    std::map<int, std::shared_ptr<const CompiledScript>> codes;
    int replacements = 0;
};

TEST(CompilerSlots, CompileReplacesTheSlotsCodeAndKeepsItsText)
{
    FakeSlots slots;
    slots.texts[11] = "REST 2 SEC";
    const auto old = std::make_shared<const CompiledScript>();
    slots.codes[11] = old;

    ScriptCompiler compiler;
    EXPECT_TRUE(compiler.compile(slots, 11).messages.empty());
    EXPECT_EQ(slots.texts[11], "REST 2 SEC");
    ASSERT_TRUE(slots.codes[11]);
    EXPECT_EQ(slots.codes[11]->hex(), "52 00 00 07 d0 00");
    EXPECT_EQ(slots.replacements, 1);
    // Whoever still holds the old code (a running player) keeps it intact.
    EXPECT_EQ(old->hex(), "00");

    // A slot without text still gets code, and the overflow message comes back to show.
    EXPECT_TRUE(compiler.compile(slots, 5).messages.empty());
    EXPECT_EQ(slots.codes[5]->hex(), "00");
    slots.texts[6] = repeated("REST q ", 7000);
    EXPECT_EQ(compiler.compile(slots, 6).messages, overflowOnce);
    EXPECT_EQ(slots.codes[6]->size(), 6553u * 5 + 1);
}

TEST(CompilerSlots, ACompilerStartsEveryCompileFromTheInitialSettings)
{
    ScriptCompiler compiler;
    compiler.compile("TEMPO Q60 BASE 50 PLAY @1 pp 1/1 q");
    EXPECT_EQ(compiler.compile("PLAY 1/1 q").code->hex(), test::hexOf("PLAY 1/1 q"));
}

}  // namespace
}  // namespace tv
