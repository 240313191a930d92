#include "media.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "common/module.h"

namespace {

uint32_t U16(const uint8_t* p) { return p[0] | p[1] << 8; }
uint32_t U32(const uint8_t* p) { return U16(p) | U16(p + 2) << 16; }
int32_t S32(const uint8_t* p) { return (int32_t)U32(p); }
uint32_t B16(const uint8_t* p) { return p[0] << 8 | p[1]; }
uint32_t B32(const uint8_t* p) { return B16(p) << 16 | B16(p + 2); }

} // namespace

const Module* ShippedModule(const char* file)
{
    struct Closer {
        void operator()(Module* m) const { CloseModule(m); }
    };
    static std::map<std::string, std::unique_ptr<Module, Closer>> open;
    auto& slot = open[file];
    if (!slot)
        slot.reset(OpenModule((std::string(GORV_DIST_DIR) + "/" + file).c_str()));
    return slot.get();
}

std::string ReadPicture(const char* module, const char* name, Picture& out)
{
    const Module* m = ShippedModule(module);
    ModuleData d;
    if (!m)
        return std::string(module) + " does not open";
    if (FindModuleResource(m, "BITMAP", name, &d))
        return std::string(module) + " has no bitmap " + name;
    const uint8_t* p = d.data;
    if (d.size < 54 || p[0] != 'B' || p[1] != 'M' || U32(p + 2) != d.size)
        return "not a BMP file, or its size field is wrong";
    if (U32(p + 14) != 40 || U16(p + 26) != 1 || U16(p + 28) != 24 || U32(p + 30) != 0)
        return "not a 24-bit BI_RGB bitmap with a 40-byte header";
    const int32_t w = S32(p + 18), h = S32(p + 22);
    const uint32_t offset = U32(p + 10), stride = ((uint32_t)w * 3 + 3) & ~3u;
    if (w <= 0 || h <= 0)
        return "not bottom-up, or empty";
    if (offset != 54 || (uint64_t)offset + (uint64_t)stride * h != d.size)
        return "pixel data does not fill the file exactly";
    out.width = w, out.height = h;
    out.pixels.assign((size_t)w * h, 0);
    for (int y = 0; y < h; y++) {
        const uint8_t* row = p + offset + (size_t)(h - 1 - y) * stride;
        for (int x = 0; x < w; x++)
            out.pixels[(size_t)y * w + x] = (uint32_t)row[3 * x + 2] << 16 | row[3 * x + 1] << 8 | row[3 * x];
    }
    return "";
}

bool NearBlack(const uint32_t rgb)
{
    const int r = rgb >> 16 & 255, g = rgb >> 8 & 255, b = rgb & 255;
    if (rgb == 0)
        return false;
    // The dimmed copy halves each channel; the grey copy keeps (30r + 59g + 11b) / 100 of a coloured
    // pixel. Either reaching 0 makes the pixel transparent; stay a few steps clear of that.
    return std::max({r, g, b}) < 4 || 30 * r + 59 * g + 11 * b < 400;
}

bool CellDrawn(const Picture& sheet, const int cell)
{
    const int x0 = 1 + 41 * (cell % 16), y0 = 1 + 41 * (cell / 16);
    if (x0 + 40 > sheet.width || y0 + 40 > sheet.height)
        return false;
    for (int y = y0; y < y0 + 40; y++)
        for (int x = x0; x < x0 + 40; x++)
            if (sheet.At(x, y) != 0)
                return true;
    return false;
}

std::string ReadSound(const char* name, Sound& out)
{
    const Module* m = ShippedModule("tavel.dll");
    ModuleData d;
    if (!m)
        return "tavel.dll does not open";
    if (FindModuleResource(m, "WAVE", name, &d))
        return std::string("no WAVE resource ") + name;
    const uint8_t* p = d.data;
    if (d.size < 12 || std::string((const char*)p, 4) != "RIFF" || std::string((const char*)p + 8, 4) != "WAVE" ||
        U32(p + 4) + 8 != d.size)
        return "not a RIFF WAVE of the right size";
    bool format = false;
    for (size_t at = 12; at + 8 <= d.size;) {
        const std::string id((const char*)p + at, 4);
        const uint32_t size = U32(p + at + 4);
        if (size > d.size - at - 8)
            return "chunk " + id + " runs past the end";
        const uint8_t* c = p + at + 8;
        if (id == "fmt ") {
            if (size < 16 || U16(c) != 1)
                return "not PCM";
            out.channels = (int)U16(c + 2), out.rate = (int)U32(c + 4), out.bits = (int)U16(c + 14);
            format = true;
        } else if (id == "data") {
            if (!format || out.bits != 16)
                return "no 16-bit format before the data";
            out.samples.resize(size / 2);
            for (size_t i = 0; i < out.samples.size(); i++)
                out.samples[i] = (int16_t)U16(c + 2 * i);
            return "";
        }
        at += 8 + size + (size & 1);
    }
    return "no data chunk";
}

