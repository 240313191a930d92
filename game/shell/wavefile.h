// WaveFile: the reader of RIFF WAVE data in a sound module's resources.
//
// The bytes come from a file we may not have written: every chunk must lie inside the one that holds
// it, and a reader that fails says why (Fault) for the log.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

struct Module;

// Results of the reader's operations.
enum WaveResult : uint32_t {
    WAVE_OK = 0,
    WAVE_FAIL = 0x80004005,         // the resource is missing or malformed
    WAVE_INVALIDARG = 0x80070057,   // no name, or no place for a result
    WAVE_NOTOPEN = 0x800401F0,      // nothing is open
};

enum : uint16_t { WAVE_FORMAT_PCM = 1 };

// The "fmt " chunk.
struct WaveFormat {
    uint16_t formattag;
    uint16_t channels;
    uint32_t samplespersec;
    uint32_t avgbytespersec;
    uint16_t blockalign;
    uint16_t bitspersample;
    std::vector<uint8_t> extra;     // the bytes after cbSize of a format that is not PCM
};

class WaveFile {
public:
    WaveResult Open(const char* name, const Module* module); // copies resource name (type "WAVE", else "WAV") and reads its header
    WaveResult ReadHeader();            // checks the RIFF chunks and reads the format
    WaveResult ResetFile();             // goes to the start of the sample data
    uint32_t GetSize() const;           // bytes of sample data
    WaveResult Read(uint8_t* buffer, uint32_t bytes, uint32_t* count); // copies up to bytes of what is left
    WaveResult Close();                 // forgets the resource copy
    const WaveFormat* Format() const;   // null until a header was read
    const char* Fault() const;          // why the last failure happened ("" when none did)

private:
    WaveResult Fail(const char* why);

    std::vector<uint8_t> resource;      // the resource copy
    bool opened = false;
    std::optional<WaveFormat> format;
    size_t dataat = 0;                  // the data chunk's bytes in the copy
    uint32_t size = 0;
    uint32_t left = 0;                  // data not yet read
    const char* fault = "";
};

// Why sample data in this format cannot be played (null when it can): 8- or 16-bit PCM, one or two
// channels, 100 Hz to 200 kHz, at least one frame and at most two minutes.
const char* UnplayableWave(const WaveFormat& format, uint32_t size);
