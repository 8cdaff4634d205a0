#pragma once

#include "core/settings/IniFile.h"
#include "core/settings/WindowSettings.h"
#include "platform/FileSystem.h"

#include <string>
#include <string_view>
#include <system_error>

namespace quorvane::core {

// The name of the settings file.
inline constexpr std::string_view settingsFileName = "quorvn.ini";

// Where the settings file lives: beside the executable when that folder is writable or the file
// is already there (a portable copy); otherwise $XDG_CONFIG_HOME/quorvane/quorvn.ini, where an
// empty or relative XDG_CONFIG_HOME means home/.config. Without a home either, beside the
// executable, where a later save reports that it cannot write.
std::string settingsFilePath(std::string_view executableFolder, bool executableFolderWritable,
                             bool fileExistsBesideExecutable, std::string_view xdgConfigHome,
                             std::string_view home);

// settingsFilePath for the running system: the folder of executablePath (cut after its last "/"),
// its writability and the file's presence as the system reports them, and the environment.
std::string locateSettingsFile(std::string_view executablePath);

// The settings file on disk, opened afresh by each load and save.
class SettingsFile
{
public:
    explicit SettingsFile(std::string path);
    // Reads and writes through fileSystem, which must outlive this object.
    SettingsFile(std::string path, platform::FileSystem& fileSystem);

    const std::string& path() const { return path_; }

    // The file's content; an empty file for a missing or unreadable one, and for anything that is
    // not a file (a folder, a pipe, a device). Never fails.
    IniFile load() const;

    // Replaces the file with the text of file at once: a temporary file in the same folder,
    // flushed to the disk, renamed over the old one, so that a failure at any point leaves the old
    // file whole. Creates the folder when it is missing and keeps the old file's permission bits.
    // A settings file that is a symbolic link is written at its target. A read-only file is not
    // replaced.
    std::error_code save(const IniFile& file) const;

    // "<path> に書き込めません": the message shown when save fails.
    std::string writeFailureMessage() const;

private:
    std::string path_;
    platform::FileSystem* fileSystem_;
};

} // namespace quorvane::core
