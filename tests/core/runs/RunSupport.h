#pragma once

#include "core/listing/FileTable.h"
#include "platform/ErrorCode.h"
#include "support/ForwardingFileSystem.h"
#include "support/TempFolder.h"

#include <dirent.h>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace quorvane::testing {

// The write calls a FaultyFileSystem can fail.
enum class WriteCall
{
    Rename,
    SetTimes,
    SetAttributes,
    ReadState,
    RestoreState,
};

// The real file system with a hook that may fail any write call before it reaches the disk, and a
// log of every rename that did reach it.
class FaultyFileSystem : public ForwardingFileSystem
{
public:
    using Fault = std::function<std::error_code(WriteCall call, std::string_view path)>;

    Fault fault;
    std::vector<std::pair<std::string, std::string>> renames; // (from, to) passed to the disk
    std::vector<std::size_t> folderSyncs;                     // the renames done at each folder sync

    // Fails the given call on every path whose last component is name.
    static Fault failing(WriteCall failed, std::string name, int errnoValue = EIO)
    {
        return [=](WriteCall call, std::string_view path) {
            const std::string_view last = path.substr(path.rfind('/') + 1);
            return call == failed && last == name ? platform::errorFromErrno(errnoValue) : std::error_code();
        };
    }

    std::error_code renameNoReplace(std::string_view from, std::string_view to) override
    {
        if (const std::error_code error = injected(WriteCall::Rename, from)) {
            return error;
        }
        renames.emplace_back(from, to);
        return ForwardingFileSystem::renameNoReplace(from, to);
    }
    std::error_code syncFolder(std::string_view folder) override
    {
        folderSyncs.push_back(renames.size());
        return ForwardingFileSystem::syncFolder(folder);
    }
    std::error_code setTimes(std::string_view path, std::optional<platform::FileTime> accessed,
                             std::optional<platform::FileTime> modified) override
    {
        if (const std::error_code error = injected(WriteCall::SetTimes, path)) {
            return error;
        }
        return ForwardingFileSystem::setTimes(path, accessed, modified);
    }
    std::error_code setAttributes(std::string_view path, std::uint32_t attributes) override
    {
        if (const std::error_code error = injected(WriteCall::SetAttributes, path)) {
            return error;
        }
        return ForwardingFileSystem::setAttributes(path, attributes);
    }
    std::error_code readState(std::string_view path, platform::FileState& state) override
    {
        if (const std::error_code error = injected(WriteCall::ReadState, path)) {
            return error;
        }
        return ForwardingFileSystem::readState(path, state);
    }
    std::error_code restoreState(std::string_view path, const platform::FileState& state) override
    {
        if (const std::error_code error = injected(WriteCall::RestoreState, path)) {
            return error;
        }
        return ForwardingFileSystem::restoreState(path, state);
    }

private:
    std::error_code injected(WriteCall call, std::string_view path) const
    {
        return fault ? fault(call, path) : std::error_code();
    }
};

// What the disk holds for one file, read with the system's own calls.
struct DiskFile
{
    std::string content;
    timespec modified{};
    timespec accessed{};
    mode_t mode = 0;

    bool sameTimesAndMode(const DiskFile& other) const
    {
        return modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
               accessed.tv_sec == other.accessed.tv_sec && accessed.tv_nsec == other.accessed.tv_nsec &&
               mode == other.mode;
    }
};

// Every entry of a folder by its exact name; folders appear with the content "<folder>".
inline std::map<std::string, DiskFile> diskFiles(const TempFolder& folder, std::string_view sub = {})
{
    std::map<std::string, DiskFile> files;
    const std::string path = sub.empty() ? folder.path() : folder.pathOf(sub);
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) {
        return files;
    }
    while (const dirent* record = readdir(dir)) {
        const std::string name = record->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        const std::string full = path + "/" + name;
        struct stat info
        {};
        if (lstat(full.c_str(), &info) != 0) {
            continue;
        }
        DiskFile file;
        file.modified = info.st_mtim;
        file.accessed = info.st_atim;
        file.mode = info.st_mode & 07777;
        if (S_ISDIR(info.st_mode)) {
            file.content = "<folder>";
        } else {
            // Read the bytes through a copy of the mode that allows it, then put the mode back,
            // so that reading never changes what is checked.
            chmod(full.c_str(), 0600);
            file.content = folder.readFile(sub.empty() ? name : std::string(sub) + "/" + name);
            chmod(full.c_str(), file.mode);
            const timespec times[2] = {info.st_atim, info.st_mtim};
            utimensat(AT_FDCWD, full.c_str(), times, AT_SYMLINK_NOFOLLOW);
        }
        files.emplace(name, std::move(file));
    }
    closedir(dir);
    return files;
}

// A before list with one file row per name, the other cells as given.
inline core::FileTable tableOfNames(const std::vector<std::string>& names)
{
    core::FileTable table;
    table.setRowCount(static_cast<int>(names.size()) + 1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        table.setCell(core::NameColumn, static_cast<int>(i + 1), names[i]);
    }
    return table;
}

inline timespec at(std::int64_t seconds, long nanoseconds)
{
    return {static_cast<time_t>(seconds), nanoseconds};
}

} // namespace quorvane::testing
