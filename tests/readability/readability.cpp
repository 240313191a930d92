#include "tests/readability/readability.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

double Linear(const uint32_t channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const uint32_t xrgb)
{
    return 0.2126 * Linear(xrgb >> 16 & 255) + 0.7152 * Linear(xrgb >> 8 & 255) + 0.0722 * Linear(xrgb & 255);
}

std::string Where(const DrawnText& t)
{
    char at[64];
    snprintf(at, sizeof at, " at %d,%d size %d", t.ink.left, t.ink.top, t.size);
    return "'" + t.text.substr(0, 40) + "'" + at;
}

// A dark copy drawn a pixel or two off just before the same text: a shadow that helps the text read,
// not a text of its own.
bool IsShadow(const std::vector<DrawnText>& drawn, const size_t k)
{
    if (k + 1 >= drawn.size())
        return false;
    const DrawnText& t = drawn[k];
    const DrawnText& next = drawn[k + 1];
    return next.text == t.text && next.surface == t.surface && std::abs(next.rect.left - t.rect.left) <= 2 &&
           std::abs(next.rect.top - t.rect.top) <= 2 && std::abs(next.rect.left - t.rect.left) + std::abs(next.rect.top - t.rect.top) > 0;
}

// The same text drawn again in the same place in one frame: what lay under it is its first copy.
bool IsRedraw(const std::vector<DrawnText>& drawn, const size_t k)
{
    const DrawnText& t = drawn[k];
    for (size_t j = 0; j < k; j++) {
        const DrawnText& o = drawn[j];
        if (o.text == t.text && o.colour == t.colour && o.surface == t.surface && o.ink.left == t.ink.left &&
            o.ink.top == t.ink.top && o.ink.right == t.ink.right && o.ink.bottom == t.ink.bottom)
            return true;
    }
    return false;
}

bool NoInk(const PixelRect& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

} // namespace

double Contrast(const uint32_t a, const uint32_t b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double WorstTenthContrast(const DrawnText& text)
{
    if (text.under.empty())
        return 21;
    const uint32_t colour = ColourToPixel(text.colour);
    std::vector<double> ratios;
    ratios.reserve(text.under.size());
    for (const uint32_t pixel : text.under)
        ratios.push_back(Contrast(colour, pixel));
    const size_t tenth = ratios.size() / 10;
    std::nth_element(ratios.begin(), ratios.begin() + tenth, ratios.end());
    return ratios[tenth];
}

double ContrastGoal(const DrawnText& text, const bool caption)
{
    return caption || text.size > 16 ? 3.0 : 4.5;
}

std::vector<std::string> FaintTexts(const std::vector<DrawnText>& drawn, const std::function<double(const DrawnText&)>& goalof,
                                    const SysSurface* const on)
{
    std::vector<std::string> faint;
    for (size_t k = 0; k < drawn.size(); k++) {
        const DrawnText& t = drawn[k];
        if ((on && t.surface != on) || IsShadow(drawn, k) || IsRedraw(drawn, k))
            continue;
        const double ratio = WorstTenthContrast(t), goal = goalof(t);
        if (ratio < goal) {
            char figures[48];
            snprintf(figures, sizeof figures, " %.2f < %.2f", ratio, goal);
            faint.push_back(Where(t) + figures);
        }
    }
    return faint;
}

std::vector<std::string> TextsOnFrames(const std::vector<DrawnText>& drawn, const SysSurface* const on,
                                       const SysSurface* const background, const std::vector<uint32_t>& framecolours,
                                       const int32_t bx, const int32_t by)
{
    std::vector<std::string> crossing;
    for (const DrawnText& t : drawn) {
        if (t.surface != on)
            continue;
        const int32_t width = t.ink.right - t.ink.left;
        int found = 0;
        for (int32_t y = std::max(t.ink.top, by); y < std::min(t.ink.bottom, by + background->height); y++)
            for (int32_t x = std::max(t.ink.left, bx); x < std::min(t.ink.right, bx + background->width); x++) {
                const uint32_t pixel = background->pixels[(size_t)(y - by) * background->width + x - bx] & 0xFFFFFF;
                const bool frame = std::find(framecolours.begin(), framecolours.end(), pixel) != framecolours.end();
                found += frame && (t.under[(size_t)(y - t.ink.top) * width + x - t.ink.left] & 0xFFFFFF) == pixel;
            }
        if (found)
            crossing.push_back(Where(t) + " on " + std::to_string(found) + " frame pixels");
    }
    return crossing;
}

std::vector<std::string> OverlappingTexts(const std::vector<DrawnText>& drawn, const SysSurface* const on)
{
    std::vector<size_t> own;
    for (size_t k = 0; k < drawn.size(); k++)
        if (drawn[k].surface == on && !IsShadow(drawn, k) && !IsRedraw(drawn, k) && !NoInk(drawn[k].ink))
            own.push_back(k);
    std::vector<std::string> overlapping;
    for (size_t i = 0; i < own.size(); i++)
        for (size_t j = i + 1; j < own.size(); j++) {
            const PixelRect& a = drawn[own[i]].ink;
            const PixelRect& b = drawn[own[j]].ink;
            if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
                overlapping.push_back(Where(drawn[own[i]]) + " overlaps " + Where(drawn[own[j]]));
        }
    return overlapping;
}

std::vector<std::string> TextsAtTheEdge(const std::vector<DrawnText>& drawn, const SysSurface* const on, const int32_t margin)
{
    std::vector<std::string> atedge;
    for (const DrawnText& t : drawn)
        if (t.surface == on && !NoInk(t.ink) &&
            (t.ink.left < margin || t.ink.top < margin || t.ink.right > on->width - margin || t.ink.bottom > on->height - margin))
            atedge.push_back(Where(t) + " at the screen's edge");
    return atedge;
}
