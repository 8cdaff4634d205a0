#include "core/settings/SettingsFile.h"

#include "core/listing/Path.h"
#include "core/text/Translation.h"
#include "platform/posix/PosixFileSystem.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace quorvane::core {

namespace {

platform::FileSystem& realFileSystem()
{
    static platform::PosixFileSystem fileSystem;
    return fileSystem;
}

std::string_view folderOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return ".";
    }
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// A folder the system installs programs into: root may write there, but a copy installed by the
// package manager is no portable copy and keeps its settings in the user's configuration home.
bool isSystemProgramFolder(std::string_view folder)
{
    while (folder.size() > 1 && folder.ends_with('/')) {
        folder.remove_suffix(1);
    }
    return folder == "/bin" || folder == "/sbin" || folder == "/usr" || folder.starts_with("/usr/");
}

} // namespace

std::string settingsFilePath(std::string_view executableFolder, bool executableFolderWritable,
                             bool fileExistsBesideExecutable, std::string_view xdgConfigHome,
                             std::string_view home)
{
    if ((executableFolderWritable && !isSystemProgramFolder(executableFolder)) ||
        fileExistsBesideExecutable) {
        return fullPath(executableFolder, settingsFileName);
    }
    std::string configHome;
    if (xdgConfigHome.starts_with('/')) {
        configHome = xdgConfigHome;
    } else if (!home.empty()) {
        configHome = fullPath(home, ".config");
    } else {
        return fullPath(executableFolder, settingsFileName);
    }
    return fullPath(fullPath(configHome, "quorvane"), settingsFileName);
}

std::string locateSettingsFile(std::string_view executablePath)
{
    const std::string folder(folderOf(executablePath));
    const bool writable = access(folder.c_str(), W_OK) == 0;
    const bool exists = access(fullPath(folder, settingsFileName).c_str(), F_OK) == 0;
    return settingsFilePath(folder, writable, exists, environment("XDG_CONFIG_HOME"), environment("HOME"));
}

SettingsFile::SettingsFile(std::string path) : SettingsFile(std::move(path), realFileSystem()) {}

SettingsFile::SettingsFile(std::string path, platform::FileSystem& fileSystem)
    : path_(std::move(path)), fileSystem_(&fileSystem)
{}

IniFile SettingsFile::load() const
{
    // A pipe or a device in place of the file could block or never end; only a file is read.
    std::error_code error;
    std::string bytes;
    if (!std::filesystem::is_regular_file(path_, error) || fileSystem_->readFile(path_, bytes)) {
        return IniFile::parse({});
    }
    return IniFile::parse(bytes);
}

std::error_code SettingsFile::save(const IniFile& file) const
{
    namespace fs = std::filesystem;
    std::error_code error;
    std::string target = path_;
    if (fs::is_symlink(target, error)) {
        const fs::path resolved = fs::weakly_canonical(target, error);
        if (error) {
            return error;
        }
        target = resolved.string();
    }
    const std::string folder(folderOf(target));
    fs::create_directories(folder, error);
    if (error) {
        return error;
    }
    const fs::file_status old = fs::status(target, error);
    std::string temporary;
    error = fileSystem_->writeTemporaryFile(folder, file.text(), std::nullopt, temporary);
    if (error) {
        return error;
    }
    if (fs::is_regular_file(old)) {
        // A failure here only leaves the new file with the default permission bits.
        std::error_code ignored;
        fs::permissions(temporary, old.permissions(), fs::perm_options::replace, ignored);
    }
    error = fileSystem_->renameReplacing(temporary, target);
    if (error) {
        fileSystem_->removeFile(temporary);
    }
    return error;
}

std::string SettingsFile::writeFailureMessage() const
{
    return withArguments(translate("SettingsFile", "%1 に書き込めません"), {path_});
}

} // namespace quorvane::core
