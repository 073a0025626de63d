#include "platform/failures.h"
#include "platform/posix/ini_file_store.h"
#include "platform/posix/store_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vt::posix {
namespace {

using testing::fileExists;
using testing::fileMode;
using testing::readFile;
using testing::writeFile;

using testing::kApp;
using testing::kExe;

class IniFileStoreTest : public testing::StoreFolderTest {};

TEST_F(IniFileStoreTest, AbsentFileOrKeyGivesTheDefault)
{
    EXPECT_EQ(store().GetSetting(kApp, kExe, "MAIN-Left", "1000"), "1000");
    EXPECT_FALSE(fileExists(dir_.path() + "/" + kApp)) << "a read must not create anything";
    store().SaveSetting(kApp, kExe, "MAIN-Top", "5");
    EXPECT_EQ(store().GetSetting(kApp, kExe, "MAIN-Left", "1000"), "1000");
    EXPECT_EQ(store().GetSetting(kApp, "other-exe", "MAIN-Top", ""), "");
}

TEST_F(IniFileStoreTest, PlainValuesAreWrittenAsTheyAre)
{
    store().SaveSetting(kApp, kExe, "MAIN-Left", "1000");
    store().SaveSetting(kApp, kExe, "WINDOW_NAME_TEXTBOX", "SPIGOT SERVER");
    store().SaveSetting(kApp, kExe, "MAIN-Left", "1234.5");
    EXPECT_EQ(readFile(file()), "[vt-haltward]\nMAIN-Left=1234.5\nWINDOW_NAME_TEXTBOX=SPIGOT SERVER\n");
}

TEST_F(IniFileStoreTest, FileAndDirectoryArePrivateWhateverTheUmask)
{
    for (const mode_t umask : {0277, 0, 022}) {
        testing::TempDir dir;
        const auto old = ::umask(umask);
        IniFileStore(dir.path()).SaveSetting(kApp, kExe, "MAIN-Left", "1");
        IniFileStore(dir.path()).SaveSetting(kApp, kExe, "MAIN-Left", "2");
        ::umask(old);
        const auto appDir = dir.path() + "/" + kApp;
        EXPECT_EQ(fileMode(appDir + "/settings.ini"), 0600u) << "umask " << umask;
        EXPECT_EQ(fileMode(appDir), 0700u) << "umask " << umask;
        EXPECT_EQ(fileMode(appDir + "/settings.ini.lock") & 077, 0u) << "umask " << umask;
        EXPECT_EQ(IniFileStore(dir.path()).GetSetting(kApp, kExe, "MAIN-Left", ""), "2");
    }
}

TEST_F(IniFileStoreTest, MissingParentDirectoriesAreCreated)
{
    IniFileStore deep(dir_.path() + "/home/op/.config");
    deep.SaveSetting(kApp, kExe, "MAIN-Left", "7");
    EXPECT_EQ(readFile(dir_.path() + "/home/op/.config/VT_HALTWARD/settings.ini"), "[vt-haltward]\nMAIN-Left=7\n");
    EXPECT_EQ(fileMode(dir_.path() + "/home/op/.config"), 0700u);
}

TEST_F(IniFileStoreTest, CorruptFileIsReportedAndNeverOverwritten)
{
    const std::string corrupt = "[vt-haltward]\nMAIN-Left=1000\nthis line is no setting\n";
    writeFile(file(), corrupt);
    for (const auto& message : {storeErrorOf([&] { store().GetSetting(kApp, kExe, "MAIN-Left", "0"); }),
                                storeErrorOf([&] { store().SaveSetting(kApp, kExe, "MAIN-Left", "5"); }),
                                storeErrorOf([&] { store().SaveSetting(kApp, "other", "MAIN-Left", "5"); })}) {
        EXPECT_NE(message.find(file() + " line 3: "), std::string::npos) << message;
        EXPECT_NE(message.find("fix or remove the file"), std::string::npos) << message;
    }
    EXPECT_EQ(readFile(file()), corrupt);
    EXPECT_FALSE(fileExists(file() + ".tmp"));
}

TEST_F(IniFileStoreTest, UncreatableDirectoryIsReportedClearly)
{
    const auto blocker = dir_.path() + "/not-a-dir";
    writeFile(blocker, "a file where the config home should be");
    IniFileStore blocked(blocker);
    const auto saveError = storeErrorOf([&] { blocked.SaveSetting(kApp, kExe, "MAIN-Left", "1"); });
    EXPECT_NE(saveError.find("cannot create the directory " + blocker), std::string::npos) << saveError;
    EXPECT_NE(saveError.find("not a directory"), std::string::npos) << saveError;
    const auto readError = storeErrorOf([&] { blocked.GetSetting(kApp, kExe, "MAIN-Left", "1"); });
    EXPECT_NE(readError.find(blocked.location(kApp)), std::string::npos) << readError;
}

TEST_F(IniFileStoreTest, NamesThatCannotBeStoredAreRefused)
{
    for (const auto& bad : {storeErrorOf([&] { store().SaveSetting(kApp, kExe, "BAD KEY", "1"); }),
                            storeErrorOf([&] { store().GetSetting(kApp, kExe, "A=B", "1"); }),
                            storeErrorOf([&] { store().SaveSetting("../escape", kExe, "K", "1"); }),
                            storeErrorOf([&] { store().SaveSetting("", kExe, "K", "1"); })}) {
        EXPECT_FALSE(bad.empty());
    }
    EXPECT_FALSE(fileExists(dir_.path() + "/" + kApp));
    EXPECT_FALSE(fileExists(dir_.path() + "/../escape"));
}

TEST_F(IniFileStoreTest, LeftoverTemporaryFileDoesNotGetInTheWay)
{
    store().SaveSetting(kApp, kExe, "MAIN-Left", "1");
    writeFile(file() + ".tmp", "half a file from a writer that died");
    ::chmod((file() + ".tmp").c_str(), 0644);
    store().SaveSetting(kApp, kExe, "MAIN-Top", "2");
    EXPECT_EQ(readFile(file()), "[vt-haltward]\nMAIN-Left=1\nMAIN-Top=2\n");
    EXPECT_EQ(fileMode(file()), 0600u);
    EXPECT_FALSE(fileExists(file() + ".tmp"));
}

TEST_F(IniFileStoreTest, WaitForTheLockIsBounded)
{
    store().SaveSetting(kApp, kExe, "MAIN-Left", "1");
    const int holder = ::open((file() + ".lock").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    const auto message = storeErrorOf([&] { store().SaveSetting(kApp, kExe, "MAIN-Left", "2"); });
    EXPECT_NE(message.find("cannot lock " + file() + ".lock"), std::string::npos) << message;
    // Readers never wait for the lock.
    EXPECT_EQ(store().GetSetting(kApp, kExe, "MAIN-Left", ""), "1");
    ::close(holder);
    store().SaveSetting(kApp, kExe, "MAIN-Left", "3");
    EXPECT_EQ(store().GetSetting(kApp, kExe, "MAIN-Left", ""), "3");
}

// Sets or unsets environment variables for one test and puts them back.
class EnvironmentTest : public ::testing::Test {
protected:
    void set(const char* name, const char* value)
    {
        if (!saved_.contains(name)) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~EnvironmentTest() override
    {
        for (const auto& [name, value] : saved_) {
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST_F(EnvironmentTest, ConfigHomeFollowsXdgThenHome)
{
    set("XDG_CONFIG_HOME", "/srv/conf");
    set("HOME", "/home/op");
    EXPECT_EQ(defaultConfigHome(), "/srv/conf");
    set("XDG_CONFIG_HOME", "relative/conf");
    EXPECT_EQ(defaultConfigHome(), "/home/op/.config");
    set("XDG_CONFIG_HOME", "");
    EXPECT_EQ(defaultConfigHome(), "/home/op/.config");
    set("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(defaultConfigHome(), "/home/op/.config");
    set("HOME", nullptr);
    const auto fromPasswd = defaultConfigHome();
    EXPECT_EQ(fromPasswd.front(), '/');
    EXPECT_TRUE(fromPasswd.ends_with("/.config")) << fromPasswd;
}

} // namespace
} // namespace vt::posix
