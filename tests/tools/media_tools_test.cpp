// The media generators, run as the build runs them: what they refuse, with a message naming the file
// and line (or the package to install), and the files they write.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void Write(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

uint32_t U32(const std::string& s, size_t at)
{
    return (uint8_t)s[at] | (uint8_t)s[at + 1] << 8 | (uint8_t)s[at + 2] << 16 | (uint32_t)(uint8_t)s[at + 3] << 24;
}

class MediaTool : public testing::Test {
protected:
    void SetUp() override
    {
        const testing::TestInfo* const info = testing::UnitTest::GetInstance()->current_test_info();
        root = fs::path(GORV_SCRATCH_DIR) / (std::string(info->test_suite_name()) + "." + info->name());
        fs::remove_all(root);
        fs::create_directories(root / "out");
    }
    // Runs a program with arguments; true when it fails. Its messages go to `errors`.
    bool Run(const std::string& program, const std::string& args)
    {
        const std::string command = "\"" + program + "\" " + args + " 2> \"" + (root / "errors.txt").string() + "\"";
        const int status = std::system(command.c_str());
        errors = ReadAll(root / "errors.txt");
        return status != 0;
    }
    bool Art()
    {
        return Run(GORVART, "\"" + (root / "art").string() + "\" \"" + GORV_TILES_DIR + "\" \"" + GORV_LETTERING_FONT +
                                "\" \"" + (root / "out").string() + "\"");
    }
    fs::path root;
    std::string errors;
};

const std::string playeratlas = "atlas player player.png "
                                "b96b07ad9b48b2c7a7f57677d693701b5c4a2d2b0ade22b8fd7b9afa80495556\n";

} // namespace

TEST_F(MediaTool, ArtRefusesAnAtlasWhoseDigestChanged)
{
    Write(root / "art/atlases.txt", "atlas player player.png " + std::string(64, '0') + "\n");
    EXPECT_TRUE(Art());
    EXPECT_NE(errors.find("player.png is not the one the cut lists were written for"), std::string::npos) << errors;
    EXPECT_NE(errors.find("crawl-tiles-data has changed"), std::string::npos) << errors;
}

TEST_F(MediaTool, ArtNamesThePackageWhenAnAtlasIsMissing)
{
    Write(root / "art/atlases.txt", "atlas lost missing.png " + std::string(64, '0') + "\n");
    EXPECT_TRUE(Art());
    EXPECT_NE(errors.find("install the Debian package crawl-tiles-data"), std::string::npos) << errors;
}

TEST_F(MediaTool, ArtRefusesACutOutsideItsAtlasWithFileAndLine)
{
    Write(root / "art/atlases.txt", playeratlas);
    Write(root / "art/terrain.cut", "sheet terrain.bmp 16 16 40 40\n"
                                    "cell 0 \"Open ground\" fill player 1000 2070 32 32\n");
    EXPECT_TRUE(Art());
    EXPECT_NE(errors.find("terrain.cut:2: rectangle outside player"), std::string::npos) << errors;
}

// A cut must hold one figure: a piece of the next sprite at its edge, or a cut larger than the cell it
// is squeezed into, is refused by file and line; edgeok and alone are the two ways to accept such a cut.
TEST_F(MediaTool, ArtRefusesACutHoldingAPieceOfItsNeighbour)
{
    struct Case {
        const char* layers;
        const char* refusal;    // nullptr: accepted
    } const cases[] = {
        // A bat with the tail of the creature above it, and the same cut told to keep the bat alone.
        {"centre player 701 673 34 38", "a piece of"},
        {"centre player 701 673 34 38 alone", nullptr},
        // A skeleton cut clean.
        {"centre player 916 1510 28 34", nullptr},
        // A winged figure with a corner of its neighbour, and the same told to keep the figure.
        {"centre player 52 1253 33 33", "a piece of"},
        {"centre player 52 1253 33 33 alone", nullptr},
        // Coins in loose piles that end at the tile's own edge.
        {"centre main 192 688 32 32", "a piece of"},
        {"centre main 192 688 32 32 edgeok", nullptr},
    };
    Write(root / "art/atlases.txt", playeratlas +
                                        "atlas main main.png "
                                        "89f404ae30ab05c91e96d50bd166169c0819bbe61951b31ed1517c7c0cd912df\n");
    std::string units = "sheet units.bmp 16 16 40 40\n";
    for (size_t i = 0; i < std::size(cases); i++)
        units += "cell " + std::to_string(i) + " \"Case\" " + cases[i].layers + "\n";
    Write(root / "art/units.cut", units);
    // An effect wider than a cell.
    Write(root / "art/spellanim.cut", "sheet spellanim.bmp 16 24 40 40\nanim 0 \"Bolt\" cycle main 252 870 75 32\n");
    EXPECT_TRUE(Art());
    for (size_t i = 0; i < std::size(cases); i++) {
        const std::string at = "units.cut:" + std::to_string(i + 2) + ": ";
        const size_t found = errors.find(at);
        EXPECT_EQ(found != std::string::npos, cases[i].refusal != nullptr) << cases[i].layers << "\n" << errors;
        if (cases[i].refusal && found != std::string::npos)
            EXPECT_EQ(errors.compare(found + at.size(), strlen(cases[i].refusal), cases[i].refusal), 0)
                << cases[i].layers << "\n" << errors;
    }
    EXPECT_NE(errors.find("spellanim.cut:2: the cut is 75 x 32, larger than the 40 x 40 cell"), std::string::npos)
        << errors;
}

