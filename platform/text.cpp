// The mini-GDI's text: lines laid out by the TEXT_ flags, anti-aliased glyphs blended onto the surface.
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/font.h"
#include "platform/gdi.h"
#include "platform/gdistate.h"

namespace {

std::vector<DrawnText>* textsink = nullptr;

struct Line {
    std::string_view text;
    int32_t width;
};

bool IsLineEnd(const char c)
{
    return c == '\n' || c == '\r';
}

// Where the pen stands along a line: x from the line's start, and the character before it (for the
// face's kerning), -1 at the start.
struct Pen {
    int32_t x = 0;
    int previous = -1;
};

// Moves the pen over text, calling visit(glyph, x) for each glyph at its pen position, with the face's
// kerning between neighbours.
template <typename Visit>
void Walk(GdiFont* const font, const std::string_view text, Pen& pen, Visit&& visit)
{
    for (const char c : text) {
        if (IsLineEnd(c))
            continue;
        const GdiGlyph* const g = FontGlyph(font, (uint8_t)c);
        if (!g)
            continue;
        if (pen.previous >= 0)
            pen.x += FontKerning(font, (uint8_t)pen.previous, (uint8_t)c);
        visit(*g, pen.x);
        pen.x += g->advance;
        pen.previous = (uint8_t)c;
    }
}

// Calls visit for each glyph of a line as Walk does.
template <typename Visit>
void WalkLine(GdiFont* const font, const std::string_view text, Visit&& visit)
{
    Pen pen;
    Walk(font, text, pen, visit);
}

void MovePen(GdiFont* const font, const std::string_view text, Pen& pen)
{
    Walk(font, text, pen, [](const GdiGlyph&, int32_t) {});
}

int32_t Advance(GdiFont* const font, const std::string_view text)
{
    Pen pen;
    MovePen(font, text, pen);
    return pen.x;
}

// Cuts one paragraph into lines no wider than width at blanks; a word wider than that stays whole on
// its own line (and is clipped when drawn). The blanks at a break belong to neither line. The pen
// moves on word by word, so a long paragraph is walked once, not once per word.
void BreakWords(GdiFont* const font, std::string_view text, const int32_t width, std::vector<Line>& lines)
{
    while (true) {
        size_t end = 0;         // the end of what fits so far
        size_t scan = 0;
        Pen pen;                // at scan
        while (scan < text.size()) {
            size_t wordstart = scan;
            while (wordstart < text.size() && text[wordstart] == ' ')
                wordstart++;
            size_t wordend = wordstart;
            while (wordend < text.size() && text[wordend] != ' ')
                wordend++;
            Pen next = pen;
            MovePen(font, text.substr(scan, wordend - scan), next);
            if (end > 0 && next.x > width)
                break;
            end = wordend;
            scan = wordend;
            pen = next;
        }
        if (end == 0)
            end = scan;
        lines.push_back({text.substr(0, end), pen.x});
        size_t next = end;
        while (next < text.size() && text[next] == ' ')
            next++;
        if (next >= text.size())
            return;
        text = text.substr(next);
    }
}

std::vector<Line> LayOut(GdiFont* const font, const std::string_view text, const int32_t width, const uint32_t flags)
{
    std::vector<Line> lines;
    if (flags & TEXT_SINGLELINE) {
        lines.push_back({text, Advance(font, text)});
        return lines;
    }
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view paragraph = text.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == '\r')
            paragraph.remove_suffix(1);
        if ((flags & TEXT_WORDBREAK) && !paragraph.empty())
            BreakWords(font, paragraph, width, lines);
        else
            lines.push_back({paragraph, Advance(font, paragraph)});
        if (end == text.size())
            break;
        start = end + 1;
    }
    return lines;
}

// Each channel (src * alpha + dst * (255 - alpha) + 127) / 255, red and blue side by side in one word:
// a channel's sum stays below 65536, and (w + 1 + (w >> 8)) >> 8 is w / 255 for any such w.
uint32_t Blend(const uint32_t dst, const uint32_t src, const uint32_t alpha)
{
    const uint32_t inverse = 255 - alpha;
    uint32_t rb = (src & 0xFF00FF) * alpha + (dst & 0xFF00FF) * inverse + 0x7F007F;
    uint32_t g = ((src >> 8 & 0xFF) * alpha + (dst >> 8 & 0xFF) * inverse + 0x7F);
    rb = (rb + 0x10001 + (rb >> 8 & 0xFF00FF)) >> 8 & 0xFF00FF;
    g = (g + 1 + (g >> 8)) >> 8;
    return rb | g << 8;
}

