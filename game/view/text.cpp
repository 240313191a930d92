#include "game/view/text.h"

#include <algorithm>

#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/view/drawing.h"
#include "platform/font.h"

namespace {

enum : int32_t { BANDMARGINX = 4, BANDMARGINY = 1, SCREENMARGIN = 4 };

// Where the one line of text will stand in the box, placed as DrawDCText places it, with the band's
// margin round it; clipped to the box and the back buffer.
PixelRect BandRect(const PixelRect& box, const std::string_view text, const uint32_t format)
{
    const GdiSize size = MeasureDCText(textdc, text);
    int32_t x = box.left, y = box.top;
    if (format & TEXT_CENTRE)
        x = box.left + (box.right - box.left - size.width) / 2;
    else if (format & TEXT_RIGHT)
        x = box.right - size.width;
    if ((format & TEXT_SINGLELINE) && (format & TEXT_VCENTRE))
        y = box.top + (box.bottom - box.top - size.height) / 2;
    else if ((format & TEXT_SINGLELINE) && (format & TEXT_BOTTOM))
        y = box.bottom - size.height;
    // The shadow stands a pixel right of and below the text.
    const int32_t right = x + size.width + 1, bottom = y + size.height + 1;
    return { std::max({ x - BANDMARGINX, box.left - BANDMARGINX, 0 }), std::max({ y - BANDMARGINY, box.top, 0 }),
             std::min({ right + BANDMARGINX, box.right + 1 + BANDMARGINX, backbuffer->width }),
             std::min({ bottom + BANDMARGINY, box.bottom + 1, backbuffer->height }) };
}

void DarkenBand(const PixelRect& band)
{
    for (int32_t y = band.top; y < band.bottom; y++) {
        uint32_t* const row = backbuffer->pixels + (size_t)y * backbuffer->width;
        for (int32_t x = band.left; x < band.right; x++)
            row[x] = row[x] >> 2 & 0x3F3F3F;
    }
}

} // namespace

bool DrawTextBox(const int32_t x, const int32_t y, const int32_t w, const int32_t h, const std::string_view text,
                 const uint32_t colour, const uint32_t format)
{
    hotrect = { x + 1, y + 1, x + w + 1, y + h + 1 };
    // A box along the screen's edge keeps its text a few pixels off it, so a line placed against the
    // edge is read whole rather than touching (or, moved by a pixel, losing) its last column.
    if (backbuffer) {
        hotrect.left = std::max<int32_t>(hotrect.left, SCREENMARGIN);
        hotrect.top = std::max<int32_t>(hotrect.top, SCREENMARGIN);
        hotrect.right = std::min<int32_t>(hotrect.right, backbuffer->width - SCREENMARGIN);
        hotrect.bottom = std::min<int32_t>(hotrect.bottom, backbuffer->height - SCREENMARGIN);
    }
    SetDCTextColour(textdc, colour);
    DrawDCText(textdc, text, hotrect, format);
    return false;
}

bool DrawShadowText(const int32_t x, const int32_t y, const int32_t w, const int32_t h, const std::string_view text,
                    const uint32_t colour, const uint32_t format)
{
    SetDCTextColour(textdc, COLOUR_BLACK);
    DrawDCText(textdc, text, { x + 1, y + 1, x + w + 1, y + h + 1 }, format);
    hotrect = { x, y, x + w, y + h };
    SetDCTextColour(textdc, colour);
    DrawDCText(textdc, text, hotrect, format);
    return false;
}

bool DrawBandText(const int32_t x, const int32_t y, const int32_t w, const int32_t h, const std::string_view text,
                  const uint32_t colour, const uint32_t format)
{
    if (backbuffer && textdc && !text.empty())
        DarkenBand(BandRect({ x, y, x + w, y + h }, text, format));
    return DrawShadowText(x, y, w, h, text, colour, format);
}

bool DrawBandTextBox(const int32_t x, const int32_t y, const int32_t w, const int32_t h, const std::string_view text,
                     const uint32_t colour, const uint32_t format)
{
    if (backbuffer && textdc && !text.empty())
        DarkenBand(BandRect({ x + 1, y + 1, x + w + 1, y + h + 1 }, text, format));
    return DrawTextBox(x, y, w, h, text, colour, format);
}

bool SelectFittingFont(const int32_t index, const std::initializer_list<std::string_view> texts, const int32_t width)
{
    enum : int32_t { SMALLEST = 8 };
    if (!textdc || index < 0 || index >= FONTCOUNT || !fonts[index])
        return false;
    for (int32_t size = FontPixelSize(fonts[index]); size >= SMALLEST; size--) {
        GdiFont* const font = FontAtSize(index, size);
        if (!font)
            break;
        SelectDCFont(textdc, font);
        if (std::all_of(texts.begin(), texts.end(), [width](const std::string_view t) { return MeasureDCText(textdc, t).width <= width; }))
            break;
    }
    return false;
}
