#include "game/model/version.h"

#include "game/model/strids.h"
#include "game/model/strings.h"

std::string GetVersionText()
{
    std::string text = "Version ";
    for (int32_t i = 0; i < 4; i++) {
        if (i)
            text += '.';
        text += GetString(STR_VERSION + i);
    }
    return text;
}
