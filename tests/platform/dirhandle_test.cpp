// Folders held open: every call below one refuses a link on the way, and a folder's lock names its holder.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/dirhandle.h"

namespace {

namespace fs = std::filesystem;

class DirHandleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::path(testing::TempDir()) / "gorv_dirhandle_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        top = pattern;
        dir = top / "game";
        outside = top / "outside";
        fs::create_directories(dir / "Music");
        fs::create_directories(outside);
        std::ofstream(dir / "Music/Lull1.mid") << "song";
        std::ofstream(outside / "Lull1.mid") << "someone else's";
        fs::create_directory_symlink(outside, dir / "Linked");
        ASSERT_EQ(OpenDirHandle(dir.string(), &handle), 0);
    }
    void TearDown() override
    {
        CloseDirHandle(handle);
        fs::remove_all(top);
    }
    fs::path top, dir, outside;
    int handle = -1;
};

// Each call, given a name through the link to the folder outside, fails and leaves the outside as it was.
TEST_F(DirHandleTest, NoCallGoesThroughALink)
{
    const struct {
        const char* what;
        std::function<int()> call;
    } cases[] = {
        {"open", [&] { int sub = -1; const int code = OpenDirBeneath(handle, "Linked", &sub); CloseDirHandle(sub); return code; }},
        {"kind", [&] { FileKind kind; return KindBeneath(handle, "Linked/Lull1.mid", &kind); }},
        {"mkdir", [&] { return MakeDirBeneath(handle, "Linked/New"); }},
        {"mkdir over the link", [&] { return MakeDirBeneath(handle, "Linked"); }},
        {"create", [&] { return WriteNewFileBeneath(handle, "Linked/New.mid", "x", 1, 0644); }},
        {"rename into", [&] { return RenameBeneath(handle, "Music/Lull1.mid", "Linked/Lull1.mid"); }},
        {"rename out of", [&] { return RenameBeneath(handle, "Linked/Lull1.mid", "Music/Taken.mid"); }},
        {"link", [&] { return LinkBeneath(handle, "Linked/Lull1.mid", "Music/Taken.mid"); }},
        {"chmod", [&] { return SetModeBeneath(handle, "Linked/Lull1.mid", 0600); }},
        {"unlink", [&] { return RemoveFileBeneath(handle, "Linked/Lull1.mid"); }},
        {"rmdir", [&] { return RemoveDirBeneath(handle, "Linked"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int code = c.call();
        EXPECT_TRUE(code == ELOOP || code == ENOTDIR) << code;
        std::ifstream in(outside / "Lull1.mid");
        std::string kept;
        std::getline(in, kept);
        EXPECT_EQ(kept, "someone else's");
        EXPECT_EQ(fs::status(outside / "Lull1.mid").permissions() & fs::perms::owner_read, fs::perms::owner_read);
        EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 1);
        EXPECT_TRUE(fs::exists(dir / "Music/Lull1.mid"));
    }
}

TEST_F(DirHandleTest, TheLockNamesItsHolderAndGoesWithIt)
{
    int first = -1;
    std::string heldby;
    ASSERT_EQ(LockDirHandle(handle, "update", &first, &heldby), 0);
    EXPECT_TRUE(fs::exists(dir / LOCKFILE_NAME));

    // A second holder, even in the same process through another handle, is told who holds it.
    int other = -1;
    ASSERT_EQ(OpenDirHandle(dir.string(), &other), 0);
    int second = -1;
    EXPECT_EQ(LockDirHandle(other, "installer", &second, &heldby), LOCK_HELDELSEWHERE);
    EXPECT_EQ(heldby, "update");
    EXPECT_EQ(second, -1);

    UnlockDirHandle(handle, first);
    EXPECT_FALSE(fs::exists(dir / LOCKFILE_NAME));
    ASSERT_EQ(LockDirHandle(other, "installer", &second, &heldby), 0);
    EXPECT_EQ(LockDirHandle(handle, "update", &first, &heldby), LOCK_HELDELSEWHERE);
    EXPECT_EQ(heldby, "installer");
    UnlockDirHandle(other, second);
    CloseDirHandle(other);

    // A lock file that is a link is never opened through.
    fs::create_symlink(outside / "Lull1.mid", dir / LOCKFILE_NAME);
    EXPECT_EQ(LockDirHandle(handle, "update", &first, &heldby), ELOOP);
}

// The folders of a chain made here are never followed once they became links; the user's links are.
TEST_F(DirHandleTest, AChainFollowsOnlyTheUsersLinks)
{
    std::vector<std::string> made;
    int end = -1;
    ASSERT_EQ(MakeDirChain((dir / "Linked/a/b").string(), &made, &end), 0);
    EXPECT_EQ(made, (std::vector<std::string>{(dir / "Linked/a").string(), (dir / "Linked/a/b").string()}));
    EXPECT_TRUE(fs::is_directory(outside / "a/b"));
    CloseDirHandle(end);

    static fs::path swap;
    swap = dir / "x";
    beneathhook = [](const char*, const std::string& path) {
        if (path == (swap / "y").string()) {
            fs::rename(swap, swap.string() + ".real");
            fs::create_directory_symlink(swap.parent_path().parent_path() / "outside", swap);
        }
    };
    made.clear();
    EXPECT_EQ(MakeDirChain((dir / "x/y/z").string(), &made, &end), 0);
    beneathhook = nullptr;
    // x was made here and held: y went into the folder itself, wherever it was moved, never outside.
    EXPECT_TRUE(fs::is_directory(dir / "x.real/y/z"));
    EXPECT_FALSE(fs::exists(outside / "y"));
    CloseDirHandle(end);
}

} // namespace
