#include "update_fixture.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "common/module.h"
#include "platform/dirhandle.h"
#include "update/version.h"

namespace fs = std::filesystem;

void GameDirTest::SetUp()
{
    std::string pattern = (fs::path(testing::TempDir()) / "gorv_update_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    ASSERT_EQ(OpenDirHandle(dir.string(), &handle), 0);
}

void GameDirTest::TearDown()
{
    CloseDirHandle(handle);
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}

void GameDirTest::Write(const std::string& name, const std::string& bytes, unsigned mode)
{
    const fs::path path = dir / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    fs::permissions(path, fs::perms(mode));
}

std::string GameDirTest::Read(const std::string& name) const
{
    std::ifstream in(dir / name, std::ios::binary);
    if (!in)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> GameDirTest::Listing() const
{
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir))
        if (e.path().filename() != UPDATELOG_FILE)
            names.push_back(e.path().lexically_relative(dir).string() + (e.is_directory() ? "/" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

UpdateJob GameDirTest::MakeJob(const std::string& baseurl, uint32_t current)
{
    UpdateJob job;
    job.root = dir.string();
    job.dir = handle;
    job.baseurl = baseurl;
    job.http.connecttimeoutms = 2000;
    job.http.lowspeedbytes = 1000;      // loopback answers far faster; a stall is found within a second
    job.http.lowspeedseconds = 1;
    job.currentversion = current;
    job.ui = &ui;
    return job;
}

namespace {

void PutU32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        out += (char)(v >> (8 * i));
}

} // namespace

std::string StringModule(const std::map<uint32_t, std::string>& strings)
{
    std::string out;
    PutU32(out, MODULE_MAGIC);
    PutU32(out, MODULE_VERSION);
    PutU32(out, (uint32_t)strings.size());
    PutU32(out, 0);
    uint32_t offset = MODULE_HEADERSIZE + MODULE_STRINGENTRY * (uint32_t)strings.size();
    std::string data;
    for (const auto& [id, text] : strings) {
        PutU32(out, id);
        PutU32(out, offset + (uint32_t)data.size());
        PutU32(out, (uint32_t)text.size());
        data += text;
    }
    return out + data;
}

std::string VersionModule(const std::string& a, const std::string& b, const std::string& c, const std::string& d)
{
    return StringModule({{STR_VERSION, a}, {STR_VERSION + 1, b}, {STR_VERSION + 2, c}, {STR_VERSION + 3, d}});
}
