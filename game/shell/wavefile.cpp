// RIFF WAVE over a copy of a module's resource.
#include "game/shell/wavefile.h"

#include <cstring>

#include "common/module.h"

namespace {

constexpr uint32_t minrate = 100;
constexpr uint32_t maxrate = 200000;
constexpr uint64_t longestms = 120000;

uint32_t U32(const uint8_t* p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

uint16_t U16(const uint8_t* p)
{
    return (uint16_t)(p[0] | p[1] << 8);
}

} // namespace

WaveResult WaveFile::Fail(const char* why)
{
    fault = why;
    return WAVE_FAIL;
}

WaveResult WaveFile::Open(const char* name, const Module* module)
{
    if (!name)
        return WAVE_INVALIDARG;
    Close();
    format.reset();
    size = left = 0;
    ModuleData res;
    if (!module || (FindModuleResource(module, "WAVE", name, &res) && FindModuleResource(module, "WAV", name, &res)))
        return Fail("no such sound");
    if (res.size == 0)
        return Fail("the resource is empty");
    resource.assign(res.data, res.data + res.size);
    opened = true;
    WaveResult result = ReadHeader();
    if (result == WAVE_OK)
        result = ResetFile();
    if (result != WAVE_OK) {
        Close();
        format.reset();
    }
    return result;
}

WaveResult WaveFile::ReadHeader()
{
    if (!opened)
        return WAVE_NOTOPEN;
    format.reset();
    size = left = 0;
    const uint8_t* const bytes = resource.data();
    if (resource.size() < 12 || memcmp(bytes, "RIFF", 4) != 0 || memcmp(bytes + 8, "WAVE", 4) != 0)
        return Fail("not a RIFF WAVE file");
    const uint32_t riffsize = U32(bytes + 4);
    if (riffsize < 4 || riffsize > resource.size() - 8)
        return Fail("the RIFF chunk runs past its data");
    const size_t end = 8 + (size_t)riffsize;

    // Every chunk inside the RIFF one is checked, so that no size points past the data.
    std::optional<WaveFormat> found;
    bool havedata = false;
    size_t foundat = 0;
    uint32_t foundsize = 0;
    for (size_t at = 12; at < end;) {
        if (end - at < 8)
            return Fail("a chunk header runs past its data");
        const uint8_t* const chunk = bytes + at;
        const uint32_t length = U32(chunk + 4);
        if (length > end - at - 8)
            return Fail("a chunk runs past its data");
        const uint8_t* const body = chunk + 8;
        if (memcmp(chunk, "fmt ", 4) == 0 && !found) {
            if (length < 16)
                return Fail("the format chunk is shorter than 16 bytes");
            WaveFormat f{U16(body), U16(body + 2), U32(body + 4), U32(body + 8), U16(body + 12), U16(body + 14), {}};
            if (f.formattag != WAVE_FORMAT_PCM) {
                if (length < 18)
                    return Fail("the format chunk has no extra size");
                const uint16_t extrasize = U16(body + 16);
                if (extrasize > length - 18)
                    return Fail("the format's extra bytes run past its chunk");
                f.extra.assign(body + 18, body + 18 + extrasize);
            }
            found = std::move(f);
        } else if (memcmp(chunk, "data", 4) == 0 && !havedata) {
            havedata = true;
            foundat = at + 8;
            foundsize = length;
        }
        // Chunks are padded to an even length; the pad of the last one may be missing.
        at += 8 + (size_t)length + (length & 1);
    }
    if (!found)
        return Fail("no format chunk");
    if (!havedata)
        return Fail("no data chunk");
    format = std::move(found);
    dataat = foundat;
    size = foundsize;
    return WAVE_OK;
}

WaveResult WaveFile::ResetFile()
{
    if (!opened || !format)
        return WAVE_NOTOPEN;
    left = size;
    return WAVE_OK;
}

uint32_t WaveFile::GetSize() const
{
    return size;
}

WaveResult WaveFile::Read(uint8_t* buffer, uint32_t bytes, uint32_t* count)
{
    if (!buffer || !count)
        return WAVE_INVALIDARG;
    *count = 0;
    if (!opened || !format)
        return WAVE_NOTOPEN;
    const uint32_t n = bytes < left ? bytes : left;
    memcpy(buffer, resource.data() + dataat + (size - left), n);
    left -= n;
    *count = n;
    return WAVE_OK;
}

WaveResult WaveFile::Close()
{
    if (!opened)
        return WAVE_NOTOPEN;
    resource.clear();
    resource.shrink_to_fit();
    opened = false;
    return WAVE_OK;
}

const WaveFormat* WaveFile::Format() const
{
    return format ? &*format : nullptr;
}

const char* WaveFile::Fault() const
{
    return fault;
}

const char* UnplayableWave(const WaveFormat& f, uint32_t size)
{
    if (f.formattag != WAVE_FORMAT_PCM)
        return "the format is not PCM";
    if (f.channels == 0)
        return "it has 0 channels";
    if (f.channels > 2)
        return "it has more than two channels";
    if (f.bitspersample != 8 && f.bitspersample != 16)
        return "its samples are neither 8 nor 16 bits";
    if (f.samplespersec == 0)
        return "its rate is 0";
    if (f.samplespersec < minrate || f.samplespersec > maxrate)
        return "its rate is out of range";
    if (f.blockalign != f.channels * f.bitspersample / 8)
        return "its block size does not fit its format";
    if (size < f.blockalign)
        return "it holds no samples";
    if ((uint64_t)size / f.blockalign * 1000 / f.samplespersec > longestms)
        return "it is longer than two minutes";
    return nullptr;
}
