// The entity grid's rules as tables: value controls by key, typed-key resets, mangle and number
// checks, and the spawn-flag list.
#include "EntityGridRules.h"
#include "Services.h"
#include <gtest/gtest.h>

namespace {

TEST(EntityGridRules, ValueControlsOfLoadedAndTypedKeys)
{
    struct
    {
        const char* key;
        WORD loaded;
        WORD typed;
        BOOL reset;
        const char* value;
    } cases[] = {
        {"angle", GX_IDS_CTRL_ENTITY_ANGLE, GX_IDS_CTRL_ENTITY_ANGLE, TRUE, "0"},
        {"ANGLE", GX_IDS_CTRL_ENTITY_ANGLE, GX_IDS_CTRL_ENTITY_ANGLE, TRUE, "0"},
        // "count" loaded keeps the base control; typed, it gets the number edit.
        {"count", 0, GX_IDS_CTRL_ENTITY_NUMBER, TRUE, ""},
        {"COUNT", 0, GX_IDS_CTRL_ENTITY_NUMBER, TRUE, ""},
        {"Health", GX_IDS_CTRL_ENTITY_NUMBER, GX_IDS_CTRL_ENTITY_NUMBER, TRUE, ""},
        {"nextthink", 0, GX_IDS_CTRL_ENTITY_NUMBER, TRUE, ""},
        {"wait", GX_IDS_CTRL_ENTITY_NEGATIVE, GX_IDS_CTRL_ENTITY_NEGATIVE, TRUE, ""},
        {"Lip", GX_IDS_CTRL_ENTITY_NEGATIVE, GX_IDS_CTRL_ENTITY_NEGATIVE, TRUE, ""},
        {"mangle", GX_IDS_CTRL_ENTITY_PLAIN_EDIT, GX_IDS_CTRL_ENTITY_PLAIN_EDIT, TRUE, "0 0 0"},
        {"spawnflags", GX_IDS_CTRL_ENTITY_SPAWNFLAGS, GX_IDS_CTRL_ENTITY_SPAWNFLAGS, TRUE, "0"},
        // A target keeps its value.
        {"target", GX_IDS_CTRL_ENTITY_TARGET, GX_IDS_CTRL_ENTITY_TARGET, FALSE, ""},
        {"KillTarget", GX_IDS_CTRL_ENTITY_TARGET, GX_IDS_CTRL_ENTITY_TARGET, FALSE, ""},
        {"message", 0, 0, FALSE, ""},
        {"classname", 0, 0, FALSE, ""},
        {"", 0, 0, FALSE, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(c.loaded, EntityValueControlForLoadedKey(c.key));
        BOOL reset = !c.reset;
        CString value = "x";
        EXPECT_EQ(c.typed, EntityValueControlForTypedKey(c.key, reset, value));
        EXPECT_EQ(c.reset, reset);
        if (c.reset) {
            EXPECT_STREQ(c.value, value);
        }
    }
    EXPECT_EQ(0, EntityValueControlForLoadedKey(nullptr));
}

TEST(EntityGridRules, MangleAndNumberChecks)
{
    const CString first = "Invalid 1st angle in mangle.  Must be \"<angle> <angle> <angle>\"";
    const CString second = "Invalid 2nd angle in mangle.  Must be \"<angle> <angle> <angle>\"";
    const CString third = "Invalid 3rd angle in mangle.  Must be \"<angle> <angle> <angle>\"";
    struct
    {
        const char* value;
        CString warning;
    } mangles[] = {
        {"0 90 -1", ""}, {"0 90", third}, {"0 91 0", second}, {"x", first},
        {"0 0 0 99", ""}, {"", first}, {"315 -2 45", ""}, {"0 0 0x", third},
    };
    for (const auto& c : mangles)
        EXPECT_STREQ(c.warning, CheckMangleValue(c.value)) << c.value;

    struct
    {
        const char* text;
        BOOL number, negative;
    } numbers[] = {
        {"", TRUE, TRUE},   {"5", TRUE, TRUE},     {"3.5", TRUE, TRUE}, {"-5", FALSE, TRUE},
        {"1-", FALSE, FALSE}, {"1.2.3", TRUE, TRUE}, {"a", FALSE, FALSE}, {"--5", FALSE, FALSE},
    };
    for (const auto& c : numbers) {
        EXPECT_EQ(c.number, IsValidEntityNumber(c.text, FALSE)) << c.text;
        EXPECT_EQ(c.negative, IsValidEntityNumber(c.text, TRUE)) << c.text;
    }
}

TEST(EntityGridRules, SpawnFlags)
{
    EntityClass three;
    strcpy(three.flagNames[0], "START_OPEN");
    strcpy(three.flagNames[1], "x");
    strcpy(three.flagNames[2], "DOOR_DONT_LINK");
    CString labels[12];
    SpawnFlagLabels(&three, labels);
    const char* expected[12] = {"START_OPEN", "x", "DOOR_DONT_LINK", "Switch 4", "Switch 5", "Switch 6",
                                "Switch 7", "Switch 8", "!Easy", "!Medium", "!Hard", "!Deathmatch"};
    for (int i = 0; i < 12; ++i)
        EXPECT_STREQ(expected[i], labels[i]);
    SpawnFlagLabels(nullptr, labels);
    EXPECT_STREQ("Switch 1", labels[0]);
    EXPECT_STREQ("Switch 8", labels[7]);

    struct
    {
        const char* value;
        DWORD ticks;
    } reads[] = {{"2304", (1u << 8) | (1u << 11)}, {"", 0}, {"0", 0}, {"x", 0}, {"-1", 0}, {"4097", 1}};
    for (const auto& c : reads)
        EXPECT_EQ(c.ticks, SpawnFlagTicks(c.value)) << c.value;

    struct
    {
        const char* old;
        DWORD ticked;
        const char* stored;
    } stores[] = {{"2304", 0, "0"}, {"0", 1 | 4, "5"}, {"", 2048, "2048"},
                  {"4097", 0, "4096"}, {"8193", 2, "8194"}, {"x", 0, "0"}};
    for (const auto& c : stores)
        EXPECT_STREQ(c.stored, SpawnFlagValue(c.old, c.ticked)) << c.old;
}

} // namespace