// Full coverage gives the colour, none leaves the pixel as it was (its top byte too).
void BlendPixel(uint32_t& to, const uint32_t colour, const uint32_t alpha)
{
    if (alpha == 255)
        to = colour;
    else if (alpha)
        to = Blend(to, colour, alpha);
}

#if defined(__SSE2__)
// Blend for two pixels' four channels as 16-bit lanes; (v + 128 + ((v + 128) >> 8)) >> 8 rounds v / 255
// as Blend does, and no lane passes 65535 on the way.
__m128i BlendLanes(const __m128i colour, const __m128i dst, const __m128i alpha)
{
    const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    __m128i w = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(colour, alpha), _mm_mullo_epi16(dst, inverse)),
                              _mm_set1_epi16(128));
    w = _mm_add_epi16(w, _mm_srli_epi16(w, 8));
    return _mm_srli_epi16(w, 8);
}
#endif

// One row of a glyph's coverage onto count pixels, as BlendPixel does each: four at a time where the
// processor can (text is most of what a board frame blends), the rest one by one.
void BlendRow(uint32_t* const to, const uint8_t* const from, const int32_t count, const uint32_t colour)
{
    int32_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i whole = _mm_set1_epi32((int)colour);
    const __m128i lanes = _mm_unpacklo_epi8(whole, zero);
    const __m128i rgb = _mm_set1_epi32(0x00FFFFFF);
    for (; i + 4 <= count; i += 4) {
        uint32_t four;
        std::memcpy(&four, from + i, sizeof four);
        if (four == 0)
            continue;
        // Each pixel's coverage in all four of its bytes.
        __m128i alpha = _mm_cvtsi32_si128((int)four);
        alpha = _mm_unpacklo_epi8(alpha, alpha);
        alpha = _mm_unpacklo_epi16(alpha, alpha);
        const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
        const __m128i low = BlendLanes(lanes, _mm_unpacklo_epi8(dst, zero), _mm_unpacklo_epi8(alpha, zero));
        const __m128i high = BlendLanes(lanes, _mm_unpackhi_epi8(dst, zero), _mm_unpackhi_epi8(alpha, zero));
        const __m128i blended = _mm_and_si128(_mm_packus_epi16(low, high), rgb);
        const __m128i full = _mm_cmpeq_epi32(alpha, _mm_set1_epi32(-1));
        const __m128i none = _mm_cmpeq_epi32(alpha, zero);
        __m128i out = _mm_or_si128(_mm_and_si128(full, whole), _mm_andnot_si128(full, blended));
        out = _mm_or_si128(_mm_and_si128(none, dst), _mm_andnot_si128(none, out));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), out);
    }
#endif
    for (; i < count; i++)
        BlendPixel(to[i], colour, from[i]);
}

// One laid-out line with its top-left on the surface.
struct Placed {
    Line line;
    int32_t x, y;
};

// The pixels a glyph at pen position (x, baseline) covers, within clip.
PixelRect GlyphBox(const GdiGlyph& g, const int32_t x, const int32_t baseline, const PixelRect& clip)
{
    const int32_t gx = x + g.left;
    const int32_t gy = baseline - g.top;
    return {std::max(gx, clip.left), std::max(gy, clip.top), std::min(gx + g.width, clip.right),
            std::min(gy + g.rows, clip.bottom)};
}

bool IsEmpty(const PixelRect& r)
{
    return r.left >= r.right || r.top >= r.bottom;
}

// The opaque background behind one line.
void FillLine(const GdiDC* const dc, const Placed& at, const PixelRect& clip)
{
    const PixelRect box = {std::max(at.x, clip.left), std::max(at.y, clip.top), std::min(at.x + at.line.width, clip.right),
                           std::min(at.y + FontCellHeight(dc->font), clip.bottom)};
    if (!IsEmpty(box))
        FillSurface(dc->surface, &box, ColourToPixel(dc->backcolour));
}

