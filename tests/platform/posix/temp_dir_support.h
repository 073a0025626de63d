#pragma once

#include <string>

namespace vt::testing {

// A fresh directory under $TMPDIR (or /tmp), removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::string readFile(const std::string& path);
// Writes the file 0600, creating its folder 0700 when it is missing.
void writeFile(const std::string& path, const std::string& content);
bool fileExists(const std::string& path);
// The permission bits of the file, as in 0600.
unsigned fileMode(const std::string& path);

} // namespace vt::testing
