// The panels' tests: the view fixture with a catalogue of spells and of the abilities whose counts the
// unit panel shows, and every text drawn heard as it is drawn.
#pragma once
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "tests/game/view/viewtest.h"

// Abilities 1 "Flying", 2 "Poison", 3 "Tough" (pictures 1-3), 4 "Rocks", 5 "Mana", 6 "Summoned"
// (pictures 40-42); spells 1 "Blast" (mana 3, CTRL+B, picture 50), 2 "Storm" (mana 8, CTRL+S,
// picture 51); unit type 4 "Slinger" with the '!' flag (picture 4).
enum : int32_t { FLYING = 0, POISON = 1, TOUGH = 2, ROCKS = 3, MANA = 4, SUMMONED = 5 };   // indexes of abilities
enum : int32_t { BLAST = 0, STORM = 1 };    // indexes of spells
enum : int32_t { SLINGER = 4 };

class PanelTest : public ViewTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The texts drawn since the last call, which forgets them.
    std::vector<DrawnText> TakeTexts();
    // The text drawn whose words are text; null for none.
    const DrawnText* Find(const std::vector<DrawnText>& texts, const std::string& text) const;
    std::vector<DrawnText> texts;
};
