// The Standard MIDI file check and the song length it measures.
#include <gtest/gtest.h>

#include "platform/midifile.h"
#include "tests/platform/fixtures/media.h"

namespace {

Bytes Song(const Bytes& events, uint16_t division = 480)
{
    return Join({MidiHeader(0, 1, division), Track(events)});
}

struct GoodCase {
    const char* what;
    Bytes file;
    uint32_t lengthms;
};

TEST(MidiFile, MeasuresEveryKindOfFile)
{
    const GoodCase cases[] = {
        {"four beats at 120 a minute", MakeSong(4), 2000},
        {"four beats at 60 a minute", MakeSong(4, 1000000), 4000},
        {"default tempo without a tempo event", Song(Join({NoteEvents(60, 960), EndOfTrack(0)})), 1000},
        {"a tempo change halfway",
         Song(Join({TempoEvent(0, 500000), NoteEvents(60, 480), TempoEvent(0, 1000000), NoteEvents(62, 480),
                    EndOfTrack(0)})),
         1500},
        {"the last note ends it, not an end of track after it", Song(Join({NoteEvents(60, 480), EndOfTrack(480)})), 500},
        {"a note off on another track, and a control change after it",
         Join({MidiHeader(1, 2, 480), Track(Join({NoteEvents(60, 480), Bytes{0x83, 0x60, 0xB0, 7, 100}, EndOfTrack(0)})),
               Track(Join({Bytes{0x00, 0x91, 62, 90, 0x87, 0x40, 0x91, 62, 0}, EndOfTrack(960)}))}),
         1000},
        {"running status, sysex and a text event",
         Song(Join({Bytes{0x00, 0x90, 60, 100, 0x83, 0x60, 60, 0, 0x00, 0xF0, 0x02, 0x7E, 0xF7,
                          0x00, 0xFF, 0x01, 0x03, 'a', 'b', 'c'},
                    EndOfTrack(0)})),
         500},
        {"format 1: the tempo track and the longest track decide",
         Join({MidiHeader(1, 2, 96), Track(Join({TempoEvent(0, 250000), EndOfTrack(0)})),
               Track(Join({NoteEvents(60, 96 * 8), EndOfTrack(0)}))}),
         2000},
        {"a chunk of another kind between the tracks",
         Join({MidiHeader(0, 1, 480), Chunk("XFIH", Bytes{1, 2, 3}, true), Track(Join({NoteEvents(60, 480), EndOfTrack(0)}))}),
         500},
        {"time code division: 25 frames of 40 ticks", Song(Join({NoteEvents(60, 2000), EndOfTrack(0)}), 0xE728), 2000},
        {"bytes after the end of track are not events", Song(Join({EndOfTrack(480), Bytes{0xF4, 0xF4}})), 500},
    };
    for (const GoodCase& c : cases) {
        uint32_t ms = 12345;
        EXPECT_FALSE(MeasureMidiFile(c.file.data(), c.file.size(), &ms)) << c.what;
        EXPECT_EQ(ms, c.lengthms) << c.what;
    }
}

struct BadCase {
    const char* what;
    Bytes file;
};

TEST(MidiFile, RefusesWhatIsNotAStandardMidiFile)
{
    const Bytes note = Join({NoteEvents(60, 480), EndOfTrack(0)});
    Bytes shorttrack = Song(note);
    shorttrack.resize(shorttrack.size() - 2);
    Bytes shortheader = MidiHeader(0, 1, 480);
    shortheader[7] = 5;
    const BadCase cases[] = {
        {"empty", {}},
        {"a RIFF file", MakeWav(1, 8000, 8, 10)},
        {"a header shorter than six bytes", Join({shortheader, Track(note)})},
        {"format 3", Join({MidiHeader(3, 1, 480), Track(note)})},
        {"no tracks", MidiHeader(1, 0, 480)},
        {"format 0 with two tracks", Join({MidiHeader(0, 2, 480), Track(note), Track(note)})},
        {"a division of 0", Song(note, 0)},
        {"a time code of 23 frames", Song(note, 0xE928)},
        {"a track past the end of the file", shorttrack},
        {"fewer tracks than the header counts", Join({MidiHeader(1, 3, 480), Track(note), Track(note)})},
        {"a delta of five bytes", Song(Bytes{0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 100})},
        {"a delta cut off", Song(Bytes{0x00, 0x90, 60, 100, 0x81})},
        {"a data byte with no status before it", Song(Bytes{0x00, 60, 100})},
        {"a status byte where data belongs", Song(Bytes{0x00, 0x90, 60, 0x90})},
        {"a note cut off", Song(Bytes{0x00, 0x90, 60})},
        {"a real-time byte in the file", Song(Bytes{0x00, 0xF8})},
        {"a meta event longer than its track", Song(Bytes{0x00, 0xFF, 0x01, 0x10, 'a'})},
        {"a sysex longer than its track", Song(Bytes{0x00, 0xF0, 0x05, 0x01})},
        {"a tempo event of two bytes", Song(Bytes{0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1})},
        {"a tempo of 0", Song(Join({TempoEvent(0, 0), EndOfTrack(0)}))},
    };
    for (const BadCase& c : cases) {
        uint32_t ms = 0;
        EXPECT_TRUE(MeasureMidiFile(c.file.data(), c.file.size(), &ms)) << c.what;
    }
}

TEST(MidiFile, AHostileTempoMapCannotOverflowTheLength)
{
    // The longest deltas at the slowest tempo and one tick a beat: far past 32 bits of milliseconds.
    Bytes events = TempoEvent(0, 0xFFFFFF);
    for (int i = 0; i < 64; i++) {
        const Bytes delta = VarLen(0x0FFFFFFF);
        events.insert(events.end(), delta.begin(), delta.end());
        events.insert(events.end(), {0x90, 60, 100});
    }
    const Bytes file = Song(events, 1);
    uint32_t ms = 0;
    ASSERT_FALSE(MeasureMidiFile(file.data(), file.size(), &ms));
    EXPECT_EQ(ms, UINT32_MAX);
}

} // namespace
