// Linked into every test program that may move a file to the trash: the desktop's trash of these
// programs is a fresh folder beside the tests' temporary folders (so on their file system, where a
// trashed file keeps its inode), never the user's. GLib reads XDG_DATA_HOME once, at its first use,
// so it is set before main, ahead of any GLib call; the folder goes when the program ends.

#include "TemporaryTrash.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace quorvane::testing {
namespace {

std::string& trashHome()
{
    static std::string home;
    return home;
}

const bool trashHomeSet = [] {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/quorvane-data-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        return false;
    }
    trashHome() = pattern;
    setenv("XDG_DATA_HOME", pattern.c_str(), 1);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(trashHome(), ignored);
    });
    return true;
}();

} // namespace

std::string trashFilesFolder()
{
    return trashHome() + "/Trash/files";
}

} // namespace quorvane::testing
