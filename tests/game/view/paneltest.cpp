#include "tests/game/view/paneltest.h"

#include "game/model/strids.h"
#include "game/shell/display.h"
#include "tests/game/support/world.h"

void PanelTest::SetUp()
{
    ViewTest::SetUp();
    TestStrings s = StandardTestStrings();
    s[STR_UNITCOUNT] = "4";
    AddTestType(s, SLINGER, "Slinger", { 2, 8, 3, 3, 2, 0, 0, 0 }, 40, "!;");
    s[STR_ABILITYCOUNT] = "6";
    const char* const names[3] = { "Rocks", "Mana", "Summoned" };
    for (int n = 4; n <= 6; n++) {
        s[STR_ABILITYTITLE + n] = names[n - 4];
        s[STR_ABILITYNAME + n] = names[n - 4];
        s[STR_ABILITYKIND + n] = "0";
        s[STR_ABILITYPICTURE + n] = std::to_string(36 + n);
        s[STR_ABILITYHELP + n] = std::string("What ") + names[n - 4] + " does.";
    }
    s[STR_SPELLCOUNT] = "2";
    const char* const spellnames[2] = { "Blast", "Storm" };
    const char* const keys[2] = { "B", "S" };
    for (int n = 1; n <= 2; n++) {
        s[STR_SPELLTITLE + n] = spellnames[n - 1];
        s[STR_SPELLNAME + n] = spellnames[n - 1];
        s[STR_SPELLMANA + n] = n == 1 ? "3" : "8";
        s[STR_SPELLRANGE + n] = "4";
        s[STR_SPELLPICTURE + n] = std::to_string(49 + n);
        s[STR_SPELLKEY + n] = keys[n - 1];
        s[STR_SPELLHELP + n] = std::string("What ") + spellnames[n - 1] + " does.";
    }
    ASSERT_FALSE(LoadTestStrings(s));
    ClearBackBuffer();
    RecordDrawnText(&texts);
}

void PanelTest::TearDown()
{
    RecordDrawnText(nullptr);
    ViewTest::TearDown();
}

std::vector<DrawnText> PanelTest::TakeTexts()
{
    std::vector<DrawnText> taken;
    taken.swap(texts);
    return taken;
}

const DrawnText* PanelTest::Find(const std::vector<DrawnText>& drawn, const std::string& text) const
{
    // A shadowed text is drawn twice, its shadow first in black: the coloured one is the last.
    const DrawnText* found = nullptr;
    for (const DrawnText& t : drawn)
        if (t.text == text)
            found = &t;
    return found;
}
