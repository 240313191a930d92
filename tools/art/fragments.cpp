#include "tools/art/fragments.h"

#include <algorithm>
#include <vector>

namespace {

// Pixels at or above this alpha count as drawn: the atlases' half-transparent shadows too.
const int opaque = 32;

struct Region {
    int size = 0, x = 0, y = 0, left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    bool edge = false;
};

// The opaque regions of a picture (8-connected), each pixel labelled with its region or -1; the largest
// region is the figure.
std::vector<Region> Regions(const Image& cut, std::vector<int>& label, size_t& figure)
{
    label.assign(cut.px.size(), -1);
    std::vector<Region> regions;
    std::vector<int> stack;
    for (int start = 0; start < (int)cut.px.size(); start++) {
        if (label[start] >= 0 || cut.px[start].a < opaque)
            continue;
        Region r;
        r.x = start % cut.w, r.y = start / cut.w;
        const int id = (int)regions.size();
        label[start] = id;
        stack.push_back(start);
        while (!stack.empty()) {
            const int k = stack.back();
            stack.pop_back();
            const int x = k % cut.w, y = k / cut.w;
            r.size++;
            r.left = std::min(r.left, x), r.top = std::min(r.top, y);
            r.right = std::max(r.right, x), r.bottom = std::max(r.bottom, y);
            r.edge = r.edge || x == 0 || y == 0 || x == cut.w - 1 || y == cut.h - 1;
            for (int dy = -1; dy <= 1; dy++)
                for (int dx = -1; dx <= 1; dx++) {
                    const int nx = x + dx, ny = y + dy, n = ny * cut.w + nx;
                    if (cut.Inside(nx, ny) && label[n] < 0 && cut.px[n].a >= opaque) {
                        label[n] = id;
                        stack.push_back(n);
                    }
                }
        }
        regions.push_back(r);
    }
    figure = 0;
    for (size_t i = 1; i < regions.size(); i++)
        if (regions[i].size > regions[figure].size)
            figure = i;
    return regions;
}

} // namespace

std::string CheckCut(const Image& cut, const int atlasx, const int atlasy, const int cellw, const int cellh,
                     const bool edgeok)
{
    if (cut.w > cellw || cut.h > cellh)
        return "the cut is " + std::to_string(cut.w) + " x " + std::to_string(cut.h) + ", larger than the " +
               std::to_string(cellw) + " x " + std::to_string(cellh) + " cell it is squeezed into";
    std::vector<int> label;
    size_t main;
    const std::vector<Region> regions = Regions(cut, label, main);
    if (edgeok || regions.size() < 2)
        return "";
    const Region& m = regions[main];
    for (size_t i = 0; i < regions.size(); i++)
        if (i != main && regions[i].edge)
            return "a piece of " + std::to_string(regions[i].size) + " pixels at (" + std::to_string(regions[i].x) +
                   ", " + std::to_string(regions[i].y) + ") of the cut touches its edge apart from the figure (" +
                   std::to_string(m.size) + " pixels): a neighbour's sprite? The figure alone is " +
                   std::to_string(atlasx + m.left) + " " + std::to_string(atlasy + m.top) + " " +
                   std::to_string(m.right - m.left + 1) + " " + std::to_string(m.bottom - m.top + 1) +
                   "; or mark the cut edgeok if the piece is its own, or alone to drop it";
    return "";
}

void KeepFigure(Image& cut)
{
    std::vector<int> label;
    size_t main;
    const std::vector<Region> regions = Regions(cut, label, main);
    // A piece's faint rim goes with it: every pixel nearest to a dropped piece is cleared.
    for (int y = 0; y < cut.h; y++)
        for (int x = 0; x < cut.w; x++) {
            int nearest = -1;
            for (int r = 0; r <= 1 && nearest < 0; r++)
                for (int dy = -r; dy <= r && nearest < 0; dy++)
                    for (int dx = -r; dx <= r && nearest < 0; dx++)
                        if (cut.Inside(x + dx, y + dy))
                            nearest = label[(y + dy) * cut.w + x + dx];
            if (nearest >= 0 && (size_t)nearest != main && regions[nearest].edge)
                cut.At(x, y) = {};
        }
}
