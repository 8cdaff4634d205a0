#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace quorvane::platform {

// The four attribute bits the program shows and changes, with their DOS values.
enum AttributeBit : std::uint32_t
{
    ReadOnly = 0x01,
    Hidden = 0x02,
    System = 0x04,
    Archive = 0x20,
};

// A point in time as the file system stamps it: seconds since the Unix epoch (UTC) and nanoseconds.
struct FileTime
{
    std::int64_t seconds = 0;
    std::uint32_t nanoseconds = 0;

    friend bool operator==(const FileTime&, const FileTime&) = default;
};

// Which entry of the file system a name led to: its device and inode. A name that leads to another
// identity later names another file, whatever its name and content. Unknown (zero) for a row that
// no listing read.
struct FileIdentity
{
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool known() const { return inode != 0; }
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// One entry of a folder as the enumeration reports it. The name holds the exact bytes of the
// directory entry; nothing is converted.
struct DirectoryEntry
{
    std::string name;
    FileIdentity identity;
    std::uint64_t size = 0;
    std::optional<FileTime> created; // empty where the file system reports no birth time
    FileTime modified;
    FileTime accessed;
    std::uint32_t attributes = 0; // AttributeBit values
};

using EntryVisitor = std::function<void(const DirectoryEntry&)>;

// What a name leads to, from one look at the entry: which entry it is, and what an edit of it
// changes (its modification time and permission bits), so that an undo can tell a file edited since
// its run.
struct EntryStamp
{
    FileIdentity identity;
    FileTime modified;
    std::uint32_t mode = 0; // permission bits only (07777)
};

// What an undo needs to put a file back exactly as it was: its times to the nanosecond, its
// permission bits, and the raw value of its DOS attribute store (empty where it has none).
struct FileState
{
    FileTime modified;
    FileTime accessed;
    std::uint32_t mode = 0; // permission bits only (07777)
    std::optional<std::uint32_t> dosAttributes;
    // The entry the state was read from; restoreState leaves it alone.
    FileIdentity identity;

    friend bool operator==(const FileState&, const FileState&) = default;
};

// The narrow interface through which core and imaging reach the file system. The Linux
// implementation is the real one; tests wrap it in decorators that fail chosen calls.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // Calls visit for every entry of folder whose name matches the wildcard pattern and which is
    // not a directory, in the order the system returns them. Hidden and system entries are
    // returned only when their bit is in extraAttributes (AttributeBit::Hidden, ::System).
    // Returns the error that kept the folder from being read to its end: entries visited before a
    // failed read are not the whole folder.
    virtual std::error_code enumerate(std::string_view folder, std::string_view pattern,
                                      std::uint32_t extraAttributes, const EntryVisitor& visit) = 0;

    // Calls visit with the name of every entry of folder, folders and hidden entries included, so
    // a preview can see which names are taken. A read error ends the walk and is returned.
    virtual std::error_code listNames(std::string_view folder,
                                      const std::function<void(std::string_view name)>& visit) = 0;

    // Whether the folder's file system calls two names that differ only in letter case the same
    // name (vfat, exFAT, SMB, an ext4 folder with the casefold flag, such FUSE file systems).
    virtual std::error_code ignoresLetterCase(std::string_view folder, bool& ignores) = 0;

    // The short (8.3) form of the last component of path: on file systems that keep no separate
    // short name, the name itself when the entry exists. Fails when path names no entry.
    virtual std::error_code shortName(std::string_view path, std::string& shortName) = 0;

    // The whole content of the file at path. May be called from several threads at once.
    virtual std::error_code readFile(std::string_view path, std::string& bytes) = 0;

    // The first limit bytes of the file at path, all of it when it is shorter, as a reader of a
    // header needs. May be called from several threads at once.
    virtual std::error_code readStart(std::string_view path, std::size_t limit, std::string& bytes) = 0;

