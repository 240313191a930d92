// The mini-GDI's text: lines laid out by the TEXT_ flags, anti-aliased glyphs blended onto the surface.
#include <algorithm>
#include <vector>

#include "platform/font.h"
#include "platform/gdi.h"
#include "platform/gdistate.h"
#include "platform/rows.h"

namespace {

std::vector<DrawnText>* textsink = nullptr;
const TextFaults* faults = nullptr;

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

// A row as BlendTextRow draws it, one pixel at a time by the plain formula, with the faults set.
void BlendFaultyRow(uint32_t* const to, const uint8_t* const from, const int32_t count, const uint32_t colour)
{
    for (int32_t i = 0; i < count; i++) {
        const int32_t alpha = faults->aliased ? (from[i] >= 128 ? 255 : 0) : from[i];
        if (alpha == 0 || alpha == 255) {
            to[i] = alpha ? colour : to[i];
            continue;
        }
        uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int32_t w =
                (int32_t)(colour >> shift & 0xFF) * alpha + (int32_t)(to[i] >> shift & 0xFF) * (255 - alpha);
            out |= (uint32_t)std::clamp((w + 127 + faults->rounding) / 255, 0, 255) << shift;
        }
        to[i] = out;
    }
}

void DrawLine(const GdiDC* const dc, const Placed& at, const PixelRect& clip)
{
    SysSurface* const s = dc->surface;
    uint32_t colour = ColourToPixel(dc->textcolour);
    int32_t top = at.y;
    if (faults) {
        if (faults->shadowless && colour == 0)
            return;
        colour ^= faults->tint;
        top += faults->lower;
    }
    const int32_t baseline = top + FontAscent(dc->font);
    WalkLine(dc->font, at.line.text, [&](const GdiGlyph& g, const int32_t pen) {
        const int32_t gx = at.x + pen + g.left;
        const int32_t gy = baseline - g.top;
        const PixelRect box = GlyphBox(g, at.x + pen, baseline, clip);
        for (int32_t py = box.top; py < box.bottom; py++) {
            const uint8_t* const from = g.coverage + (size_t)(py - gy) * g.width - gx;
            uint32_t* const to = s->pixels + (size_t)py * s->width;
            (faults ? BlendFaultyRow : BlendTextRow)(to + box.left, from + box.left, box.right - box.left, colour);
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

void SetTextFaults(const TextFaults* const set)
{
    faults = set;
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