void DrawLine(const GdiDC* const dc, const Placed& at, const PixelRect& clip)
{
    SysSurface* const s = dc->surface;
    const uint32_t colour = ColourToPixel(dc->textcolour);
    const int32_t baseline = at.y + FontAscent(dc->font);
    WalkLine(dc->font, at.line.text, [&](const GdiGlyph& g, const int32_t pen) {
        const int32_t gx = at.x + pen + g.left;
        const int32_t gy = baseline - g.top;
        const PixelRect box = GlyphBox(g, at.x + pen, baseline, clip);
        for (int32_t py = box.top; py < box.bottom; py++) {
            const uint8_t* const from = g.coverage + (size_t)(py - gy) * g.width - gx;
            uint32_t* const to = s->pixels + (size_t)py * s->width;
            BlendRow(to + box.left, from + box.left, box.right - box.left, colour);
        }
    });
}

// What the sink hears of one text: where its glyphs land and what lay there before them.
void Record(const GdiDC* const dc, const std::string_view text, const PixelRect& rect, const uint32_t flags,
            const std::vector<Placed>& placed, const PixelRect& clip)
{
    DrawnText drawn{std::string(text), rect, dc->textcolour, flags, dc->font, dc->surface,
                    FontPixelSize(dc->font), {0, 0, 0, 0}, {}};
    PixelRect& ink = drawn.ink;
    for (const Placed& at : placed) {
        const int32_t baseline = at.y + FontAscent(dc->font);
        WalkLine(dc->font, at.line.text, [&](const GdiGlyph& g, const int32_t pen) {
            const PixelRect box = GlyphBox(g, at.x + pen, baseline, clip);
            if (IsEmpty(box) || !g.coverage)
                return;
            ink = IsEmpty(ink) ? box : PixelRect{std::min(ink.left, box.left), std::min(ink.top, box.top),
                                                 std::max(ink.right, box.right), std::max(ink.bottom, box.bottom)};
        });
    }
    const SysSurface* const s = dc->surface;
    for (int32_t y = ink.top; y < ink.bottom; y++)
        drawn.under.insert(drawn.under.end(), s->pixels + (size_t)y * s->width + ink.left,
                           s->pixels + (size_t)y * s->width + ink.right);
    textsink->push_back(std::move(drawn));
}

} // namespace

void RecordDrawnText(std::vector<DrawnText>* const sink)
{
    textsink = sink;
}

int32_t DrawDCText(GdiDC* const dc, const std::string_view text, const PixelRect& rect, const uint32_t flags)
{
    if (!dc || !dc->surface || !dc->font || text.empty())
        return 0;
    const int32_t cell = FontCellHeight(dc->font);
    const std::vector<Line> lines = LayOut(dc->font, text, rect.right - rect.left, flags);
    int32_t y = rect.top;
    if (flags & TEXT_SINGLELINE) {
        if (flags & TEXT_VCENTRE)
            y = rect.top + (rect.bottom - rect.top - cell) / 2;
        else if (flags & TEXT_BOTTOM)
            y = rect.bottom - cell;
    }
    PixelRect clip = SurfaceRect(dc->surface);
    if (!(flags & TEXT_NOCLIP)) {
        clip.left = std::max(clip.left, rect.left);
        clip.top = std::max(clip.top, rect.top);
        clip.right = std::min(clip.right, rect.right);
        clip.bottom = std::min(clip.bottom, rect.bottom);
    }
    std::vector<Placed> placed;
    for (const Line& line : lines) {
        int32_t x = rect.left;
        if (flags & TEXT_CENTRE)
            x = rect.left + (rect.right - rect.left - line.width) / 2;
        else if (flags & TEXT_RIGHT)
            x = rect.right - line.width;
        placed.push_back({line, x, y});
        y += cell;
    }
    if (!IsEmpty(clip)) {
        if (dc->backmode == BACK_OPAQUE)
            for (const Placed& at : placed)
                FillLine(dc, at, clip);
        if (textsink)
            Record(dc, text, rect, flags, placed, clip);
        for (const Placed& at : placed)
            DrawLine(dc, at, clip);
    }
    return (int32_t)lines.size() * cell;
}

GdiSize MeasureDCText(const GdiDC* const dc, const std::string_view text)
{
    if (!dc || !dc->font)
        return {0, 0};
    return {Advance(dc->font, text), FontCellHeight(dc->font)};
}
