#include "tests/game/support/golden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/font.h"
#include "platform/headless.h"

namespace {

enum { BLOCK = 40, SHOWN = 8 };

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

struct Fixture {
    int width = 0, height = 0;
    std::vector<std::string> texts;
    std::vector<std::string> blocks;               // each block's digest, row after row
};

Fixture Measure(const uint32_t* frame, const int width, const int height)
{
    Fixture f;
    f.width = width, f.height = height;
    for (const DrawnText& t : drawn)
        f.texts.push_back(TextLine(t));
    for (int by = 0; by < height; by += BLOCK)
        for (int bx = 0; bx < width; bx += BLOCK) {
            uint64_t h = 14695981039346656037ull;   // FNV-1a over the block's pixels
            for (int y = by; y < std::min(by + BLOCK, height); y++)
                for (int x = bx; x < std::min(bx + BLOCK, width); x++) {
                    const uint32_t v = frame[(size_t)y * width + x];
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
    for (const std::string& t : f.texts)
        out << t << "\n";
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
        else if (key == "blocks")
            for (std::string b; words >> b;)
                f.blocks.push_back(b);
    }
    return !in.eof() || f.width == 0;
}

// The texts whose glyphs reach into the block at (x, y), to say what a changed block holds.
std::string TextsIn(const int x, const int y)
{
    std::string in;
    for (const DrawnText& t : drawn)
        if (t.ink.left < x + BLOCK && x < t.ink.right && t.ink.top < y + BLOCK && y < t.ink.bottom)
            in += (in.empty() ? " under " : ", ") + Escape(t.text.substr(0, 40));
    return in;
}

std::vector<std::string> Differences(const Fixture& now, const Fixture& stored, const int width)
{
    std::vector<std::string> out;
    if (now.width != stored.width || now.height != stored.height)
        return {"the frame is " + std::to_string(now.width) + " x " + std::to_string(now.height) + ", stored " +
                std::to_string(stored.width) + " x " + std::to_string(stored.height)};
    for (size_t i = 0; i < std::max(now.texts.size(), stored.texts.size()); i++) {
        const std::string a = i < now.texts.size() ? now.texts[i] : "(none)";
        const std::string b = i < stored.texts.size() ? stored.texts[i] : "(none)";
        if (a != b)
            out.push_back("text " + std::to_string(i) + " drawn: " + a + "\n  stored:       " + b);
    }
    if (now.blocks.size() != stored.blocks.size()) {
        out.push_back("the fixture holds " + std::to_string(stored.blocks.size()) + " blocks, the frame " +
                      std::to_string(now.blocks.size()));
        return out;
    }
    const int columns = (width + BLOCK - 1) / BLOCK;
    for (size_t i = 0; i < now.blocks.size(); i++)
        if (now.blocks[i] != stored.blocks[i]) {
            const int x = (int)i % columns * BLOCK, y = (int)i / columns * BLOCK;
            out.push_back("the pixels of the block at (" + std::to_string(x) + ", " + std::to_string(y) +
                          ") changed" + TextsIn(x, y));
        }
    return out;
}

} // namespace

void StartGoldenTexts()
{
    drawn.clear();
    RecordDrawnText(&drawn);
}

std::vector<std::string> CompareGoldenFrame(const std::string& name)
{
    RecordDrawnText(nullptr);
    int width = 0, height = 0;
    const uint32_t* const frame = LastPresentedFrame(&width, &height);
    if (!frame)
        return {"no frame was presented"};
    Fixture stored;
    if (Load(name, stored))
        return {"no fixture at " + FixturePath(name)};
    return Differences(Measure(frame, width, height), stored, width);
}

void ExpectGoldenFrame(const std::string& name, const std::string& pngdir)
{
    const std::string png = pngdir + "/" + name + ".png";
    EXPECT_FALSE(SaveLastFramePng(png.c_str())) << png;
    if (std::getenv("GORV_UPDATE_GOLDEN")) {
        RecordDrawnText(nullptr);
        int width = 0, height = 0;
        const uint32_t* const frame = LastPresentedFrame(&width, &height);
        ASSERT_NE(frame, nullptr) << name << ": no frame was presented";
        ASSERT_FALSE(Store(name, Measure(frame, width, height))) << FixturePath(name);
        printf("stored %s\n", FixturePath(name).c_str());
        return;
    }
    const std::vector<std::string> differences = CompareGoldenFrame(name);
    for (size_t i = 0; i < std::min<size_t>(differences.size(), SHOWN); i++)
        ADD_FAILURE() << name << ": look at " << png << "; if the change is meant, make golden\n  " << differences[i];
    if (differences.size() > SHOWN)
        ADD_FAILURE() << name << ": and " << differences.size() - SHOWN << " differences more";
}

void PrintTo(const TextBreak& row, std::ostream* const out)
{
    *out << row.name;
}

std::vector<TextBreak> TextBreaks(const bool shadows)
{
    // Each as small as a fault can be: a pixel, a rounding step, 8 of 255 in one channel.
    const std::vector<TextBreak> all = {
        //                 aliased  rounding  lower  tint      shadowless
        {"none",          {false,   0,        0,     0,        false}, false},
        {"aliased",       {true,    0,        0,     0,        false}, false},
        {"roundingup",    {false,   1,        0,     0,        false}, false},
        {"roundingdown",  {false,   -1,       0,     0,        false}, false},
        {"onepixellower", {false,   0,        1,     0,        false}, false},
        {"greenby8",      {false,   0,        0,     0x000800, false}, false},
        {"shadowless",    {false,   0,        0,     0,        true},  true},
    };
    std::vector<TextBreak> rows;
    for (const TextBreak& row : all)
        if (shadows || !row.shadows)
            rows.push_back(row);
    return rows;
}

void ExpectBreakSeen(const std::string& name, const TextBreak& row, const std::string& pngdir)
{
    const std::string png = pngdir + "/" + name + "-" + row.name + ".png";
    EXPECT_FALSE(SaveLastFramePng(png.c_str())) << png;
    const std::vector<std::string> differences = CompareGoldenFrame(name);
    if (row.faults.aliased || row.faults.rounding || row.faults.lower || row.faults.tint || row.faults.shadowless)
        EXPECT_FALSE(differences.empty()) << name << " drawn " << row.name << " (" << png << ") passes as golden";
    else
        EXPECT_TRUE(differences.empty()) << name << " drawn with the fault path but no fault: "
                                         << differences.front();
}
