// The songs of Music/: seven Standard MIDI files, real tunes of a length that suits where they play,
// and the loading song phrased to the splash screen's marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "media.h"

namespace {

struct Expected {
    const char* name;
    double least, most;     // seconds
};

// The lulls play once each in turn; menu, night and idle are restarted when they end; the loading song
// covers the splash, at most 34 seconds.
const Expected songs[] = {
    {"Lull1", 60, 130}, {"Lull2", 60, 130}, {"Lull3", 60, 130}, {"Menu", 60, 130},
    {"Night", 60, 130}, {"Idle", 60, 130},  {"Load", 34, 45},
};

Song Read(const char* name)
{
    Song s;
    const std::string error = ReadSong(std::string(GORV_DIST_DIR) + "/Music/" + name + ".mid", s);
    EXPECT_EQ(error, "") << name;
    return s;
}

} // namespace

TEST(ShippedSongs, EverySongIsAStandardMidiFileOfItsLength)
{
    for (const Expected& e : songs) {
        const Song s = Read(e.name);
        EXPECT_GE(s.seconds, e.least) << e.name;
        EXPECT_LE(s.seconds, e.most) << e.name;
        // A tune: melody, harmony and bass on General MIDI instruments, with plenty of notes.
        EXPECT_GE(s.channels.size(), 3u) << e.name;
        EXPECT_GE(s.programs.size(), 3u) << e.name;
        EXPECT_GE(s.notes / s.seconds, 1.5) << e.name;
    }
}

TEST(ShippedSongs, TheLoadingSongTurnsAPhraseAtEachSplashMark)
{
    // The splash ends at the first of these marks that loading has not passed; the song closes a phrase
    // (a section of the score) on each, so the music stops on a cadence.
    const Song s = Read("Load");
    for (const double mark : {11.854, 21.0, 34.0}) {
        const bool phrased = std::any_of(s.marks.begin(), s.marks.end(),
                                         [&](const auto& m) { return std::fabs(m.second - mark) < 0.010; });
        EXPECT_TRUE(phrased) << "no phrase turns at " << mark << " s";
    }
}
