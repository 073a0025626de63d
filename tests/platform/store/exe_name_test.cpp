#include "platform/store/exe_name.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(ExeName, BaseNameWithoutExtension)
{
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"C:\\x\\vt-haltward.exe", "vt-haltward"},
        {"/usr/bin/vt-haltward", "vt-haltward"},
        {"./server1", "server1"},
        {"server1", "server1"},
        {"vt-haltward.exe", "vt-haltward"},
        {"/opt/my servers/copy of vt.exe", "copy of vt"},
        {"C:/mixed\\seps/name.exe", "name"},
        {"/srv/archive.tar.gz", "archive.tar"},
        {"/home/op/.hidden", ".hidden"},
        {"/home/op/.hidden.exe", ".hidden"},
        {"..", ".."},
        {"/a.b/plain", "plain"},
        {"trailing.", "trailing"},
        {"/dir/", ""},
        {"", ""},
        {"/usr/bin/日本語.exe", "日本語"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(exeNameFromPath(c.path), c.name) << c.path;
    }
}

// On Linux the section is the whole file name: a dot is no extension there.
TEST(ExeName, FileNameKeepsEveryDot)
{
    EXPECT_EQ(fileNameFromPath("/usr/local/bin/vt-haltward.lobby"), "vt-haltward.lobby");
    EXPECT_EQ(fileNameFromPath("vt-haltward.survival"), "vt-haltward.survival");
    EXPECT_EQ(fileNameFromPath("/usr/bin/vt-haltward"), "vt-haltward");
    EXPECT_EQ(fileNameFromPath("./odd\\name"), "odd\\name") << "a backslash is part of a Linux name";
}

} // namespace
} // namespace vt
