#include "Trash.h"

#include "../ErrorCode.h"
#include "NoReplaceRename.h"

#include <dirent.h>
#include <gio/gio.h>
#include <memory>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quorvane::platform::posix {
namespace {

struct Identity
{
    dev_t device = 0;
    ino_t inode = 0;
};

std::optional<Identity> identityOf(const std::string& path)
{
    struct stat found
    {};
    if (lstat(path.c_str(), &found) != 0) {
        return std::nullopt;
    }
    return Identity{found.st_dev, found.st_ino};
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The top folder of the mount that holds folder: the last folder going up that is still on its
// device.
std::string mountTop(std::string folder, dev_t device)
{
    while (folder != "/") {
        const std::string parent = folderOf(folder);
        struct stat found
        {};
        if (stat(parent.c_str(), &found) != 0 || found.st_dev != device) {
            break;
        }
        folder = parent;
    }
    return folder;
}

// The "files" folders of the trashes a file on device may have gone to, in the order the
// freedesktop.org trash convention names them.
std::vector<std::string> trashFolders(const std::string& path, dev_t device)
{
    std::vector<std::string> folders;
    const std::string home = std::string(g_get_user_data_dir()) + "/Trash";
    struct stat found
    {};
    if (stat(home.c_str(), &found) == 0 && found.st_dev == device) {
        folders.push_back(home + "/files");
    }
    std::string top = mountTop(folderOf(path), device);
    if (top == "/") {
        top.clear();
    }
    const std::string uid = std::to_string(getuid());
    folders.push_back(top + "/.Trash/" + uid + "/files");
    folders.push_back(top + "/.Trash-" + uid + "/files");
    return folders;
}

// GIO trashes "photo.bmp" as "photo.bmp", or when that is taken as "photo.2.bmp" and so on (and
// ".profile" as ".2.profile"): the names that begin with the part before the first period.
bool mayBeTrashNameOf(std::string_view candidate, std::string_view name)
{
    const std::size_t period = name.find('.');
    return candidate.starts_with(name.substr(0, period));
}

std::optional<std::string> findIn(const std::string& folder, const std::string& name,
                                  const Identity& identity)
{
    const std::string exact = folder + "/" + name;
    if (const std::optional<Identity> found = identityOf(exact);
        found && found->device == identity.device && found->inode == identity.inode) {
        return exact;
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) {
        return std::nullopt;
    }
    while (const dirent* entry = readdir(dir.get())) {
        if (entry->d_ino != identity.inode || !mayBeTrashNameOf(entry->d_name, name)) {
            continue;
        }
        std::string candidate = folder + "/" + entry->d_name;
        if (const std::optional<Identity> found = identityOf(candidate);
            found && found->device == identity.device && found->inode == identity.inode) {
            return candidate;
        }
    }
    return std::nullopt;
}

} // namespace

std::error_code moveToTrash(const std::string& path, std::string& trashedPath)
{
    trashedPath.clear();
    const std::optional<Identity> identity = identityOf(path);
    if (!identity) {
        return lastError();
    }
    const std::unique_ptr<GFile, void (*)(gpointer)> file(g_file_new_for_path(path.c_str()), g_object_unref);
    GError* failure = nullptr;
    if (!g_file_trash(file.get(), nullptr, &failure)) {
        const std::error_code error = failure != nullptr && failure->domain == G_IO_ERROR
                                          ? errorFromGio(failure->code)
                                          : errorFromErrno(EIO);
        g_clear_error(&failure);
        return error;
    }
    const std::string name = path.substr(path.rfind('/') + 1);
    for (const std::string& folder : trashFolders(path, identity->device)) {
        if (std::optional<std::string> found = findIn(folder, name, *identity)) {
            trashedPath = std::move(*found);
            break;
        }
    }
    return {};
}

std::error_code restoreFromTrash(const std::string& trashedPath, const std::string& path)
{
    if (const std::error_code error = renameNoReplace(trashedPath, path)) {
        return error;
    }
    // <trash>/files/<name> is described by <trash>/info/<name>.trashinfo; a record left behind
    // would only show a phantom entry in the trash, so its removal is not checked.
    const std::string filesFolder = folderOf(trashedPath);
    const std::string info =
        folderOf(filesFolder) + "/info/" + trashedPath.substr(trashedPath.rfind('/') + 1) + ".trashinfo";
    unlink(info.c_str());
    return {};
}

} // namespace quorvane::platform::posix
