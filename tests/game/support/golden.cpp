#include "tests/game/support/golden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/font.h"
#include "platform/gdi.h"
#include "platform/headless.h"

namespace {

enum { BLOCK = 40, MARGIN = 2, TOLERANCE = 10 };

std::vector<DrawnText> drawn;

std::string Escape(const std::string& s)
{
    std::string out = "\"";
    for (const char c : s) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else
            out += c;
    }
    return out + "\"";
}

// One text as the fixture stores it: rectangle, colour reference, flags, font and words.
std::string TextLine(const DrawnText& t)
{
    char head[128];
    snprintf(head, sizeof head, "text %d %d %d %d %06x %x %d ", t.rect.left, t.rect.top, t.rect.right,
             t.rect.bottom, t.colour, t.flags, FontCellHeight(t.font));
    return head + Escape(FontFamily(t.font)) + " " + Escape(t.text);
}

// Where a text's lines lie on a frame of that size: drawn again alone, with an opaque background so the
// whole of each line's box counts, and widened by a margin for glyphs that overhang their advance.
PixelRect TextBox(const DrawnText& t, SysSurface* scratch)
{
    FillSurface(scratch, nullptr, 0);
    GdiDC* const dc = OpenSurfaceDC(scratch);
    SelectDCFont(dc, const_cast<GdiFont*>(t.font));
    SetDCTextColour(dc, MakeColour(255, 255, 255));
    SetDCBackColour(dc, MakeColour(255, 255, 255));
    SetDCBackMode(dc, BACK_OPAQUE);
    DrawDCText(dc, t.text, t.rect, t.flags);
    CloseDC(dc);
    PixelRect ink = {scratch->width, scratch->height, 0, 0};
    for (int y = 0; y < scratch->height; y++)
        for (int x = 0; x < scratch->width; x++)
            if (scratch->pixels[(size_t)y * scratch->width + x]) {
                ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
                       std::max(ink.bottom, y + 1)};
            }
    if (ink.left >= ink.right)
        return {0, 0, 0, 0};
    return { std::max(0, ink.left - MARGIN), std::max(0, ink.top - MARGIN),
             std::min(scratch->width, ink.right + MARGIN), std::min(scratch->height, ink.bottom + MARGIN) };
}

struct Fixture {
    int width = 0, height = 0;
    std::vector<std::string> texts;
    std::vector<std::array<int, 3>> means;         // each text box's mean colour
    std::vector<std::string> blocks;               // each block's digest, row after row
};

Fixture Measure(const uint32_t* frame, const int width, const int height)
{
    Fixture f;
    f.width = width, f.height = height;
    std::vector<bool> text((size_t)width * height);
    SysSurface* const scratch = CreateSysSurface(width, height, 0);
    for (const DrawnText& t : drawn) {
        f.texts.push_back(TextLine(t));
        const PixelRect box = TextBox(t, scratch);
        long sum[3] = {}, n = 0;
        for (int y = box.top; y < box.bottom; y++)
            for (int x = box.left; x < box.right; x++) {
                text[(size_t)y * width + x] = true;
                for (int c = 0; c < 3; c++)
                    sum[c] += frame[(size_t)y * width + x] >> (16 - 8 * c) & 0xFF;
                n++;
            }
        n = std::max(n, 1L);
        f.means.push_back({(int)(sum[0] / n), (int)(sum[1] / n), (int)(sum[2] / n)});
    }
    DestroySysSurface(scratch);
    for (int by = 0; by < height; by += BLOCK)
        for (int bx = 0; bx < width; bx += BLOCK) {
            uint64_t h = 14695981039346656037ull;   // FNV-1a over the block's pixels, text marked apart
            for (int y = by; y < std::min(by + BLOCK, height); y++)
                for (int x = bx; x < std::min(bx + BLOCK, width); x++) {
                    const size_t i = (size_t)y * width + x;
                    const uint32_t v = text[i] ? 0xFF000000u : frame[i];
                    for (int k = 0; k < 4; k++)
                        h = (h ^ (v >> (8 * k) & 0xFF)) * 1099511628211ull;
                }
            char hex[17];
            snprintf(hex, sizeof hex, "%016llx", (unsigned long long)h);
            f.blocks.push_back(hex);
        }
    return f;
}

