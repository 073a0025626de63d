#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/failures.h"
#include "platform/posix/ini_file_store.h"
#include "platform/posix/temp_dir_support.h"

namespace vt::testing {

inline const std::string kApp = "VT_HALTWARD";
inline const std::string kExe = "vt-haltward";

// The settings store on a fresh folder of its own, as each store test needs it.
class StoreFolderTest : public ::testing::Test {
protected:
    std::string folder() const { return dir_.path() + "/" + kApp; }
    std::string file() const { return folder() + "/settings.ini"; }
    posix::IniFileStore store() const { return posix::IniFileStore(dir_.path(), std::chrono::milliseconds(300)); }

    // The message of the StoreError the call throws, or "" when it throws none.
    template <typename Call>
    static std::string storeErrorOf(Call call)
    {
        try {
            call();
        } catch (const StoreError& error) {
            return error.what();
        }
        return "";
    }

    TempDir dir_;
};

} // namespace vt::testing
