// The settings file's values are typed into the server console: the store
// must refuse, with a message and without hanging, whatever it cannot trust,
// and must leave such files as they are. Run on the real file system.
#include "platform/failures.h"
#include "platform/posix/ini_file_store.h"
#include "platform/posix/store_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vt::posix {
namespace {

using testing::fileExists;
using testing::readFile;
using testing::writeFile;

using testing::kApp;
using testing::kExe;

class UntrustedFiles : public testing::StoreFolderTest {
protected:
    // A store call that blocked would hang the test: end it instead.
    UntrustedFiles() { ::alarm(20); }
    ~UntrustedFiles() override { ::alarm(0); }

    std::string readError()
    {
        return storeErrorOf([&] { store().GetSetting(kApp, kExe, "MAIN-Left", "0"); });
    }
    std::string loadError()
    {
        return storeErrorOf([&] { store().loadSection(kApp, kExe, {"MAIN-Left"}); });
    }
    std::string writeError()
    {
        return storeErrorOf([&] { store().SaveSetting(kApp, kExe, "MAIN-Left", "5"); });
    }
    void makeFolder() { ASSERT_EQ(::mkdir(folder().c_str(), 0700), 0); }
};

#define EXPECT_CONTAINS(text, part) EXPECT_NE((text).find(part), std::string::npos) << (text)

TEST_F(UntrustedFiles, FifoAsTheFileIsRefusedWithoutBlocking)
{
    makeFolder();
    ASSERT_EQ(::mkfifo(file().c_str(), 0600), 0);
    EXPECT_CONTAINS(readError(), file() + " is a FIFO");
    EXPECT_CONTAINS(loadError(), "is a FIFO");
    EXPECT_CONTAINS(writeError(), "is a FIFO");
    struct stat info {};
    ASSERT_EQ(::lstat(file().c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "left as it was";
}

TEST_F(UntrustedFiles, FifoAsTheLockFileIsRefusedWithoutBlocking)
{
    writeFile(file(), "[vt-haltward]\nMAIN-Left=1\n");
    ASSERT_EQ(::mkfifo((file() + ".lock").c_str(), 0600), 0);
    EXPECT_CONTAINS(writeError(), "the lock file " + file() + ".lock is a FIFO");
    EXPECT_EQ(readFile(file()), "[vt-haltward]\nMAIN-Left=1\n");
}

TEST_F(UntrustedFiles, DevicesBehindASymlinkAreRefused)
{
    makeFolder();
    for (const char* device : {"/dev/zero", "/dev/null"}) {
        ::unlink(file().c_str());
        ASSERT_EQ(::symlink(device, file().c_str()), 0);
        EXPECT_CONTAINS(readError(), "is a device");
        EXPECT_CONTAINS(writeError(), "is a device");
    }
}

TEST_F(UntrustedFiles, DirectoryAsTheFileIsRefused)
{
    ASSERT_EQ(::mkdir(folder().c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(file().c_str(), 0700), 0);
    EXPECT_CONTAINS(readError(), "is a directory");
    EXPECT_CONTAINS(writeError(), "is a directory");
}

TEST_F(UntrustedFiles, FileOverOneMebibyteIsRefusedAndLeftUntouched)
{
    const std::string header = "[vt-haltward]\nMAIN-Left=1\n";
    const std::string justFits = header + std::string(IniFileStore::kMaxFileBytes - header.size(), '\n');
    writeFile(file(), justFits);
    EXPECT_EQ(store().GetSetting(kApp, kExe, "MAIN-Left", "0"), "1");
    const std::string tooBig = justFits + "\n";
    writeFile(file(), tooBig);
    EXPECT_CONTAINS(readError(), "larger than 1024 KiB");
    EXPECT_CONTAINS(writeError(), "left as it is");
    EXPECT_EQ(readFile(file()), tooBig);
}

TEST_F(UntrustedFiles, FileOrFolderWritableByOthersIsRefused)
{
    writeFile(file(), "[vt-haltward]\nMAIN-Left=1\n");
    for (const mode_t mode : {0620, 0602, 0666}) {
        ASSERT_EQ(::chmod(file().c_str(), mode), 0);
        EXPECT_CONTAINS(readError(), "bad ownership or modes for file " + file());
        EXPECT_CONTAINS(writeError(), "bad ownership or modes for file " + file());
    }
    ASSERT_EQ(::chmod(file().c_str(), 0640), 0);
    EXPECT_EQ(store().GetSetting(kApp, kExe, "MAIN-Left", "0"), "1") << "readable by the group is fine";
    for (const mode_t mode : {0770, 0707, 01777}) {
        ASSERT_EQ(::chmod(folder().c_str(), mode), 0);
        EXPECT_CONTAINS(readError(), "bad ownership or modes for directory " + folder());
        EXPECT_CONTAINS(writeError(), "bad ownership or modes for directory " + folder());
    }
    ASSERT_EQ(::chmod(folder().c_str(), 0700), 0);
    EXPECT_EQ(readFile(file()), "[vt-haltward]\nMAIN-Left=1\n");
}

uid_t nobodyUid()
{
    const passwd* nobody = ::getpwnam("nobody");
    return nobody != nullptr ? nobody->pw_uid : 65534;
}

// Whose file is judged from the reading process's side: the same file is
// accepted by its owner and refused by root, who did not write it.
TEST_F(UntrustedFiles, FileOrFolderOfAnotherUserIsRefused)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "making a file of another user's needs root";
    }
    const uid_t other = nobodyUid();
    writeFile(file(), "[vt-haltward]\nMAIN-Left=1\n");
    ASSERT_EQ(::chown(file().c_str(), other, other), 0);
    EXPECT_CONTAINS(readError(), "bad ownership or modes for file " + file());
    EXPECT_CONTAINS(writeError(), "bad ownership or modes for file " + file());

    ASSERT_EQ(::chown(folder().c_str(), other, other), 0);
    ASSERT_EQ(::chmod(dir_.path().c_str(), 0755), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // As nobody, the file and the folder are our own.
        const bool dropped = ::setgid(other) == 0 && ::setuid(other) == 0;
        const bool read = dropped && store().GetSetting(kApp, kExe, "MAIN-Left", "0") == "1";
        ::_exit(read ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "its owner reads it";

    ASSERT_EQ(::chown(file().c_str(), 0, 0), 0);
    EXPECT_CONTAINS(readError(), "bad ownership or modes for directory " + folder());
}

TEST_F(UntrustedFiles, SymlinkedFileIsWrittenThroughToItsTarget)
{
    const std::string elsewhere = dir_.path() + "/dotfiles/settings.ini";
    writeFile(elsewhere, "# mine\n[vt-haltward]\nMAIN-Left=1\n");
    makeFolder();
    ASSERT_EQ(::symlink(elsewhere.c_str(), file().c_str()), 0);
    EXPECT_EQ(store().GetSetting(kApp, kExe, "MAIN-Left", "0"), "1");
    store().SaveSettings(kApp, kExe, {{"MAIN-Left", "2"}, {"MAIN-Top", "3"}});
    struct stat info {};
    ASSERT_EQ(::lstat(file().c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays";
    EXPECT_EQ(readFile(elsewhere), "# mine\n[vt-haltward]\nMAIN-Left=2\nMAIN-Top=3\n");
    EXPECT_EQ(store().GetSetting(kApp, kExe, "MAIN-Top", "0"), "3");
}

TEST_F(UntrustedFiles, DanglingLinksCreateNothing)
{
    makeFolder();
    const std::string nowhere = dir_.path() + "/nowhere";
    ASSERT_EQ(::symlink(nowhere.c_str(), (file() + ".lock").c_str()), 0);
    EXPECT_CONTAINS(writeError(), "lock file " + file() + ".lock is a symbolic link");
    EXPECT_FALSE(fileExists(nowhere));
    EXPECT_FALSE(fileExists(file()));

    // Read as absent it would silently arm nothing: refused, naming where it leads.
    ::unlink((file() + ".lock").c_str());
    ASSERT_EQ(::symlink(nowhere.c_str(), file().c_str()), 0);
    const std::string dangling = file() + " is a symbolic link to " + nowhere + ", a file that does not exist";
    EXPECT_CONTAINS(readError(), dangling);
    EXPECT_CONTAINS(loadError(), dangling);
    EXPECT_CONTAINS(writeError(), dangling);
    EXPECT_FALSE(fileExists(nowhere));
}

// Whoever can write the target's folder can swap the file the link leads to:
// a read refuses it as a write does, before the file's values can arm a run.
TEST_F(UntrustedFiles, SymlinkedFileInAFolderOthersCanWriteIsRefused)
{
    const std::string shared = dir_.path() + "/shared";
    writeFile(shared + "/settings.ini", "[vt-haltward]\nMAIN-Left=1\n");
    makeFolder();
    ASSERT_EQ(::symlink((shared + "/settings.ini").c_str(), file().c_str()), 0);
    for (const mode_t mode : {0770, 0707, 01777}) {
        ASSERT_EQ(::chmod(shared.c_str(), mode), 0);
        EXPECT_CONTAINS(readError(), "bad ownership or modes for directory " + shared);
        EXPECT_CONTAINS(loadError(), "bad ownership or modes for directory " + shared);
        EXPECT_CONTAINS(writeError(), "bad ownership or modes for directory " + shared);
    }
    ASSERT_EQ(::chmod(shared.c_str(), 0755), 0);
    EXPECT_EQ(store().GetSetting(kApp, kExe, "MAIN-Left", "0"), "1");
}

// Several keys go in one rewrite: a batch with one key the file cannot hold
// writes none of them.
TEST_F(UntrustedFiles, BatchIsAllOrNone)
{
    writeFile(file(), "[vt-haltward]\nA=old\nB=old\n");
    const auto error = storeErrorOf([&] {
        store().SaveSettings(kApp, kExe, {{"A", "new"}, {"B", "new"}, {"BAD KEY", "x"}});
    });
    EXPECT_CONTAINS(error, "'BAD KEY' is not a key name");
    EXPECT_EQ(readFile(file()), "[vt-haltward]\nA=old\nB=old\n");
    store().SaveSettings(kApp, kExe, {{"A", "new"}, {"B", "new"}});
    EXPECT_EQ(readFile(file()), "[vt-haltward]\nA=new\nB=new\n");
}

// A mistyped escape in one value, as a hand edit leaves it, spoils that key
// alone: the others read and write, and its line survives rewrites.
TEST_F(UntrustedFiles, BadEscapeIsOneKeysProblem)
{
    writeFile(file(), "[vt-haltward]\nTHREE_MIN_MESSAGE_TEXTBOX=say \\ hi\nMAIN-Left=7\n");
    try {
        store().GetSetting(kApp, kExe, "THREE_MIN_MESSAGE_TEXTBOX", "");
        ADD_FAILURE() << "read a value that does not decode";
    } catch (const BadStoredValue& bad) {
        EXPECT_CONTAINS(std::string(bad.what()), "THREE_MIN_MESSAGE_TEXTBOX");
        EXPECT_CONTAINS(std::string(bad.what()), file() + " cannot be read (line 2: unknown escape");
    }
    EXPECT_EQ(store().GetSetting(kApp, kExe, "MAIN-Left", "0"), "7");
    const auto section = store().loadSection(kApp, kExe, {"THREE_MIN_MESSAGE_TEXTBOX", "MAIN-Left", "MAIN-Top"});
    EXPECT_EQ(section.values.at("MAIN-Left"), "7");
    EXPECT_EQ(section.values.size(), 1u);
    EXPECT_EQ(section.badValues.count("THREE_MIN_MESSAGE_TEXTBOX"), 1u);
    store().SaveSetting(kApp, kExe, "MAIN-Left", "8");
    EXPECT_EQ(readFile(file()), "[vt-haltward]\nTHREE_MIN_MESSAGE_TEXTBOX=say \\ hi\nMAIN-Left=8\n");
}

} // namespace
} // namespace vt::posix
