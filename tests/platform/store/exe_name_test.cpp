#include "platform/store/exe_name.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(ExeName, BaseNameWithoutExtension) {
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

} // namespace
} // namespace vt
