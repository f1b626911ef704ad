#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <kesutils/plot_style_table.h>

#include "atomic_file.h"
#include "plot_style_codec.h"

namespace fs = std::filesystem;

namespace {

class AtomicTableWrite : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("pstyle-write-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    static std::string contentOf(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder_;
};

TEST_F(AtomicTableWrite, ReplacesTheTargetWithATableThatReadsBack) {
    const fs::path target = folder_ / "Plan.ctb";
    std::ofstream(target) << "old content";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
    table->Description = u"Grundriss";
    const std::u16string path = target.u16string();
    ASSERT_TRUE(table->write(path.c_str()));
    EXPECT_EQ(entries(), std::vector<std::string>{"Plan.ctb"});
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    PlotStyleTablePtr again(CPlotStyleTable::read(path.c_str()));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Description, u"Grundriss");

    // Through a link the linked file is replaced and the link stays.
    const fs::path link = folder_ / "Link.ctb";
    fs::create_symlink(target, link);
    table->Description = u"Through the link";
    ASSERT_TRUE(table->write(link.u16string().c_str()));
    EXPECT_TRUE(fs::is_symlink(link));
    PlotStyleTablePtr linked(CPlotStyleTable::read(path.c_str()));
    ASSERT_TRUE(linked);
    EXPECT_EQ(linked->Description, u"Through the link");
}

TEST_F(AtomicTableWrite, FailuresLeaveTheTargetAsItWasAndNoTemporaryFile) {
    PlotStyleTablePtr table(CPlotStyleTable::create(false, nullptr));
    std::string bytes;
    ASSERT_TRUE(writePlotStyleTableToMemory(*table, bytes));
    const fs::path target = folder_ / "Plan.stb";
    const std::string original = "the table that was there before";
    std::ofstream(target) << original;
    std::string error;

    for (const std::size_t failAfter :
         {std::size_t(0), std::size_t(1), bytes.size() / 2, bytes.size() - 1}) {
        errno = 0;
        EXPECT_FALSE(writeFileAtomically(target.string(), bytes, error, failAfter)) << failAfter;
        EXPECT_EQ(errno, EIO) << "the cause outlives the clean-up";
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(contentOf(target), original);
        EXPECT_EQ(entries(), std::vector<std::string>{"Plan.stb"});
    }

    const fs::path folderTarget = folder_ / "Folder.stb";
    fs::create_directory(folderTarget);
    EXPECT_FALSE(table->write(folderTarget.u16string().c_str()));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_TRUE(fs::is_directory(folderTarget));
    EXPECT_FALSE(
        writePlotStyleTableFile(*table, (folder_ / "missing" / "Plan.stb").string(), error));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_NE(error.find("temporary file"), std::string::npos) << error;
    EXPECT_EQ(entries(), (std::vector<std::string>{"Folder.stb", "Plan.stb"}));
    EXPECT_EQ(contentOf(target), original);
}

// The bits that apply to the saving user decide, root included; a replaced file keeps its
// owner, group and permissions.
TEST_F(AtomicTableWrite, PermissionBitsOfTheSavingUserDecideAndOwnershipSurvives) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "giving files to other users needs root";
    }
    const uid_t other = 4242;
    struct Case {
        uid_t owner;
        gid_t group;
        mode_t mode;
        bool writable;
    };
    const Case cases[] = {
        {0, 0, 0444, false},         {0, 0, 0466, false},
        {0, 0, 0600, true},          {other, 0, 0464, true},
        {other, 0, 0646, false},     {other, other, 0646, true},
        {other, other, 0664, false}, {other, other + 1, 02666, true},
    };
    PlotStyleTablePtr table(CPlotStyleTable::create(false, nullptr));
    const fs::path target = folder_ / "Office.stb";
    const std::string original = "a table of the office";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "owner " << c.owner << ", mode " << std::oct << c.mode);
        fs::remove(target);
        std::ofstream(target) << original;
        ASSERT_EQ(chown(target.c_str(), c.owner, c.group), 0);
        ASSERT_EQ(chmod(target.c_str(), c.mode), 0);
        const bool written = table->write(target.u16string().c_str());
        const int cause = errno;
        EXPECT_EQ(written, c.writable);
        EXPECT_TRUE(written || cause == EACCES) << cause;
        struct stat after {};
        ASSERT_EQ(stat(target.c_str(), &after), 0);
        EXPECT_EQ(after.st_uid, c.owner);
        EXPECT_EQ(after.st_gid, c.group);
        EXPECT_EQ(after.st_mode & 07777, c.mode);
        EXPECT_EQ(contentOf(target) == original, !c.writable);
        EXPECT_EQ(entries(), std::vector<std::string>{"Office.stb"});
    }
}

} // namespace
