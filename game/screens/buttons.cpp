#include "game/screens/buttons.h"

#include <algorithm>
#include <iterator>

uint8_t buttonstates[BUTTONCOUNT];

bool CreateButtons()
{
    std::fill(std::begin(buttonstates), std::end(buttonstates), 0);
    return false;
}
