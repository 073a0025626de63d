#include "platform/posix/temp_dir_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <sys/stat.h>

namespace vt::testing {

TempDir::TempDir()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && base[0] == '/' ? base : "/tmp") + "/vt-store-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory from " + pattern);
    }
    path_ = buffer.data();
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const std::string& path, const std::string& content)
{
    const auto parent = std::filesystem::path(path).parent_path();
    if (std::filesystem::create_directories(parent)) {
        // Private as the store makes its own, whatever the umask: the store
        // refuses a folder that others may write.
        ::chmod(parent.c_str(), 0700);
    }
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << content;
        if (!out.flush()) {
            throw std::runtime_error("cannot write " + path);
        }
    }
    ::chmod(path.c_str(), 0600);
}

bool fileExists(const std::string& path)
{
    return std::filesystem::exists(path);
}

unsigned fileMode(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throw std::runtime_error("cannot stat " + path);
    }
    return info.st_mode & 07777;
}

} // namespace vt::testing
