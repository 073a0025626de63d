// Several programs sharing one settings file: concurrent writers and writers
// killed in the middle of a write.
#include "platform/failures.h"
#include "platform/posix/ini_file_store.h"
#include "platform/posix/temp_dir_support.h"
#include "platform/posix/wait_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vt::posix {
namespace {

const std::string kApp = "VT_HALTWARD";
const std::string kExe = "vt-haltward";

// Runs body in a child process; the child exits 0 when body returns.
pid_t spawn(const std::function<void()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        try {
            body();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "child %d: %s\n", ::getpid(), error.what());
            ::_exit(1);
        }
        ::_exit(0);
    }
    return pid;
}

int exitStatus(pid_t pid)
{
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string keyOf(char writer, int slot)
{
    return std::string(1, writer) + "-KEY-" + std::to_string(slot);
}

TEST(StoreProcesses, TwoWritersAtOnceLoseNothing)
{
    constexpr int kWrites = 1000;
    constexpr int kSlots = 25;
    testing::TempDir dir;
    const auto writer = [&](char name) {
        return spawn([&dir, name] {
            IniFileStore store(dir.path(), std::chrono::seconds(20));
            for (int i = 0; i < kWrites; ++i) {
                store.SaveSetting(kApp, kExe, keyOf(name, i % kSlots), std::to_string(i));
            }
        });
    };
    const auto start = std::chrono::steady_clock::now();
    const pid_t first = writer('A');
    const pid_t second = writer('B');
    ASSERT_EQ(exitStatus(first), 0);
    ASSERT_EQ(exitStatus(second), 0);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%d writes in %.2f s\n", 2 * kWrites, took.count());

    IniFileStore store(dir.path());
    for (char name : {'A', 'B'}) {
        for (int slot = 0; slot < kSlots; ++slot) {
            const int last = kWrites - kSlots + slot;
            EXPECT_EQ(store.GetSetting(kApp, kExe, keyOf(name, slot), "lost"), std::to_string(last))
                << keyOf(name, slot);
        }
    }
}

// A long value, so a file cut short would show in it.
std::string newValue(int serial)
{
    return "new " + std::to_string(serial) + " " + std::string(3000, 'a' + serial % 26) + " end";
}

bool isOldOrWhole(const std::string& value)
{
    if (value == "old") {
        return true;
    }
    int serial = -1;
    return std::sscanf(value.c_str(), "new %d ", &serial) == 1 && value == newValue(serial);
}

TEST(StoreProcesses, WriterKilledMidWriteLeavesOldOrNewValues)
{
    constexpr int kKeys = 10;
    testing::TempDir dir;
    IniFileStore store(dir.path(), std::chrono::seconds(5));
    for (int k = 0; k < kKeys; ++k) {
        store.SaveSetting(kApp, kExe, keyOf('K', k), "old");
    }
    for (int round = 0; round < 6; ++round) {
        const pid_t child = spawn([&dir, round] {
            IniFileStore writer(dir.path());
            for (int i = 0;; ++i) {
                writer.SaveSetting(kApp, kExe, keyOf('K', i % kKeys), newValue(i));
                // The first value tells the parent that writing has begun.
                if (i == 0)
                    writer.SaveSetting(kApp, kExe, "BEGUN", std::to_string(round));
            }
        });
        // Killed some way into its writing, however slow a loaded machine
        // makes the start, so every round kills a writer at work.
        ASSERT_TRUE(testing::eventually([&] {
            return store.GetSetting(kApp, kExe, "BEGUN", "") == std::to_string(round);
        })) << "round "
            << round << ": the writer never wrote";
        std::this_thread::sleep_for(std::chrono::milliseconds(3 + 11 * round));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        ASSERT_EQ(exitStatus(child), 128 + SIGKILL);

        for (int k = 0; k < kKeys; ++k) {
            const auto value = store.GetSetting(kApp, kExe, keyOf('K', k), "missing");
            EXPECT_TRUE(isOldOrWhole(value)) << "round " << round << ": " << value.substr(0, 40);
        }
        // The dead writer's lock died with it, and its temporary file is no obstacle.
        store.SaveSetting(kApp, kExe, "AFTER-KILL", std::to_string(round));
        EXPECT_EQ(store.GetSetting(kApp, kExe, "AFTER-KILL", ""), std::to_string(round));
    }
}

} // namespace
} // namespace vt::posix