std::string FixturePath(const std::string& name)
{
    return std::string(GORV_GOLDEN_DIR) + "/" + name + ".golden";
}

bool Store(const std::string& name, const Fixture& f)
{
    std::ofstream out(FixturePath(name));
    out << "# The golden frame of " << name << " (tests/game/support/golden.h): look at " << name
        << ".png in the build tree,\n# then regenerate every fixture with: make golden\n";
    out << "frame " << f.width << " " << f.height << "\n";
    for (size_t i = 0; i < f.texts.size(); i++)
        out << f.texts[i] << "\nmean " << f.means[i][0] << " " << f.means[i][1] << " " << f.means[i][2] << "\n";
    const int columns = (f.width + BLOCK - 1) / BLOCK;
    for (size_t i = 0; i < f.blocks.size(); i++)
        out << (i % columns ? " " : "blocks ") << f.blocks[i] << ((i + 1) % columns ? "" : "\n");
    return !out.good();
}

bool Load(const std::string& name, Fixture& f)
{
    std::ifstream in(FixturePath(name));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "frame")
            words >> f.width >> f.height;
        else if (key == "text")
            f.texts.push_back(line);
        else if (key == "mean") {
            std::array<int, 3> m{};
            words >> m[0] >> m[1] >> m[2];
            f.means.push_back(m);
        } else if (key == "blocks")
            for (std::string b; words >> b;)
                f.blocks.push_back(b);
    }
    return !in.eof() || f.width == 0;
}

} // namespace

void StartGoldenTexts()
{
    drawn.clear();
    RecordDrawnText(&drawn);
}

void ExpectGoldenFrame(const std::string& name, const std::string& pngdir)
{
    RecordDrawnText(nullptr);
    const std::string png = pngdir + "/" + name + ".png";
    EXPECT_FALSE(SaveLastFramePng(png.c_str())) << png;
    int width = 0, height = 0;
    const uint32_t* const frame = LastPresentedFrame(&width, &height);
    ASSERT_NE(frame, nullptr) << name << ": no frame was presented";
    const Fixture now = Measure(frame, width, height);
    if (std::getenv("GORV_UPDATE_GOLDEN")) {
        ASSERT_FALSE(Store(name, now)) << FixturePath(name);
        printf("stored %s\n", FixturePath(name).c_str());
        return;
    }
    Fixture stored;
    ASSERT_FALSE(Load(name, stored)) << "no fixture at " << FixturePath(name) << ": look at " << png
                                     << ", then make golden";
    ASSERT_EQ(now.width, stored.width) << name;
    ASSERT_EQ(now.height, stored.height) << name;
    const std::string look = name + ": look at " + png + "; if the change is meant, make golden";
    int faults = 0;
    for (size_t i = 0; i < std::max(now.texts.size(), stored.texts.size()) && faults < 8; i++) {
        const std::string a = i < now.texts.size() ? now.texts[i] : "(none)";
        const std::string b = i < stored.texts.size() ? stored.texts[i] : "(none)";
        if (a != b) {
            ADD_FAILURE() << look << "\n  text " << i << " drawn: " << a << "\n  stored:       " << b;
            faults++;
        }
    }
    if (now.texts == stored.texts && now.means.size() == stored.means.size())
        for (size_t i = 0; i < now.means.size() && faults < 8; i++)
            for (int c = 0; c < 3; c++)
                if (std::abs(now.means[i][c] - stored.means[i][c]) > TOLERANCE) {
                    ADD_FAILURE() << look << "\n  under " << now.texts[i] << "\n  channel " << c << " averages "
                                  << now.means[i][c] << ", stored " << stored.means[i][c];
                    faults++;
                    break;
                }
    const int columns = (width + BLOCK - 1) / BLOCK;
    ASSERT_EQ(now.blocks.size(), stored.blocks.size()) << name;
    for (size_t i = 0; i < now.blocks.size() && faults < 8; i++)
        if (now.blocks[i] != stored.blocks[i]) {
            ADD_FAILURE() << look << "\n  the pixels of the block at (" << i % columns * BLOCK << ", "
                          << i / columns * BLOCK << ") changed";
            faults++;
        }
}
