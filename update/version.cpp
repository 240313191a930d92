// The installed version, read from the string module.
#include "update/version.h"

#include <climits>

#include "common/module.h"
#include "platform/dialog.h"

uint32_t currentversion = 0;
std::string currentversiontext = "Current Version:";

int32_t LeadingInt(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        i++;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; i++) {
        value = value * 10 + (text[i] - '0');
        if (value > (int64_t)INT_MAX + 1)
            value = (int64_t)INT_MAX + 1;
    }
    if (negative)
        value = -value;
    return value > INT_MAX ? INT_MAX : (int32_t)value;
}

uint32_t AddVersionPart(uint32_t version, int32_t part, int i)
{
    // Unsigned throughout, so that a part above 255 carries into the next and nothing is undefined.
    return version + ((uint32_t)part << ((3 - i) * 8));
}

bool LoadVersion(const char* modulename, uint32_t* version, std::string* text)
{
    *version = 0;
    *text = "Current Version:";
    Module* const module = OpenModule(modulename);
    if (!module)
        return true;
    for (int i = 0; i < 4; i++) {
        char part[100];
        ModuleString(module, STR_VERSION + i, part, sizeof part);   // a missing string reads as ""
        *version = AddVersionPart(*version, LeadingInt(part), i);
        *text += i == 0 ? ' ' : '.';
        *text += part;
    }
    CloseModule(module);
    return false;
}

bool ReadCurrentVersion()
{
    if (LoadVersion(VERSIONMODULE, &currentversion, &currentversiontext)) {
        // An unreadable module is what an update repairs: as 0.0.0.0 every update is newer.
        currentversiontext = "Current Version: 0.0.0.0";
        ShowMessageBox("Error", MSG_REPAIR);
        return true;
    }
    return false;
}
