// Standard MIDI files: every chunk and event is walked within its bounds, so a file that passes can be
// handed to the synthesiser, and its tempo map gives the song's length without playing it.
#include "platform/midifile.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t defaulttempo = 500000;   // microseconds per quarter note until a tempo event

struct TempoChange {
    uint64_t tick;
    uint32_t tempo;
};

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at;

    bool Left(size_t n) const { return size - at >= n; }
};

uint32_t BigEndian(const uint8_t* p, int bytes)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; i++)
        v = v << 8 | p[i];
    return v;
}

// A variable-length quantity: at most four bytes of seven bits; true on failure.
bool ReadVarLen(Reader& r, uint32_t* value)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; i++) {
        if (!r.Left(1))
            return true;
        const uint8_t b = r.data[r.at++];
        v = v << 7 | (b & 0x7F);
        if (!(b & 0x80)) {
            *value = v;
            return false;
        }
    }
    return true;
}

// How many data bytes follow a channel message's status byte.
int ChannelDataBytes(uint8_t status)
{
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// Walks one track's events; true when one is malformed. Gives the tick of its last event, of its last
// note on or off (0 when it has none) and its tempo changes.
bool WalkTrack(Reader track, uint64_t* endtick, uint64_t* notetick, std::vector<TempoChange>& tempos)
{
    uint64_t tick = 0;
    uint8_t running = 0;
    while (track.Left(1)) {
        uint32_t delta;
        if (ReadVarLen(track, &delta) || !track.Left(1))
            return true;
        tick += delta;
        uint8_t status = track.data[track.at];
        if (status & 0x80)
            track.at++;
        else if (running)
            status = running;
        else
            return true;    // a data byte with no status to repeat

        if (status < 0xF0) {
            running = status;
            const int n = ChannelDataBytes(status);
            if (!track.Left(n))
                return true;
            for (int i = 0; i < n; i++)
                if (track.data[track.at + i] & 0x80)
                    return true;
            track.at += n;
            if ((status & 0xF0) == 0x80 || (status & 0xF0) == 0x90)
                *notetick = tick;
        } else if (status == 0xF0 || status == 0xF7) {
            running = 0;
            uint32_t length;
            if (ReadVarLen(track, &length) || !track.Left(length))
                return true;
            track.at += length;
        } else if (status == 0xFF) {
            running = 0;
            if (!track.Left(1))
                return true;
            const uint8_t type = track.data[track.at++];
            uint32_t length;
            if (ReadVarLen(track, &length) || !track.Left(length))
                return true;
            if (type == 0x51) {
                if (length != 3)
                    return true;
                const uint32_t tempo = BigEndian(track.data + track.at, 3);
                if (tempo == 0)
                    return true;
                tempos.push_back({tick, tempo});
            }
            track.at += length;
            if (type == 0x2F)
                break;      // end of track: what follows in the chunk is not events
        } else {
            return true;    // real-time and common messages do not belong in a file
        }
    }
    *endtick = tick;
    return false;
}

// Milliseconds from tick 0 to endtick under the tempo changes (sorted by tick). In floating point: a
// hostile file's ticks times its tempo could pass 64 bits.
double TicksToMs(uint64_t endtick, const std::vector<TempoChange>& tempos, uint32_t division)
{
    if (division & 0x8000) {
        // Time code: frames per second in the high byte (negative), ticks per frame in the low one.
        const double fps = -(int8_t)(division >> 8);
        const double perframe = division & 0xFF;
        return (double)endtick * 1000.0 / (fps * perframe);
    }
    double us = 0;
    uint64_t tick = 0;
    uint32_t tempo = defaulttempo;
    for (const TempoChange& t : tempos) {
        if (t.tick >= endtick)
            break;
        us += (double)(t.tick - tick) * tempo / division;
        tick = t.tick;
        tempo = t.tempo;
    }
    us += (double)(endtick - tick) * tempo / division;
    return us / 1000.0;
}

} // namespace

bool MeasureMidiFile(const uint8_t* data, size_t size, uint32_t* lengthms)
{
    if (!data || size < 14 || memcmp(data, "MThd", 4) != 0)
        return true;
    const uint32_t headersize = BigEndian(data + 4, 4);
    if (headersize < 6 || headersize > size - 8)
        return true;
    const uint32_t format = BigEndian(data + 8, 2);
    const uint32_t tracks = BigEndian(data + 10, 2);
    const uint32_t division = BigEndian(data + 12, 2);
    if (format > 2 || tracks == 0 || (format == 0 && tracks != 1))
        return true;
    if (division & 0x8000) {
        const int fps = -(int8_t)(division >> 8);
        if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || (division & 0xFF) == 0)
            return true;
    } else if (division == 0) {
        return true;
    }

    Reader file{data, size, 8 + (size_t)headersize};
    std::vector<TempoChange> tempos;
    uint64_t endtick = 0, notetick = 0;
    uint32_t found = 0;
    while (found < tracks) {
        // Chunks of other types may sit between the tracks; readers skip them.
        if (!file.Left(8))
            return true;
        const uint8_t* chunk = file.data + file.at;
        const uint32_t length = BigEndian(chunk + 4, 4);
        file.at += 8;
        if (!file.Left(length))
            return true;
        if (memcmp(chunk, "MTrk", 4) == 0) {
            uint64_t trackend = 0, tracknote = 0;
            if (WalkTrack(Reader{file.data + file.at, length, 0}, &trackend, &tracknote, tempos))
                return true;
            endtick = std::max(endtick, trackend);
            notetick = std::max(notetick, tracknote);
            found++;
        }
        file.at += length;
    }

    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    // A song is over at its last note; what rings on after it is no part of its time.
    const double ms = TicksToMs(notetick ? notetick : endtick, tempos, division);
    *lengthms = ms >= (double)UINT32_MAX ? UINT32_MAX : (uint32_t)ms;
    return false;
}