std::string ReadSong(const std::string& path, Song& out)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    const std::string bytes = all.str();
    const uint8_t* p = (const uint8_t*)bytes.data();
    const size_t n = bytes.size();
    if (!in && n == 0)
        return "missing";
    if (n < 14 || bytes.compare(0, 4, "MThd") != 0 || B32(p + 4) != 6)
        return "no MThd header";
    const uint32_t format = B16(p + 8), tracks = B16(p + 10), division = B16(p + 12);
    if (format > 1 || tracks == 0 || division == 0 || (division & 0x8000))
        return "not a format 0/1 file with ticks per quarter";
    // The tempo map first: every tempo event of every track, by tick.
    struct Timed {
        uint32_t tick;
        int kind;   // 0 tempo, 1 mark
        uint32_t value;
        std::string text;
    };
    std::vector<Timed> timed;
    uint32_t lasttick = 0;
    size_t at = 14;
    for (uint32_t t = 0; t < tracks; t++) {
        if (at + 8 > n || bytes.compare(at, 4, "MTrk") != 0)
            return "track " + std::to_string(t) + " missing";
        const size_t len = B32(p + at + 4), end = at + 8 + len;
        if (end > n)
            return "track " + std::to_string(t) + " runs past the end";
        at += 8;
        uint32_t tick = 0;
        uint8_t status = 0;
        bool ended = false;
        while (at < end && !ended) {
            uint32_t delta = 0;
            for (int k = 0; k < 4; k++) {
                if (at >= end)
                    return "truncated delta time";
                delta = delta << 7 | (p[at] & 0x7F);
                if (!(p[at++] & 0x80))
                    break;
            }
            tick += delta;
            if (at >= end)
                return "truncated event";
            if (p[at] & 0x80)
                status = p[at++];
            if (status == 0xFF) {
                if (at + 2 > end)
                    return "truncated meta event";
                const uint8_t type = p[at];
                const uint32_t size = p[at + 1];    // our files keep meta data under 128 bytes
                if (at + 2 + size > end)
                    return "meta event runs past its track";
                if (type == 0x51 && size == 3)
                    timed.push_back({tick, 0, (uint32_t)p[at + 2] << 16 | p[at + 3] << 8 | p[at + 4], ""});
                if (type == 0x06)
                    timed.push_back({tick, 1, 0, std::string((const char*)p + at + 2, size)});
                ended = type == 0x2F;
                at += 2 + size;
            } else if (status >= 0x80 && status < 0xF0) {
                const int kind = status >> 4, ch = status & 15;
                const int args = kind == 0xC || kind == 0xD ? 1 : 2;
                if (at + args > end)
                    return "truncated channel event";
                if (kind == 0x9 && p[at + 1] > 0) {
                    out.notes++;
                    if (std::find(out.channels.begin(), out.channels.end(), ch) == out.channels.end())
                        out.channels.push_back(ch);
                }
                if (kind == 0xC)
                    out.programs.push_back(p[at]);
                at += args;
            } else {
                return "unexpected status byte";
            }
        }
        if (!ended || at != end)
            return "track " + std::to_string(t) + " does not end with its end-of-track event";
        lasttick = std::max(lasttick, tick);
    }
    std::stable_sort(timed.begin(), timed.end(), [](const Timed& a, const Timed& b) { return a.tick < b.tick; });
    // Seconds at a tick, walking the tempo map (120 beats a minute until the first tempo).
    const auto seconds = [&](uint32_t tick) {
        double s = 0;
        uint32_t from = 0, micros = 500000;
        for (const Timed& e : timed) {
            if (e.kind != 0 || e.tick > tick)
                continue;
            s += (double)(e.tick - from) * micros / division / 1e6;
            from = e.tick, micros = e.value;
        }
        return s + (double)(tick - from) * micros / division / 1e6;
    };
    for (const Timed& e : timed)
        if (e.kind == 1)
            out.marks.push_back({e.text, seconds(e.tick)});
    out.seconds = seconds(lasttick);
    return "";
}
