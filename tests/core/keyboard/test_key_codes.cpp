#include "core/keyboard/KeyCodes.h"
#include "core/keyboard/KeySlots.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tv {
namespace {

TEST(KeyCodes, SlotsAtEveryBoundOfTheTable)
{
    struct Case {
        int code;
        int slot;
    };
    const Case cases[] = {
        {-1, -1},  {0, -1},   {31, -1},  {32, 0},   {33, -1},  {47, -1},  {48, 1},   {57, 10},
        {58, -1},  {64, -1},  {65, 11},  {77, 23},  {90, 36},  {91, -1},  {97, -1},  {111, -1},
        {112, 37}, {121, 46}, {123, 48}, {124, -1}, {185, -1}, {186, 49}, {187, 50}, {188, 51},
        {189, 52}, {190, 53}, {191, 54}, {192, -1}, {218, -1}, {219, 55}, {220, 56}, {221, 57},
        {222, 58}, {223, -1}, {255, -1}, {256, -1}, {288, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(slotForKey(c.code), c.slot) << "code " << c.code;
}

TEST(KeyCodes, EachSlotHasExactlyOneKey)
{
    std::set<int> slots;
    for (int code = 0; code < keyCodeCount; ++code) {
        const int slot = slotForKey(code);
        if (slot < 0)
            continue;
        EXPECT_TRUE(slots.insert(slot).second) << "slot " << slot << " twice";
        EXPECT_EQ(keyForSlot(slot), code);
    }
    EXPECT_EQ(slots.size(), static_cast<std::size_t>(keySlotCount));
    EXPECT_EQ(*slots.rbegin(), keySlotCount - 1);
    EXPECT_EQ(keyForSlot(-1), -1);
    EXPECT_EQ(keyForSlot(keySlotCount), -1);
}

TEST(KeyCodes, CaptionsWithAndWithoutShift)
{
    struct Case {
        int code;
        const char* caption;
        const char* shifted;
    };
    const Case cases[] = {
        {32, "", ""},      {48, "0", ")"},    {49, "1", "!"},      {50, "2", "@"},
        {51, "3", "#"},    {52, "4", "$"},    {53, "5", "%"},      {54, "6", "^"},
        {55, "7", "&"},    {56, "8", "*"},    {57, "9", "("},      {112, "F1", "F1"},
        {113, "F2", "F2"}, {120, "F9", "F9"}, {121, "F10", "F10"}, {123, "F12", "F12"},
        {186, ";", ":"},   {187, "=", "+"},   {188, ",", "<"},     {189, "-", "_"},
        {190, ".", ">"},   {191, "/", "?"},   {219, "[", "{"},     {220, "\\", "|"},
        {221, "]", "}"},   {222, "'", "\""},  {13, "", ""},        {47, "", ""},
        {58, "", ""},      {91, "", ""},      {124, "", ""},       {192, "", ""},
        {223, "", ""},     {-1, "", ""},      {256, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(keyCaption(c.code, false), c.caption) << "code " << c.code;
        EXPECT_EQ(keyCaption(c.code, true), c.shifted) << "code " << c.code;
    }
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(keyCaption(65 + i, false), std::string(1, static_cast<char>('a' + i)));
        EXPECT_EQ(keyCaption(65 + i, true), std::string(1, static_cast<char>('A' + i)));
    }
}

TEST(KeySlots, OnlyIndicesZeroToFiftyEightHaveASlot)
{
    KeySlots slots;
    const KeySlots& view = slots;
    for (const int index : {-1, 59, 1000})
        EXPECT_EQ(slots.slotAt(index), nullptr) << index;
    ASSERT_NE(slots.slotAt(0), nullptr);
    ASSERT_NE(slots.slotAt(58), nullptr);
    EXPECT_NE(slots.slotAt(0), slots.slotAt(58));
    EXPECT_EQ(view.slotAt(58), slots.slotAt(58));
    EXPECT_EQ(view.slotAt(59), nullptr);

    slots.slotAt(58)->scriptText = "PLAY 1/1";
    slots.slotAt(0)->code = std::make_shared<const CompiledScript>();
    EXPECT_FALSE(slots.slotAt(58)->empty());
    slots.clear();
    EXPECT_TRUE(slots.slotAt(58)->empty());
    EXPECT_TRUE(slots.slotAt(0)->empty());
}

}  // namespace
}  // namespace tv
