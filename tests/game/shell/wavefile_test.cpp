// The RIFF WAVE reader on good and broken resources, and the formats that can be played.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "common/module.h"
#include "game/shell/wavefile.h"
#include "tests/game/shell/soundmodule.h"

namespace {

// A "fmt " chunk of a format that is not PCM, with cbSize (unless it is cut off) and its extra bytes.
Bytes ExtendedFormat(uint16_t cbsize, size_t extrapresent, bool withcbsize = true)
{
    Bytes body;
    PutLE(body, 2, 2);          // ADPCM
    PutLE(body, 1, 2);
    PutLE(body, 8000, 4);
    PutLE(body, 4000, 4);
    PutLE(body, 256, 2);
    PutLE(body, 4, 2);
    if (withcbsize)
        PutLE(body, cbsize, 2);
    body.insert(body.end(), extrapresent, 0x5A);
    return Chunk("fmt ", body);
}

Bytes Data(size_t bytes)
{
    Bytes body(bytes);
    for (size_t i = 0; i < bytes; i++)
        body[i] = (uint8_t)i;
    return Chunk("data", body);
}

// Overwrites a little-endian u32 at a byte offset.
Bytes Patch(Bytes b, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        b[at + i] = (uint8_t)(value >> (8 * i));
    return b;
}

struct ReaderCase {
    const char* name;
    Bytes bytes;
    const char* fault;          // null for a header that reads
    uint16_t channels = 0;
    uint32_t size = 0;
};

class WaveFileTest : public ::testing::Test {
protected:
    static std::vector<ReaderCase> Cases()
    {
        const Bytes mono8 = PcmFormatChunk(1, 11025, 8);
        const Bytes stereo16 = PcmFormatChunk(2, 44100, 16);
        const Bytes good = Riff(Join({mono8, Data(10)}));
        Bytes unpadded = Riff(Join({mono8, Data(5)}));
        unpadded.pop_back();
        unpadded = Patch(unpadded, 4, (uint32_t)unpadded.size() - 8);
        Bytes shortfmt = Chunk("fmt ", Bytes(14, 1));
        return {
            {"mono8", good, nullptr, 1, 10},
            {"stereo16", Riff(Join({stereo16, Data(16)})), nullptr, 2, 16},
            {"an odd chunk first, padded", Riff(Join({Chunk("LIST", Bytes(3, 7)), mono8, Data(5)})), nullptr, 1, 5},
            {"data before the format", Riff(Join({Data(6), mono8})), nullptr, 1, 6},
            {"the last chunk's pad missing", unpadded, nullptr, 1, 5},
            {"not PCM, extra bytes read", Riff(Join({ExtendedFormat(2, 2), Data(4)})), nullptr, 1, 4},
            {"empty data", Riff(Join({mono8, Data(0)})), nullptr, 1, 0},
            {"not RIFF", Patch(good, 0, 0x46464952 + 1), "not a RIFF WAVE file"},
            {"not WAVE", Patch(good, 8, 0x45564157 + 1), "not a RIFF WAVE file"},
            {"too short for a header", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A'}, "not a RIFF WAVE file"},
            {"RIFF size past the resource", Patch(good, 4, (uint32_t)good.size()), "the RIFF chunk runs past its data"},
            {"RIFF size of 3", Patch(good, 4, 3), "the RIFF chunk runs past its data"},
            {"data size past its data", Patch(good, 12 + mono8.size() + 4, 11), "a chunk runs past its data"},
            {"a chunk size of 4 GB", Patch(good, 16, 0xFFFFFFFF), "a chunk runs past its data"},
            {"a chunk header cut off", Riff(Join({mono8, Data(2), Bytes{'J', 'U', 'N'}})), "a chunk header runs past its data"},
            {"format shorter than 16 bytes", Riff(Join({shortfmt, Data(4)})), "the format chunk is shorter than 16 bytes"},
            {"not PCM, no extra size", Riff(Join({ExtendedFormat(0, 0, false), Data(4)})), "the format chunk has no extra size"},
            {"extra bytes past the format", Riff(Join({ExtendedFormat(6, 2), Data(4)})),
             "the format's extra bytes run past its chunk"},
            {"no format", Riff(Data(4)), "no format chunk"},
            {"no data", Riff(mono8), "no data chunk"},
            {"empty resource", {}, "the resource is empty"},
        };
    }

    void SetUp() override
    {
        std::vector<TestResource> resources;
        for (const ReaderCase& c : Cases())
            resources.push_back({"WAVE", c.name, c.bytes});
        resources.push_back({"WAV", "old type", MakeWav(1, 8000, 8, 3)});
        module.reset(OpenModuleFromBytes(SoundModuleBytes(resources)));
        ASSERT_NE(module, nullptr);
    }

    struct Closer {
        void operator()(Module* m) const { CloseModule(m); }
    };
    std::unique_ptr<Module, Closer> module;
};

TEST_F(WaveFileTest, HeadersGoodAndBroken)
{
    for (const ReaderCase& c : Cases()) {
        WaveFile wave;
        const WaveResult result = wave.Open(c.name, module.get());
        if (!c.fault) {
            EXPECT_EQ(result, WAVE_OK) << c.name << ": " << wave.Fault();
            ASSERT_NE(wave.Format(), nullptr) << c.name;
            EXPECT_EQ(wave.Format()->channels, c.channels) << c.name;
            EXPECT_EQ(wave.GetSize(), c.size) << c.name;
        } else {
            EXPECT_EQ(result, WAVE_FAIL) << c.name;
            EXPECT_STREQ(wave.Fault(), c.fault) << c.name;
            EXPECT_EQ(wave.Format(), nullptr) << c.name;
            EXPECT_EQ(wave.GetSize(), 0u) << c.name;
        }
    }
}

TEST_F(WaveFileTest, TheExtraBytesOfAFormatThatIsNotPcmAreKept)
{
    WaveFile wave;
    ASSERT_EQ(wave.Open("not PCM, extra bytes read", module.get()), WAVE_OK);
    EXPECT_EQ(wave.Format()->formattag, 2);
    EXPECT_EQ(wave.Format()->extra, (Bytes{0x5A, 0x5A}));
}

TEST_F(WaveFileTest, NamesAreFoundAsWaveThenWavIgnoringCase)
{
    WaveFile wave;
    EXPECT_EQ(wave.Open("OLD TYPE", module.get()), WAVE_OK);
    EXPECT_EQ(wave.Open("MONO8", module.get()), WAVE_OK);
    EXPECT_EQ(wave.Open("missing", module.get()), WAVE_FAIL);
    EXPECT_STREQ(wave.Fault(), "no such sound");
    EXPECT_EQ(wave.Open(nullptr, module.get()), WAVE_INVALIDARG);
    EXPECT_EQ(wave.Open("mono8", nullptr), WAVE_FAIL);
}

TEST_F(WaveFileTest, ReadsGiveWhatIsLeftAndNoMore)
{
    WaveFile wave;
    uint8_t buffer[16];
    uint32_t count = 99;
    EXPECT_EQ(wave.Read(buffer, 4, &count), WAVE_NOTOPEN);
    ASSERT_EQ(wave.Open("mono8", module.get()), WAVE_OK);
    ASSERT_EQ(wave.Read(buffer, 4, &count), WAVE_OK);
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(buffer[3], 3);
    ASSERT_EQ(wave.Read(buffer, 16, &count), WAVE_OK);
    EXPECT_EQ(count, 6u);
    EXPECT_EQ(buffer[0], 4);
    EXPECT_EQ(buffer[5], 9);
    ASSERT_EQ(wave.Read(buffer, 16, &count), WAVE_OK);
    EXPECT_EQ(count, 0u);
    ASSERT_EQ(wave.ResetFile(), WAVE_OK);
    ASSERT_EQ(wave.Read(buffer, 16, &count), WAVE_OK);
    EXPECT_EQ(count, 10u);
    EXPECT_EQ(wave.Read(nullptr, 1, &count), WAVE_INVALIDARG);
    EXPECT_EQ(wave.Close(), WAVE_OK);
    EXPECT_EQ(wave.Close(), WAVE_NOTOPEN);
}

struct PlayableCase {
    const char* what;
    WaveFormat format;
    uint32_t size;
    const char* why;            // null when playable
};

TEST(UnplayableWave, TheFormatsWePlay)
{
    const PlayableCase cases[] = {
        {"8-bit mono", {1, 1, 11025, 11025, 1, 8, {}}, 100, nullptr},
        {"16-bit stereo", {1, 2, 48000, 192000, 4, 16, {}}, 100, nullptr},
        {"100 Hz", {1, 1, 100, 100, 1, 8, {}}, 1, nullptr},
        {"200 kHz", {1, 1, 200000, 200000, 1, 8, {}}, 1, nullptr},
        {"two minutes", {1, 1, 1000, 1000, 1, 8, {}}, 120000, nullptr},
        {"not PCM", {2, 1, 8000, 4000, 256, 4, {0, 0}}, 100, "the format is not PCM"},
        {"0 channels", {1, 0, 8000, 0, 0, 8, {}}, 100, "it has 0 channels"},
        {"3 channels", {1, 3, 8000, 24000, 3, 8, {}}, 100, "it has more than two channels"},
        {"12 bits", {1, 1, 8000, 16000, 2, 12, {}}, 100, "its samples are neither 8 nor 16 bits"},
        {"rate 0", {1, 1, 0, 0, 1, 8, {}}, 100, "its rate is 0"},
        {"99 Hz", {1, 1, 99, 99, 1, 8, {}}, 100, "its rate is out of range"},
        {"200001 Hz", {1, 1, 200001, 200001, 1, 8, {}}, 100, "its rate is out of range"},
        {"block align off", {1, 2, 8000, 32000, 2, 16, {}}, 100, "its block size does not fit its format"},
        {"no samples", {1, 2, 8000, 32000, 4, 16, {}}, 3, "it holds no samples"},
        {"over two minutes", {1, 1, 1000, 1000, 1, 8, {}}, 120001, "it is longer than two minutes"},
    };
    for (const PlayableCase& c : cases) {
        const char* const why = UnplayableWave(c.format, c.size);
        if (c.why)
            EXPECT_STREQ(why, c.why) << c.what;
        else
            EXPECT_EQ(why, nullptr) << c.what << ": " << why;
    }
}

} // namespace