TEST_F(MediaTool, SoundWritesQuietEdgedPcmBelowFullScaleAndItsManifest)
{
    Write(root / "sounds.txt", "# one sound\nGSTest : tone f=440 dur=0.3 d=0.1 ; noise c=pink lp=800 dur=0.2\n");
    ASSERT_FALSE(Run(GORVSOUND, "\"" + (root / "sounds.txt").string() + "\" \"" + (root / "out").string() + "\"")) << errors;
    const std::string wav = ReadAll(root / "out/GSTest.wav");
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(U32(wav, 4) + 8, wav.size());
    int peak = 0;
    for (size_t i = 44; i + 1 < wav.size(); i += 2)
        peak = std::max(peak, std::abs((int)(int16_t)((uint8_t)wav[i] | (uint8_t)wav[i + 1] << 8)));
    EXPECT_EQ(peak, 15400);     // 0.47 of full scale: two at once do not clip
    EXPECT_EQ((int16_t)((uint8_t)wav[44] | (uint8_t)wav[45] << 8), 0);
    EXPECT_NE(ReadAll(root / "out/tavel.manifest").find("resource WAVE .\\Sound\\GSTest.wav GSTest.wav\n"),
              std::string::npos);
}

TEST_F(MediaTool, SoundTakesOutTheOffsetOfNoiseAndLowSweeps)
{
    // Each drifts well off zero when left alone: brown noise, a low falling thud, a long low rumble.
    Write(root / "sounds.txt", "Brown : noise c=brown lp=500 dur=0.4 d=0.15\n"
                               "Thud : tone f=110 to=45 dur=0.3 d=0.09 ; noise c=brown lp=500 dur=0.15 d=0.04\n"
                               "Rumble : noise c=brown lp=180 dur=1.4 a=0.1 d=0.6\n");
    ASSERT_FALSE(Run(GORVSOUND, "\"" + (root / "sounds.txt").string() + "\" \"" + (root / "out").string() + "\"")) << errors;
    for (const char* name : {"Brown", "Thud", "Rumble"}) {
        const std::string wav = ReadAll(root / "out" / (std::string(name) + ".wav"));
        double sum = 0;
        size_t count = 0;
        for (size_t i = 44; i + 1 < wav.size(); i += 2, count++)
            sum += (int16_t)((uint8_t)wav[i] | (uint8_t)wav[i + 1] << 8);
        ASSERT_GT(count, 0u) << name;
        EXPECT_LT(std::fabs(sum / count), 0.005 * 32768) << name << ": an offset of " << sum / count;
    }
}

TEST_F(MediaTool, SoundRefusesAnUnknownKeyWithFileAndLine)
{
    Write(root / "sounds.txt", "\nGSTest : tone f=440 loudness=9\n");
    EXPECT_TRUE(Run(GORVSOUND, "\"" + (root / "sounds.txt").string() + "\" \"" + (root / "out").string() + "\""));
    EXPECT_NE(errors.find("sounds.txt:2: unknown key loudness"), std::string::npos) << errors;
}

TEST_F(MediaTool, MusicRefusesABarThatDoesNotAddUp)
{
    Write(root / "song.score", "time 4/4\npart lead style=melody program=73 channel=0\n"
                               "section A tempo=100\n  lead: c5/4 d5/4 e5/4 | f5/1\nplay A\n");
    EXPECT_TRUE(Run(GORVMUSIC, "\"" + (root / "song.score").string() + "\" \"" + (root / "out/song.mid").string() + "\""));
    EXPECT_NE(errors.find("a bar of lead lasts 1440 ticks, not 1920"), std::string::npos) << errors;
}

TEST_F(MediaTool, MusicWritesOneTrackPerPartAfterTheConductor)
{
    Write(root / "song.score", "time 3/4\npart lead style=melody program=73 channel=0\n"
                               "part bass style=bass program=32 channel=1 octave=2\n"
                               "section A us=600000\n  chords: C/2. | G/2.\n  lead: e5/2 g5/4 | d5/2.\nplay A A\n");
    ASSERT_FALSE(Run(GORVMUSIC, "\"" + (root / "song.score").string() + "\" \"" + (root / "out/song.mid").string() + "\""))
        << errors;
    const std::string mid = ReadAll(root / "out/song.mid");
    ASSERT_GE(mid.size(), 14u);
    EXPECT_EQ(mid.substr(0, 8), std::string("MThd\0\0\0\6", 8));
    EXPECT_EQ(mid[9], 1);       // format 1
    EXPECT_EQ(mid[11], 3);      // conductor, lead, bass
    // The tempo of each section, in microseconds a quarter, as the score gave it.
    EXPECT_NE(mid.find(std::string("\xFF\x51\x03\x09\x27\xC0", 6)), std::string::npos);
}
