#pragma once

#include "DosAttributes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace quorvane::platform::posix {

// Reads the DOS bits of the entries of one open folder, one after another, with the result
// readDosAttributes gives for each entry's path but fewer and cheaper system calls: a listing
// asks it for every file, and most files carry no attribute at all.
//
// Where the kernel has them, the calls name an entry relative to the folder, so the kernel does
// not walk the folder's path again for every file. Where the file system's driver lists every
// user attribute it keeps, an entry is first asked for the names of its attributes, which costs
// less than asking for a value that is not there, and only an entry that lists user.DOSATTRIB (or
// more names than the small buffer holds) is asked for its value.
//
// One reader serves one thread; a copy serves another.
class DosAttributeReader
{
public:
    enum class Calls
    {
        RelativeToFolder, // the *xattrat calls of Linux 6.13 and later, the path calls where missing
        ByPath,           // the l*xattr calls with the entry's whole path
    };

    // folderFd stays open and is the folder at folderPath for the reader's life.
    DosAttributeReader(int folderFd, std::string_view folderPath, Calls calls = Calls::RelativeToFolder);

    // The bits of the folder's entry name as the store keeps them (0 when it carries none), as
    // readDosAttributes gives them for the entry's path.
    std::uint32_t attributesOf(const char* name);

private:
    std::uint32_t sambaAttributesOf(const char* name);
    bool listsSambaAttribute(const char* name);
    ssize_t getSambaValue(const char* name, void* buffer, std::size_t size);
    ssize_t listNames(const char* name, char* buffer, std::size_t size);
    // Whether a relative call failed for want of the call itself, so that the path call must
    // answer; a kernel without it makes this reader and those made later use the path calls.
    bool relativeCallMissing(int error);
    const char* pathOf(const char* name);

    int folderFd_;
    std::string path_; // the folder's path with a trailing slash, then the last entry's name
    std::size_t prefixLength_;
    DosAttributeStore store_;
    bool relative_;
    // Whether the driver lists every user attribute that it reads back (ext4, XFS, Btrfs, tmpfs,
    // F2FS), so that a list without user.DOSATTRIB means that the entry carries none.
    bool listsEveryAttribute_;
    // Set once an entry of the folder has answered a value read without an error that says the
    // file system keeps no user attributes; until then, every entry is asked for its value.
    bool attributesSupported_ = false;
};

} // namespace quorvane::platform::posix
