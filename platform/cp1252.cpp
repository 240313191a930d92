// CP1252 <-> UTF-8. Only 0x80-0x9F differ from Latin-1.
#include "platform/cp1252.h"

namespace {

// Code points of 0x80-0x9F; the unused bytes keep their C1 control, as Windows' own conversion does.
const uint16_t highpart[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The CP1252 byte for a code point; -1 when CP1252 has none.
int UnicodeToCp1252(uint32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return (int)cp;
    for (int i = 0; i < 32; i++)
        if (highpart[i] == cp)
            return 0x80 + i;
    return -1;
}

void AppendUtf8(std::string* out, uint32_t cp)
{
    if (cp < 0x80) {
        out->push_back((char)cp);
    } else if (cp < 0x800) {
        out->push_back((char)(0xC0 | (cp >> 6)));
        out->push_back((char)(0x80 | (cp & 0x3F)));
    } else {
        out->push_back((char)(0xE0 | (cp >> 12)));
        out->push_back((char)(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back((char)(0x80 | (cp & 0x3F)));
    }
}

} // namespace

uint32_t Cp1252ToUnicode(uint8_t c)
{
    return c >= 0x80 && c < 0xA0 ? highpart[c - 0x80] : c;
}

std::string Cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        AppendUtf8(&out, Cp1252ToUnicode((uint8_t)c));
    return out;
}

std::string Utf8ToCp1252(std::string_view text)
{
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const uint8_t lead = (uint8_t)text[i];
        // Payload bits of the lead byte, continuation bytes to come, the least code point that needs them.
        int extra = 0;
        uint32_t cp = lead;
        uint32_t least = 0;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
            least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
            least = 0x10000;
        } else if (lead >= 0x80) {
            i++;    // a stray continuation byte or an invalid lead
            continue;
        }
        bool valid = true;
        for (int k = 1; k <= extra; k++) {
            if (i + k >= text.size() || ((uint8_t)text[i + k] & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = cp << 6 | ((uint8_t)text[i + k] & 0x3F);
        }
        if (!valid) {
            i++;    // resynchronise on the next byte
            continue;
        }
        i += 1 + extra;
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            continue;   // overlong forms and surrogates are malformed
        const int byte = UnicodeToCp1252(cp);
        if (byte >= 0)
            out.push_back((char)byte);
    }
    return out;
}
