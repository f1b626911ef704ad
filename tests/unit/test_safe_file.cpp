// The safe file library as users meet it: links in shared folders, files of other users, ACLs and
// attributes, hard links, streams, failed and abandoned saves, locks between programs and the
// identity that tells a changed file. Cases for a second user need root and are skipped without;
// tests/reliability/run adds groups, full disks, killed saves and concurrent edits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <safe_file.h>

#include "unit_test_support.h"

namespace fs = std::filesystem;
using namespace safefile;

namespace {

constexpr uid_t kOtherUser = 4242;
constexpr gid_t kOtherGroup = 4242;
constexpr std::chrono::milliseconds kShortPatience{300};

void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

Failure save(const std::string& path, const std::string& bytes, WriteOptions options = {}) {
    Failure failure;
    const bool written = writeFile(path, bytes, options, failure);
    EXPECT_EQ(written, failure.problem == Problem::none);
    return failure;
}

struct stat statusOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(lstat(path.c_str(), &status), 0) << path;
    return status;
}

std::string attribute(const std::string& path, const char* name) {
    char value[512];
    const ssize_t size = getxattr(path.c_str(), name, value, sizeof value);
    return size < 0 ? "none" : std::string(value, std::size_t(size));
}

void run(const std::string& command) {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// Starts work in a child process, as another user with the given groups when one is given.
pid_t spawn(const std::function<int()>& work, uid_t user = geteuid(),
            std::vector<gid_t> groups = {}) {
    const pid_t child = fork();
    if (child == 0) {
        const bool switched =
            user == geteuid() ||
            (setgroups(groups.size(), groups.data()) == 0 &&
             setresgid(groups[0], groups[0], groups[0]) == 0 && setresuid(user, user, user) == 0);
        _exit(switched ? work() : 99);
    }
    return child;
}

// The child's exit status.
int finish(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class SafeFile : public TempFolderTest {
protected:
    std::string makeSharedFolder(const std::string& name) const {
        fs::create_directory(path(name));
        fs::permissions(path(name), fs::perms(01777));
        return path(name);
    }
};

TEST_F(SafeFile, FollowsOnlyTheLinksTheProtectedLinksRuleWouldFollow) {
    put(path("plan.ctb"), "old");
    fs::create_symlink("plan.ctb", path("relative.ctb"));
    fs::create_symlink(path("relative.ctb"), path("absolute.ctb"));
    fs::create_symlink("missing.ctb", path("dangling.ctb"));
    fs::create_symlink("loop.ctb", path("loop.ctb"));
    const std::string shared = makeSharedFolder("shared");
    fs::create_symlink(path("plan.ctb"), shared + "/own.ctb");

    for (const char* link : {"relative.ctb", "absolute.ctb", "shared/own.ctb"}) {
        EXPECT_EQ(save(path(link), link).problem, Problem::none) << link;
        EXPECT_EQ(readFile(path("plan.ctb")), link);
        EXPECT_TRUE(fs::is_symlink(path(link)));
    }
    const Failure dangling = save(path("dangling.ctb"), "new");
    EXPECT_EQ(dangling.problem, Problem::danglingLink);
    EXPECT_EQ(dangling.subject, path("dangling.ctb"));
    EXPECT_EQ(dangling.error, ENOENT);
    EXPECT_FALSE(fs::exists(path("missing.ctb")));
    EXPECT_EQ(save(path("loop.ctb"), "new").error, ELOOP);

    if (geteuid() != 0) {
        GTEST_SKIP() << "links of another user need root";
    }
    // Another user's links in a shared sticky folder, to a file or on the way to it.
    fs::create_symlink(path("plan.ctb"), shared + "/other.ctb");
    fs::create_symlink(dir_, shared + "/other-folder");
    ASSERT_EQ(lchown((shared + "/other.ctb").c_str(), kOtherUser, kOtherGroup), 0);
    ASSERT_EQ(lchown((shared + "/other-folder").c_str(), kOtherUser, kOtherGroup), 0);
    for (const std::string link : {"other.ctb", "other-folder"}) {
        const Failure refused =
            save(shared + "/" + link + (link == "other.ctb" ? "" : "/plan.ctb"), "x");
        EXPECT_EQ(refused.problem, Problem::unsafeLink) << link;
        EXPECT_EQ(refused.subject, shared + "/" + link);
        EXPECT_NE(refused.message().find(shared + "/" + link), std::string::npos);
        EXPECT_EQ(readFile(path("plan.ctb")), "shared/own.ctb");
    }
    // The folder's owner may make links there that everyone follows.
    ASSERT_EQ(chown(shared.c_str(), kOtherUser, kOtherGroup), 0);
    EXPECT_EQ(save(shared + "/other.ctb", "owner's").problem, Problem::none);
    EXPECT_EQ(readFile(path("plan.ctb")), "owner's");
}

TEST_F(SafeFile, WritesStreamsDirectlyAndRefusesWhatIsNoTarget) {
    // Folders and missing folders are refused as the codec's suite sees.
    std::vector<TargetKind> seen;
    WriteOptions options;
    options.checkKind = [&](const WriteTarget& target) {
        seen.push_back(target.kind);
        const bool text = fs::path(target.path).extension() == ".txt";
        return text || target.kind == TargetKind::stream ? "" : "is not a text";
    };
    put(path("notes.ctb"), "old");
    fs::create_symlink("notes.ctb", path("notes.txt"));
    const Failure wrongKind = save(path("notes.txt"), "x", options);
    EXPECT_EQ(wrongKind.problem, Problem::wrongKind);
    EXPECT_EQ(wrongKind.message(), path("notes.ctb") + " is not a text");
    EXPECT_EQ(readFile(path("notes.ctb")), "old");
    Failure checked;
    EXPECT_FALSE(checkWriteTarget(path("notes.txt"), options, checked));
    EXPECT_EQ(checked.message(), wrongKind.message());
    EXPECT_TRUE(checkWriteTarget(path("fresh.txt"), options, checked));
    EXPECT_FALSE(fs::exists(path("fresh.txt")));
    seen.clear();
    put(path("plain.txt"), "old");
    EXPECT_EQ(save(path("plain.txt"), "new", options).problem, Problem::none);
    EXPECT_EQ(save(path("fresh.txt"), "new", options).problem, Problem::none);

    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const std::string pipePath = "/dev/fd/" + std::to_string(pipeEnds[1]);
    EXPECT_EQ(save(pipePath, "piped", options).problem, Problem::none);
    char piped[8] = {};
    EXPECT_EQ(read(pipeEnds[0], piped, sizeof piped), 5);
    EXPECT_EQ(std::string(piped), "piped");
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    EXPECT_EQ(save("/dev/null", "x", options).problem, Problem::none);
    EXPECT_EQ(seen, (std::vector<TargetKind>{TargetKind::regularFile, TargetKind::newFile,
                                             TargetKind::stream, TargetKind::stream}));
}

TEST_F(SafeFile, KeepsModeAttributesAndAclOfAReplacedFile) {
    const std::string plan = path("plan.ctb");
    put(plan, "old");
    fs::permissions(plan, fs::perms(0640));
    ASSERT_EQ(setxattr(plan.c_str(), "user.office", "north", 5, 0), 0);
    run("setfacl -m u:" + std::to_string(kOtherUser) + ":rw " + plan);
    const std::string acl = attribute(plan, "system.posix_acl_access");
    ASSERT_NE(acl, "none");
    const struct stat before = statusOf(plan);

    EXPECT_EQ(save(plan, "new").problem, Problem::none);
    const struct stat after = statusOf(plan);
    EXPECT_NE(after.st_ino, before.st_ino) << "replaced by a rename";
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(attribute(plan, "user.office"), "north");
    EXPECT_EQ(attribute(plan, "system.posix_acl_access"), acl);

    // A file without an ACL stays without one in a folder whose default ACL would give it one.
    run("setfacl -d -m u:" + std::to_string(kOtherUser) + ":rwx " + dir_);
    put(path("plain.ctb"), "old");
    run("setfacl -b " + path("plain.ctb"));
    EXPECT_EQ(save(path("plain.ctb"), "new").problem, Problem::none);
    EXPECT_EQ(attribute(path("plain.ctb"), "system.posix_acl_access"), "none");
    EXPECT_EQ(readFile(path("plain.ctb")), "new");
}

TEST_F(SafeFile, WritesInPlaceWhatARenameCouldNotKeep) {
    const std::string plan = path("plan.ctb");
    put(plan, "old");
    fs::create_hard_link(plan, path("linked.ctb"));
    const ino_t inode = statusOf(plan).st_ino;
    EXPECT_EQ(save(plan, "new and longer").problem, Problem::none);
    EXPECT_EQ(statusOf(plan).st_ino, inode);
    EXPECT_EQ(readFile(path("linked.ctb")), "new and longer");
    EXPECT_EQ(save(plan, "short").problem, Problem::none);
    EXPECT_EQ(readFile(path("linked.ctb")), "short");
    EXPECT_EQ(entries(), (std::vector<std::string>{"linked.ctb", "plan.ctb"})) << "no backup";

    if (geteuid() != 0) {
        GTEST_SKIP() << "files of another user need root";
    }
    // Root replaces another user's file and gives it back to its owner.
    const std::string office = path("office.ctb");
    put(office, "old");
    ASSERT_EQ(chown(office.c_str(), kOtherUser, kOtherGroup), 0);
    ASSERT_EQ(chmod(office.c_str(), 02664), 0);
    EXPECT_EQ(save(office, "root's").problem, Problem::none);
    EXPECT_EQ(statusOf(office).st_uid, kOtherUser);
    EXPECT_EQ(statusOf(office).st_gid, kOtherGroup);
    EXPECT_EQ(statusOf(office).st_mode & 07777, 02664u);
}

TEST_F(SafeFile, PermissionsAreTheSystemsAnswerAndRootRefusesOnlyFilesWithoutWriteBits) {
    enum Role { owner, groupMember, root };
    struct Case {
        mode_t mode;
        bool writes[3]; // by role
    };
    const Case cases[] = {
        {0444, {false, false, false}}, {0644, {true, false, true}},   {0466, {false, true, true}},
        {0646, {true, false, true}},   {0400, {false, false, false}}, {0002, {false, false, true}},
    };
    const bool asRoot = geteuid() == 0;
    const std::string plan = makeSharedFolder("shared") + "/plan.ctb";
    for (const Case& c : cases) {
        for (const Role role : {owner, groupMember, root}) {
            if (!asRoot && role != owner) {
                continue;
            }
            SCOPED_TRACE(testing::Message() << std::oct << c.mode << " by role " << role);
            fs::remove(plan);
            put(plan, "old");
            ASSERT_EQ(chmod(plan.c_str(), c.mode), 0);
            if (asRoot) {
                ASSERT_EQ(chown(plan.c_str(), kOtherUser + (role == owner ? 0 : 1), kOtherGroup),
                          0);
            }
            // The problem, as the exit status of the other user's process.
            const auto saveNew = [&] { return int(save(plan, "new").problem); };
            const int problem = asRoot && role != root
                                    ? finish(spawn(saveNew, kOtherUser,
                                                   {kOtherUser, kOtherGroup + (role == owner)}))
                                    : saveNew();
            EXPECT_EQ(problem, int(c.writes[role] ? Problem::none : Problem::readOnly));
            ASSERT_EQ(chmod(plan.c_str(), 0600), 0);
            EXPECT_EQ(readFile(plan), c.writes[role] ? "new" : "old");
        }
    }
}

TEST_F(SafeFile, AFailedSaveLeavesTheOldFileAndNothingBeside) {
    const std::string plan = path("plan.ctb");
    put(plan, "the old table");
    fs::create_hard_link(plan, path("linked.ctb"));
    put(path("single.ctb"), "the old table");
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit before {};
    getrlimit(RLIMIT_FSIZE, &before);
    const std::string bytes(4096, 'n');
    for (const rlim_t limit : {rlim_t(0), rlim_t(5), rlim_t(13), rlim_t(2000)}) {
        for (const char* name : {"plan.ctb", "single.ctb"}) {
            SCOPED_TRACE(testing::Message() << name << " with a file size limit of " << limit);
            struct rlimit small = before;
            small.rlim_cur = limit;
            ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
            const Failure failure = save(path(name), bytes);
            setrlimit(RLIMIT_FSIZE, &before);
            EXPECT_EQ(failure.error, EFBIG);
            EXPECT_EQ(readFile(path(name)), "the old table");
            EXPECT_EQ(entries(),
                      (std::vector<std::string>{"linked.ctb", "plan.ctb", "single.ctb"}));
        }
    }
    signal(SIGXFSZ, SIG_DFL);
}

TEST_F(SafeFile, RemovesOnlyWhatDeadProcessesOrOldSavesLeft) {
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    const auto leftover = [&](const std::string& name, const std::string& host, pid_t process,
                              const std::string& tail) {
        return "." + name + "~" + host + "~" + std::to_string(process) + tail;
    };
    const std::string here = host;
    const std::vector<std::string> removed = {
        leftover("plan.ctb", here, child, "~1.tmp"),
        leftover("other name.ctb", "far-away", getpid(), "~2.tmp"),
        leftover("other.ctb", here, child, "~3.bak"),
    };
    // A dead process's backup copy of another file may be all that is left of it.
    const std::vector<std::string> kept = {
        leftover("plan.ctb", here, getpid(), "~1.tmp"),
        leftover("plan.ctb", "far-away", child, "~1.tmp"),
        leftover("plan.ctb", here, child, "~1.bak"),
        leftover("plan.ctb", here, child, "~1.tmpx"),
        leftover("plan.ctb", here, child, "~1.tmp").substr(1),
        leftover("plan.ctb", here, child, "x~1.tmp"),
        leftover("", here, child, "~1.tmp"),
        leftover("other.ctb", here, getpid(), "~4.bak"),
    };
    for (const std::vector<std::string>* names : {&removed, &kept}) {
        for (const auto& name : *names) {
            put(path(name), "left over");
        }
    }
    const auto twoHoursAgo = fs::file_time_type::clock::now() - std::chrono::hours(2);
    fs::last_write_time(path(removed[1]), twoHoursAgo);
    EXPECT_EQ(save(path("other.ctb"), "new").problem, Problem::none);
    std::vector<std::string> expected = kept;
    expected.push_back("other.ctb");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries(), expected);
}

TEST_F(SafeFile, LocksSerialiseEditsAcrossProgramsWithoutDeadlock) {
    const std::string plan = path("plan.ctb");
    const std::string site = path("site.ctb");
    put(plan, "0");
    put(site, "0");
    const auto lockedElsewhere = [&](const std::string& path) {
        return finish(spawn([&] {
            std::vector<FileLock> locks;
            Failure failure;
            if (lockFiles({path}, kShortPatience, locks, failure)) {
                return 0;
            }
            return int(failure.message() ==
                       path + " is still locked by another program after 300 ms");
        }));
    };
    {
        std::vector<FileLock> locks;
        Failure failure;
        ASSERT_TRUE(lockFiles({plan, site}, kShortPatience, locks, failure)) << failure.message();
        EXPECT_EQ(save(plan, "1").problem, Problem::none) << "this program holds the lock";
        EXPECT_EQ(lockedElsewhere(plan), 1) << "the lock moved on to the new file";
        EXPECT_EQ(save(plan, "2").problem, Problem::none);
        EXPECT_EQ(lockedElsewhere(site), 1);
    }
    EXPECT_EQ(lockedElsewhere(plan), 0);
    EXPECT_EQ(readFile(plan), "2");

    // Another program that does not lock replaces or creates a locked file: the edit is refused.
    std::vector<FileLock> locks;
    Failure failure;
    ASSERT_TRUE(lockFiles({plan, path("new.ctb")}, kShortPatience, locks, failure));
    put(path("replacement"), "theirs");
    fs::rename(path("replacement"), plan);
    put(path("new.ctb"), "theirs");
    for (const std::string& path : {plan, path("new.ctb")}) {
        EXPECT_EQ(save(path, "ours").problem, Problem::changed);
        EXPECT_EQ(readFile(path), "theirs");
    }
}

TEST_F(SafeFile, ReadsFilesAndStreamsWithoutWaitingForAWriter) {
    put(path("plan.ctb"), "table");
    ASSERT_EQ(mkfifo(path("fifo.ctb").c_str(), 0600), 0);
    fs::create_directory(path("folder.ctb"));
    struct Case {
        std::string path;
        std::size_t limit;
        Problem problem;
        std::string bytes;
    };
    const Case cases[] = {
        {path("plan.ctb"), 5, Problem::none, "table"},
        {path("plan.ctb"), 4, Problem::tooLarge, ""},
        {path("fifo.ctb"), 5, Problem::none, ""},
        {path("folder.ctb"), 5, Problem::notAFile, ""},
        {"/dev/zero", 70000, Problem::tooLarge, ""},
        {path("none.ctb"), 5, Problem::systemCall, ""},
    };
    for (const Case& c : cases) {
        std::string bytes;
        Failure failure;
        EXPECT_EQ(readFile(c.path, c.limit, bytes, failure), c.problem == Problem::none) << c.path;
        EXPECT_EQ(failure.problem, c.problem) << c.path;
        EXPECT_EQ(c.problem == Problem::none ? bytes : "", c.bytes);
    }
}

TEST_F(SafeFile, IdentityTellsAChangedReplacedCreatedOrDeletedFile) {
    const std::string plan = path("plan.ctb");
    EXPECT_FALSE(identityOf(plan).exists);
    EXPECT_EQ(identityOf(plan), identityOf(path("other.ctb")));
    put(plan, "old");
    const FileIdentity loaded = identityOf(plan);
    EXPECT_TRUE(loaded.exists);
    EXPECT_EQ(identityOf(plan), loaded);
    const auto later = fs::last_write_time(plan) + std::chrono::seconds(1);
    fs::last_write_time(plan, later);
    const FileIdentity touched = identityOf(plan);
    EXPECT_NE(touched, loaded);
    EXPECT_EQ(save(plan, "new").problem, Problem::none);
    fs::last_write_time(plan, later);
    EXPECT_NE(identityOf(plan), touched) << "same size and time, another file";
    fs::remove(plan);
    EXPECT_NE(identityOf(plan), touched);
}

} // namespace

// Every name survives UTF-16: bytes that are not UTF-8 as U+DC80..U+DCFF, one for each, and back.
TEST(FileNames, SurviveUtf16ByteForByte) {
    const struct {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"plan.ctb", u"plan.ctb"},
        {"Gr\xC3\xB6\xC3\x9F"
         "e \xF0\x9F\x93\x90",
         u"Gr\u00F6\u00DFe \U0001F4D0"},
        {"bad\xFF.ctb", u"bad\xDCFF.ctb"},
        {"\xC0\xAF", u"\xDCC0\xDCAF"},           // overlong
        {"\xED\xB2\x80", u"\xDCED\xDCB2\xDC80"}, // an encoded escape is no escape
        {"cut\xE2\x82", u"cut\xDCE2\xDC82"},
    };
    for (const auto& [bytes, text] : cases) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(fileNameToUtf16(bytes), text);
        EXPECT_EQ(fileNameFromUtf16(text), bytes);
    }
    EXPECT_EQ(fileNameFromUtf16(u"a\xD800z\xDC7F"), "a\xEF\xBF\xBDz\xEF\xBF\xBD");
}
