#pragma once

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace quorvane::testing {

// A fresh folder under the system's temporary directory, removed with everything in it when the
// test ends.
class TempFolder
{
public:
    TempFolder()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/quorvane-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        path_ = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        // Read-only entries must not keep the folder from being removed.
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (!it->is_symlink()) {
                chmod(it->path().c_str(), 0700);
            }
        }
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string pathOf(std::string_view name) const { return path_ + "/" + std::string(name); }

    void writeFile(std::string_view name, std::string_view content = {}) const
    {
        std::ofstream out(pathOf(name), std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + pathOf(name));
        }
    }

    std::string readFile(std::string_view name) const
    {
        std::ifstream in(pathOf(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void makeFolder(std::string_view name) const { std::filesystem::create_directory(pathOf(name)); }

    // Sets Samba's DOS attribute text ("0x22" and the like) on an entry.
    void setDosAttrib(std::string_view name, std::string_view hexText) const
    {
        const std::string value = std::string(hexText) + '\0';
        if (lsetxattr(pathOf(name).c_str(), "user.DOSATTRIB", value.data(), value.size(), 0) != 0) {
            throw std::runtime_error("cannot set user.DOSATTRIB on " + pathOf(name));
        }
    }

    void setTimes(std::string_view name, const timespec& accessed, const timespec& modified) const
    {
        const timespec times[2] = {accessed, modified};
        if (utimensat(AT_FDCWD, pathOf(name).c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
            throw std::runtime_error("cannot set the times of " + pathOf(name));
        }
    }

private:
    std::string path_;
};

// Sets TZ for the life of the object and restores the previous zone afterwards.
class TimeZone
{
public:
    explicit TimeZone(const char* zone)
    {
        const char* previous = std::getenv("TZ");
        hadPrevious_ = previous != nullptr;
        if (hadPrevious_) {
            previous_ = previous;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone()
    {
        if (hadPrevious_) {
            setenv("TZ", previous_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    bool hadPrevious_ = false;
    std::string previous_;
};

} // namespace quorvane::testing