    // Writes bytes to a new file of a fresh, hidden name in folder and flushes it to the disk, so
    // that a later renameReplacing can put a complete file in place. The file gets the given
    // permission bits, never more open at any moment; without them the system's default for a new
    // file. Names the file in temporaryPath; on failure no file is left behind. May be called from
    // several threads at once.
    virtual std::error_code writeTemporaryFile(std::string_view folder, std::string_view bytes,
                                               std::optional<std::uint32_t> permissions,
                                               std::string& temporaryPath) = 0;

    // Renames from to to, replacing a file of that name, as writing over it would: a read-only
    // target (no write bit) is refused with a permission error and stays as it was.
    virtual std::error_code renameReplacing(std::string_view from, std::string_view to) = 0;

    // Deletes the file at path.
    virtual std::error_code removeFile(std::string_view path) = 0;

    // Moves the entry at path to the desktop's trash (the freedesktop.org trash of its file system),
    // never through a symbolic link, and names where it went in trashedPath so that
    // restoreFromTrash can put it back; trashedPath is empty when the trash holds it under a name
    // that cannot be found. Fails with std::errc::operation_not_supported, the entry staying where
    // it is, when the file system has no trash.
    virtual std::error_code moveToTrash(std::string_view path, std::string& trashedPath) = 0;

    // Puts the entry at trashedPath, as moveToTrash named it, back at path, never replacing another
    // entry (EEXIST, nothing changed), and drops the trash's record of it.
    virtual std::error_code restoreFromTrash(std::string_view trashedPath, std::string_view path) = 0;

    // Flushes the folder's own entries (names created, renamed or removed in it) to the disk, so
    // that a later change cannot reach the disk before them.
    virtual std::error_code syncFolder(std::string_view folder) = 0;

    // The identity and stamp of the entry at path, never through a symbolic link.
    virtual std::error_code identify(std::string_view path, EntryStamp& stamp) = 0;

    // The identity of the folder at path, symbolic links followed as opening it does; fails with
    // ENOTDIR when path names no folder.
    virtual std::error_code identifyFolder(std::string_view path, FileIdentity& identity) = 0;

    // Whether two existing paths of one folder name the same entry: the same identity, or on a
    // file system that ignores case, one entry found under both spellings. A folder that cannot be
    // read to its end is a failure, never an answer.
    virtual std::error_code sameEntry(std::string_view first, std::string_view second, bool& same) = 0;

    // Gives the entry at from the path to, never replacing another file or folder: when to names
    // a different existing entry, fails with EEXIST and changes nothing. When to names the same
    // entry (an identical path, or a case-only change on a file system that ignores case) the
    // rename succeeds. A symbolic link is renamed as itself.
    virtual std::error_code renameNoReplace(std::string_view from, std::string_view to) = 0;

    // Sets the access and modification times of the entry at path (never through a symbolic
    // link), whatever its write bits; an empty time is left exactly as the entry has it. The
    // creation time cannot be set on this system.
    virtual std::error_code setTimes(std::string_view path, std::optional<FileTime> accessed,
                                     std::optional<FileTime> modified) = 0;

    // Makes the four AttributeBit values of attributes the entry's whole attribute set: ReadOnly
    // through the write bits, Hidden, System and Archive through the DOS attribute store. Fails
    // when the file system cannot store a requested bit (and for a Hidden bit that only a leading
    // "." gives, which cannot be cleared); bits it could store are still written.
    virtual std::error_code setAttributes(std::string_view path, std::uint32_t attributes) = 0;

    // Reads the exact state of the entry at path, and which entry it is, for a later restoreState.
    // May be called from several threads at once.
    virtual std::error_code readState(std::string_view path, FileState& state) = 0;

    // Puts back the permission bits, the DOS attribute store value and the times of state; every
    // part is tried, and the first failure is returned.
    virtual std::error_code restoreState(std::string_view path, const FileState& state) = 0;
};

} // namespace quorvane::platform
