#include "KeyboardFileTestSupport.h"

#include "core/keyboard/KeyboardFile.h"
#include "core/script/ScriptCompiler.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tv {
namespace {

using test::code;
using test::describe;
using test::visible;

KeySlots read(const std::string& file)
{
    KeySlots slots;
    std::istringstream in(file);
    readKeyboardStream(slots, in);
    return slots;
}

TEST(KeyboardFileWrite, RecordsByteForByte)
{
    struct Case {
        const char* what;
        std::vector<std::pair<int, KeySlot>> slots;
        std::string file;
    };
    const Case cases[] = {
        {"no scripts", {}, ""},
        {"the A key",
         {{11, {"x\r\ny", code({0x52, 0, 0, 1, 0xf4, 0})}}},
         "#11\r\nx\r\r\ny\r\n~52000001f40000\r\n"},
        {"empty text, no code", {{0, {"", nullptr}}}, "#0\r\n\r\n~0000\r\n"},
        {"code without text is left out", {{7, {std::nullopt, code({0})}}}, ""},
        {"slot order",
         {{58, {"b", code({0})}}, {1, {"a", nullptr}}},
         "#1\r\na\r\n~0000\r\n#58\r\nb\r\n~0000\r\n"},
        {"lines that look like marks get a space",
         {{5, {"#x\r\n  ~y\r\n\t#z\r\n a#", nullptr}}},
         "#5\r\n #x\r\r\n   ~y\r\r\n\t#z\r\r\n a#\r\n~0000\r\n"},
        {"a text ending in a line break", {{9, {"a\r\n", nullptr}}}, "#9\r\na\r\r\n\r\n~0000\r\n"},
    };
    for (const auto& c : cases) {
        KeySlots slots;
        for (const auto& [index, slot] : c.slots)
            *slots.slotAt(index) = slot;
        EXPECT_EQ(visible(keyboardFileText(slots)), visible(c.file)) << c.what;
    }
}

TEST(KeyboardFileWrite, CodeIsDumpedStepByStepUpToTheEndByte)
{
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        const char* digits;
    };
    const Case cases[] = {
        {"zeros inside a rest are operands", {0x52, 0, 0, 0, 0, 0, 0x52}, "5200000000"},
        {"a chord and its note-offs",
         {0x50, 0x01, 0xe0, 0x00, 0x40, 0x90, 0x3c, 0x60, 0x44, 0, 0, 3, 0xe8, 0x80, 0x3c, 0x00,
          0x00, 0x52},
         "5001e00040903c6044000003e8803c00"},
        {"a program step has two operands", {0x2a, 0, 0, 0, 0x52}, "2a0000"},
        {"unknown bytes go out one by one", {0x41, 0x52, 0, 0, 0, 1, 0, 7}, "415200000001"},
        // No reader plays a step cut short, and the closing zeros would complete it.
        {"a step cut short is left out", {0x41, 0x52, 0, 1}, "41"},
        {"code without end byte", {0x52, 0, 0, 0, 1}, "5200000001"},
        {"the empty script", {0}, ""},
        {"no bytes at all", {}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keyboardCodeDigits(CompiledScript(c.bytes)), c.digits) << c.what;

    // A whole compiled script, its chord-on counting two notes.
    const auto compiled = compileScript("PLAY 1/1 3/2 500 MSEC").code;
    EXPECT_EQ(keyboardCodeDigits(*compiled), "5002e00040903c60e150409143604400"
                                             "0001f4803c00814300");
}

TEST(KeyboardFileRead, TheRulesOfTheReader)
{
    struct Case {
        const char* what;
        std::string file;
        const char* slots;
    };
    const Case cases[] = {
        {"the A key", "#11\r\nx\r\r\ny\r\n~52000001f40000\r\n",
         "#11 'x\\r\\ny' 52 00 00 01 f4 00 00\n"},
        {"LF line ends", "#11\nx\ny\n~52000001f40000\n", "#11 'x\\r\\ny' 52 00 00 01 f4 00 00\n"},
        {"CR CR LF after every line", "#3\r\na\r\r\nb\r\r\n~0000\r\r\n", "#3 'a\\r\\nb' 00 00\n"},
        {"a third CR belongs to the text", "#3\r\na\r\r\r\nb\r\n", "#3 'a\\r\\r\\nb' -\n"},
        {"the last line without its line end", "#3\r\nab", "#3 'ab' -\n"},
        {"one empty line is the empty text", "#4\r\n\r\n~0000\r\n", "#4 '' 00 00\n"},
        {"two empty lines are one line break", "#4\r\n\r\n\r\n", "#4 '\\r\\n' -\n"},
        {"one space comes off a guarded line", "#4\r\n #a\r\n   ~b\r\n\t#c\r\n #\r\n",
         "#4 '#a\\r\\n  ~b\\r\\n\t#c\\r\\n#' -\n"},
        {"spaces alone stay", "#4\r\n  \r\n", "#4 '  ' -\n"},
        {"bytes of any value", std::string("#2\r\na\0b\xff\r\n", 9), "#2 'a\\0b\xff' -\n"},
        {"upper-case hex", "#1\r\n~52000001F4\r\n", "#1 - 52 00 00 01 f4\n"},
        {"an odd digit at the end", "#1\r\n~520\r\n", "#1 - 52\n"},
        {"a pair that is not hex ends the code", "#1\r\n~52g0001\r\n", "#1 - 52\n"},
        {"a digit and a space", "#1\r\n~5 00\r\n", ""},
        {"a later code line replaces the first", "#1\r\n~52\r\n~4400\r\n", "#1 - 44 00\n"},
        {"# alone is slot 0", "#\r\nx\r\n", "#0 'x' -\n"},
        {"# and no number is slot 0", "#x\r\ny\r\n", "#0 'y' -\n"},
        {"white space and a plus sign", "# \t\v\f\r+7z\r\ny\r\n", "#7 'y' -\n"},
        {"leading zeros and minus zero", "#058\r\ny\r\n#-0\r\nz\r\n", "#0 'z' -\n#58 'y' -\n"},
        {"numbers outside the slots",
         "#59\r\na\r\n~00\r\n#-1\r\nb\r\n#99999999999\r\nc\r\n#4294967307\r\nd\r\n"
         "#-4294967285\r\ne\r\n~00\r\n#6\r\nf\r\n",
         "#6 'f' -\n"},
        {"lines before the first slot line", "x\r\n~00\r\n#2\r\ny\r\n", "#2 'y' -\n"},
        {"a repeated slot takes the later text", "#2\r\na\r\n#2\r\nb\r\n", "#2 'b' -\n"},
        {"text lines after the code line", "#2\r\na\r\n~00\r\nb\r\n", "#2 'a\\r\\nb' 00\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(read(c.file)), c.slots) << c.what;
}

TEST(KeyboardFileRead, OnlyTheSlotsTheFileNamesChange)
{
    KeySlots slots;
    const auto oldCode = code({0x52, 0, 0, 0, 9, 0});
    for (const int i : {5, 6, 7})
        *slots.slotAt(i) = {"old " + std::to_string(i), oldCode};
    // What a running player holds.
    const std::shared_ptr<const CompiledScript> playing = slots.slotAt(5)->code;

    // Slot 5: a record without text lines keeps the text; slot 6: no code line keeps the code;
    // slot 7: an empty code line leaves it without code.
    std::istringstream in("#5\r\n~5200000001000000\r\n#6\r\nnew\r\n#7\r\n~\r\n");
    readKeyboardStream(slots, in);
    EXPECT_EQ(describe(slots), "#5 'old 5' 52 00 00 00 01 00 00 00\n"
                               "#6 'new' 52 00 00 00 09 00\n"
                               "#7 'old 7' -\n");
    EXPECT_EQ(playing->hex(), "52 00 00 00 09 00");
}

// Save and reopen three times: the text never changes, and the file settles at once.
TEST(KeyboardFileRoundTrip, TextsSurviveSavesAndReopens)
{
    std::string manyLines;
    for (int i = 0; i < 300; ++i)
        manyLines += "PLAY " + std::to_string(i + 1) + "/1\r\n";
    manyLines += "REST 1 SEC";
    const std::string texts[] = {
        manyLines,
        std::string(509, 'a') + "\r\n" + std::string(510, 'b') + "\r\n" + std::string(511, 'c'),
        std::string(512, 'd') + "\r\n" + std::string(5000, 'e'),
        "",
        "\r\n",
        "\r\n\r\n\r\nx\r\n\r\n",
        "#1\r\n~00\r\n #2\r\n  ~ \r\n#\r\n~\r\n",
        "PLAY 1/1\r\n",
        "a\r\r\nb",
        "   ",
        // A text line that ends in CR, last or not (a third CR read from a file).
        "a\r",
        "a\r\r\r\nb\r\r",
    };
    for (const auto& text : texts) {
        KeySlots slots;
        *slots.slotAt(20) = {text, compileScript(text).code};
        const std::string first = keyboardFileText(slots);
        for (int round = 0; round < 3; ++round) {
            KeySlots back = read(keyboardFileText(slots));
            ASSERT_TRUE(back.slotAt(20)->scriptText.has_value());
            EXPECT_EQ(visible(*back.slotAt(20)->scriptText), visible(text)) << round;
            EXPECT_EQ(keyboardFileText(back), first) << visible(text);
            slots = back;
        }
    }
}

// Code read from a file may be of any shape: saved again, it reads back to code that plays
// the same steps, and a second save writes the same file.
TEST(KeyboardFileRoundTrip, CodeOfAnyShapeSettlesAtOnce)
{
    const std::vector<std::uint8_t> codes[] = {
        {0x50}, {0x52, 0, 1}, {0x44, 0, 0}, {0x2a, 3}, {0x41, 0x50, 0x01, 0xe0}, {0x52, 0, 0, 0, 1},
    };
    for (const auto& bytes : codes) {
        KeySlots slots;
        *slots.slotAt(2) = {"x", code(bytes)};
        const std::string first = keyboardFileText(slots);
        const KeySlots back = read(first);
        EXPECT_EQ(keyboardFileText(back), first) << CompiledScript(bytes).hex();
    }
}

TEST(KeyboardFileRoundTrip, CodeComesBackWithTheClosingZeros)
{
    // Long enough that its code line passes 511 characters.
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "PLAY 1/1 5/4 3/2 7/4 100 MSEC\r\nREST 20 MSEC\r\n";
    KeySlots slots;
    *slots.slotAt(3) = {text, compileScript(text).code};
    const auto original = slots.slotAt(3)->code->bytes();
    ASSERT_GT(original.size() * 2, 600u);

    KeySlots back = read(keyboardFileText(slots));
    ASSERT_TRUE(back.slotAt(3)->code);
    std::vector<std::uint8_t> expected(original.begin(), original.end());
    expected.push_back(0);
    EXPECT_EQ(back.slotAt(3)->code->hex(), CompiledScript(expected).hex());
    EXPECT_EQ(keyboardFileText(back), keyboardFileText(slots));
}

}  // namespace
}  // namespace tv
